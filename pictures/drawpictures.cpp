// Draws the 21 tank pictures (ftank, ctank and vtank at 0 to 100 per cent full) and writes them
// as 256-colour PNG files, each at 120x75 and drawn again at twice and four times that size for
// high-density screens (name_x2.png, name_x4.png). Draws the application icons too: a vertical
// tank two thirds full, and for the tank book a ledger, each as scalable SVG and as PNG files at
// the sizes of the desktop's icon theme.
//
// Run by hand after changing a drawing; the files are kept in the repository:
//     brimwell-draw-pictures [pictures folder [icon folder]]
// The folders default to the source folders of the pictures and of the packaging files.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>
#include <utility>

#include "pictures/colourtable.h"
#include "pictures/icons.h"
#include "pictures/palette.h"
#include "pictures/tankdrawings.h"

using namespace brimwell::pictures;

namespace {

// Every drawing works in these logical units; the painter is scaled for the larger sizes.
constexpr int kWidth = 120;
constexpr int kHeight = 75;

using TankDrawing = void (*)(QPainter&, int percent);

QImage render(TankDrawing draw, int percent, int scale) {
    QImage image(kWidth * scale, kHeight * scale, QImage::Format_RGB32);
    image.fill(kEmpty);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    draw(p, percent);
    p.end();
    return image.convertToFormat(QImage::Format_Indexed8, colourTableFor(image));
}

}  // namespace

int main(int argc, char* argv[]) {
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1])
                            : QStringLiteral(BRIMWELL_PICTURES_DIR));
    const QDir iconOut(argc > 2 ? QString::fromLocal8Bit(argv[2])
                                : QStringLiteral(BRIMWELL_ICON_DIR));
    const std::pair<const char*, TankDrawing> families[] = {
        {"ftank", drawFlatEnded}, {"ctank", drawCylindrical}, {"vtank", drawVertical}};
    const std::pair<int, const char*> scales[] = {{1, ""}, {2, "_x2"}, {4, "_x4"}};

    for (const auto& [family, draw] : families) {
        for (const int percent : {0, 10, 25, 50, 75, 90, 100}) {
            for (const auto& [scale, suffix] : scales) {
                const QString file =
                    out.filePath(QStringLiteral("%1%2%3.png").arg(family).arg(percent).arg(suffix));
                if (!render(draw, percent, scale).save(file)) {
                    std::fprintf(stderr, "Cannot write %s\n", qPrintable(file));
                    return 1;
                }
            }
        }
    }
    return writeIcon(iconOut, QStringLiteral("brimwell"), iconShapes()) &&
                   writeIcon(iconOut, QStringLiteral("brimwell-book"), bookIconShapes())
               ? 0
               : 1;
}
