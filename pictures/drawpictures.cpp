// Draws the 21 tank pictures (ftank, ctank and vtank at 0 to 100 per cent full) and writes them
// as 256-colour PNG files, each at 120x75 and drawn again at twice and four times that size for
// high-density screens (name_x2.png, name_x4.png). Draws the application icons too: a vertical
// tank two thirds full, and for the tank book a ledger, each as scalable SVG and as PNG files at
// the sizes of the desktop's icon theme.
//
// Run by hand after changing a drawing; the files are kept in the repository:
//     brimwell-draw-pictures [pictures folder [icon folder]]
// The folders default to the source folders of the pictures and of the packaging files.

#include <QColor>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QFile>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace {

// Every drawing works in these logical units; the painter is scaled for the larger sizes.
constexpr int kWidth = 120;
constexpr int kHeight = 75;

const QColor kOutline(38, 42, 46);
const QColor kEmpty(Qt::white);
const QColor kProduct(245, 140, 30);
const QColor kProductSurface(196, 98, 16);
const QColor kSteelLight(214, 220, 226);
const QColor kSteelDark(126, 136, 146);
const QColor kFibreLight(196, 216, 198);
const QColor kFibreDark(112, 142, 118);
const QColor kConcrete(178, 176, 168);
const QColor kProbe(60, 66, 74);

// ---- Pieces shared by the three tanks ----

QLinearGradient verticalShading(const QRectF& r, const QColor& light, const QColor& dark) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, dark.lighter(105));
    g.setColorAt(0.25, light);
    g.setColorAt(1.0, dark);
    return g;
}

QLinearGradient horizontalShading(const QRectF& r, const QColor& light, const QColor& dark) {
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0.0, dark);
    g.setColorAt(0.35, light);
    g.setColorAt(1.0, dark);
    return g;
}

// Outline, shell and interior of one tank, all the same shape at three insets.
struct TankShell {
    std::function<QPainterPath(double inset)> shape;
    QRectF interior;  // bounds of the space the product fills
    double shellWidth = 3;
};

// A shell with straight sides: the flat-ended and the vertical tank.
TankShell rectangularShell(const QRectF& body) {
    TankShell tank;
    tank.shape = [body](double inset) {
        QPainterPath path;
        path.addRect(body.adjusted(inset, inset, -inset, -inset));
        return path;
    };
    tank.interior = body.adjusted(3, 3, -3, -3);
    return tank;
}

// The level of the product surface for a fill of 0 to 100 per cent of the interior's height.
double surfaceY(const QRectF& interior, int percent) {
    return interior.bottom() - interior.height() * percent / 100.0;
}

void drawShellAndProduct(QPainter& p, const TankShell& tank, const QBrush& shellBrush,
                         int percent) {
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawPath(tank.shape(0));
    p.setBrush(shellBrush);
    p.drawPath(tank.shape(1));
    p.setBrush(kOutline);
    p.drawPath(tank.shape(tank.shellWidth - 0.6));

    const QPainterPath interior = tank.shape(tank.shellWidth);
    p.setBrush(kEmpty);
    p.drawPath(interior);
    if (percent == 0)
        return;

    p.save();
    p.setClipPath(interior);
    const double surface = surfaceY(tank.interior, percent);
    p.setBrush(kProduct);
    p.drawRect(QRectF(tank.interior.left() - 1, surface, tank.interior.width() + 2,
                      tank.interior.bottom() - surface + 1));
    if (percent < 100) {
        p.setBrush(kProductSurface);
        p.drawRect(QRectF(tank.interior.left() - 1, surface, tank.interior.width() + 2, 0.8));
    }
    p.restore();
}

// A riser on top of the tank closed by a cap, a probe rod down to the floor of the tank and a
// float riding on the product.
void drawGaugeProbe(QPainter& p, double centreX, double shellTop, const QRectF& interior,
                    int percent, const QColor& light, const QColor& dark) {
    const QRectF riser(centreX - 5, shellTop - 9, 10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawRect(riser);
    p.setBrush(horizontalShading(riser, light, dark));
    p.drawRect(riser.adjusted(1, 1, -1, 0));

    const QRectF cap(centreX - 7.5, shellTop - 13, 15, 4.5);
    p.setBrush(kOutline);
    p.drawRoundedRect(cap, 1.2, 1.2);
    p.setBrush(horizontalShading(cap, light.darker(115), dark.darker(130)));
    p.drawRoundedRect(cap.adjusted(1, 1, -1, -1), 0.6, 0.6);

    p.setBrush(kProbe);
    p.drawRect(QRectF(centreX - 0.5, shellTop, 1, interior.bottom() - shellTop - 0.5));

    const double floatHeight = 3;
    const double surface = std::clamp(surfaceY(interior, percent), interior.top() + floatHeight / 2,
                                      interior.bottom() - floatHeight / 2);
    p.setBrush(kProbe);
    p.drawRoundedRect(QRectF(centreX - 3, surface - floatHeight / 2, 6, floatHeight), 1, 1);
}

// ---- The three tanks ----

// Horizontal steel tank with flat ends, seen from the side, with a gauge probe.
void drawFlatEnded(QPainter& p, int percent) {
    const QRectF body(8, 24, 104, 44);
    const TankShell tank = rectangularShell(body);
    drawShellAndProduct(p, tank, verticalShading(body, kSteelLight, kSteelDark), percent);

    // The flat end plates, their rims standing out a little from the shell.
    for (const double x : {body.left() - 1, body.right() - 3}) {
        const QRectF rim(x, body.top() - 1.5, 4, body.height() + 3);
        p.setBrush(kOutline);
        p.drawRect(rim);
        p.setBrush(verticalShading(rim, kSteelLight, kSteelDark));
        p.drawRect(rim.adjusted(1, 1, -1, -1));
    }

    drawGaugeProbe(p, 80, body.top(), tank.interior, percent, kSteelLight, kSteelDark);
}

// Horizontal fiberglass tank with hemispherical ends and stiffening ribs, with a gauge probe.
void drawCylindrical(QPainter& p, int percent) {
    const QRectF body(5, 24, 110, 44);
    TankShell tank;
    tank.shape = [body](double inset) {
        QPainterPath path;
        const QRectF r = body.adjusted(inset, inset, -inset, -inset);
        const double radius = r.height() / 2;
        path.addRoundedRect(r, radius, radius);
        return path;
    };
    tank.interior = body.adjusted(3, 3, -3, -3);

    // Ribs stand out from the shell above and below.
    for (const double x : {31.0, 45.0, 75.0, 89.0}) {
        const QRectF rib(x - 2.5, body.top() - 2, 5, body.height() + 4);
        p.setPen(Qt::NoPen);
        p.setBrush(kOutline);
        p.drawRoundedRect(rib, 1.5, 1.5);
        QLinearGradient shade(rib.topLeft(), rib.topRight());
        shade.setColorAt(0, kFibreDark);
        shade.setColorAt(0.4, kFibreLight);
        shade.setColorAt(1, kFibreDark);
        p.setBrush(shade);
        p.drawRoundedRect(rib.adjusted(1, 1, -1, -1), 1, 1);
    }

    drawShellAndProduct(p, tank, verticalShading(body, kFibreLight, kFibreDark), percent);

    // The ribs' traces across the side of the tank.
    p.setBrush(QColor(kFibreDark.red(), kFibreDark.green(), kFibreDark.blue(), 70));
    p.setClipPath(tank.shape(tank.shellWidth));
    for (const double x : {31.0, 45.0, 75.0, 89.0})
        p.drawRect(QRectF(x - 1.5, body.top(), 3, body.height()));
    p.setClipping(false);

    drawGaugeProbe(p, 60, body.top(), tank.interior, percent, kFibreLight, kFibreDark);
}

// A pipe from the foot of a vertical tank through a valve, resting on a support.
void drawFootPipe(QPainter& p, const QRectF& body) {
    const QRectF pipe(body.right() - 1, 56, 34, 6);
    p.setBrush(kOutline);
    p.drawRect(QRectF(pipe.right() - 5, pipe.bottom(), 3, 70 - pipe.bottom()));
    p.drawRect(pipe);
    p.setBrush(verticalShading(pipe, kSteelLight, kSteelDark));
    p.drawRect(pipe.adjusted(0, 1, -1, -1));
    for (const double x : {body.right() + 3, pipe.right() - 2}) {
        const QRectF flange(x - 1.5, pipe.top() - 2, 3, pipe.height() + 4);
        p.setBrush(kOutline);
        p.drawRect(flange);
        p.setBrush(verticalShading(flange, kSteelLight, kSteelDark));
        p.drawRect(flange.adjusted(0.8, 0.8, -0.8, -0.8));
    }
    const double valveX = body.right() + 17;
    QPainterPath valve;
    valve.moveTo(valveX - 5, pipe.top() - 2.5);
    valve.lineTo(valveX + 5, pipe.bottom() + 2.5);
    valve.lineTo(valveX + 5, pipe.top() - 2.5);
    valve.lineTo(valveX - 5, pipe.bottom() + 2.5);
    valve.closeSubpath();
    p.setBrush(kOutline);
    p.drawPath(valve);
    p.drawRect(QRectF(valveX - 0.75, pipe.top() - 7, 1.5, 7));
    p.drawRoundedRect(QRectF(valveX - 4, pipe.top() - 8.5, 8, 2.2), 1, 1);
}

// A vertical tank's shallow cone roof with a vent.
void drawConeRoof(QPainter& p, const QRectF& body) {
    QPainterPath roof;
    roof.moveTo(body.left() - 1, body.top() + 0.5);
    roof.lineTo(body.center().x(), body.top() - 6);
    roof.lineTo(body.right() + 1, body.top() + 0.5);
    roof.closeSubpath();
    p.setBrush(kOutline);
    p.drawPath(roof);
    p.drawRect(QRectF(body.center().x() - 2, body.top() - 10, 4, 5));
    p.drawRect(QRectF(body.center().x() - 3.5, body.top() - 11, 7, 2));
    QPainterPath roofFace;
    roofFace.moveTo(body.left() + 1.5, body.top());
    roofFace.lineTo(body.center().x(), body.top() - 4.7);
    roofFace.lineTo(body.right() - 1.5, body.top());
    roofFace.closeSubpath();
    p.setBrush(horizontalShading(body, kSteelLight, kSteelDark));
    p.drawPath(roofFace);
}

// Vertical aboveground tank standing on a concrete footing, with a pipe and valve at its foot.
void drawVertical(QPainter& p, int percent) {
    const QRectF body(26, 14, 42, 52);
    const TankShell tank = rectangularShell(body);
    p.setPen(Qt::NoPen);

    drawFootPipe(p, body);

    // Footing.
    const QRectF footing(18, 66, 60, 5);
    p.setBrush(kOutline);
    p.drawRect(footing);
    p.setBrush(verticalShading(footing, kConcrete.lighter(115), kConcrete));
    p.drawRect(footing.adjusted(1, 1, -1, -1));

    drawConeRoof(p, body);

    drawShellAndProduct(p, tank, horizontalShading(body, kSteelLight, kSteelDark), percent);

    // Seams of the shell courses.
    p.setBrush(QColor(kOutline.red(), kOutline.green(), kOutline.blue(), 150));
    for (const double y : {31.0, 48.0}) {
        p.drawRect(QRectF(body.left(), y, 3, 0.8));
        p.drawRect(QRectF(body.right() - 3, y, 3, 0.8));
    }
}

// ---- Reducing a drawing to 256 colours ----

struct ColourCount {
    QRgb rgb;
    qint64 count;
};

int channel(QRgb rgb, int axis) {
    return axis == 0 ? qRed(rgb) : axis == 1 ? qGreen(rgb) : qBlue(rgb);
}

// A set of neighbouring colours that will share one entry of the colour table.
class ColourBox {
public:
    ColourBox(std::vector<ColourCount>::iterator begin, std::vector<ColourCount>::iterator end)
        : begin_(begin), end_(end) {
        for (auto it = begin_; it != end_; ++it) {
            weight_ += it->count;
            for (int axis = 0; axis < 3; ++axis)
                sum_[axis] += static_cast<double>(channel(it->rgb, axis) * it->count);
        }
        for (auto it = begin_; it != end_; ++it) {
            for (int axis = 0; axis < 3; ++axis) {
                const double d = channel(it->rgb, axis) - mean(axis);
                variance_[axis] += d * d * static_cast<double>(it->count);
            }
        }
    }

    bool splittable() const { return end_ - begin_ > 1; }
    double error() const { return variance_[0] + variance_[1] + variance_[2]; }

    // Splits at the weighted median of the channel that varies most.
    std::pair<ColourBox, ColourBox> split() {
        const int axis = static_cast<int>(
            std::max_element(variance_.begin(), variance_.end()) - variance_.begin());
        std::sort(begin_, end_, [axis](const ColourCount& a, const ColourCount& b) {
            return channel(a.rgb, axis) < channel(b.rgb, axis);
        });
        qint64 running = 0;
        auto middle = begin_ + 1;
        for (auto it = begin_; it != end_ - 1; ++it) {
            running += it->count;
            middle = it + 1;
            if (running * 2 >= weight_)
                break;
        }
        return {ColourBox(begin_, middle), ColourBox(middle, end_)};
    }

    // A colour that dominates the box is kept exactly, so flat areas keep their true colour;
    // otherwise the box's average stands for it.
    QRgb representative() const {
        const auto top = std::max_element(begin_, end_, [](const auto& a, const auto& b) {
            return a.count < b.count;
        });
        if (top->count * 2 >= weight_)
            return top->rgb;
        return qRgb(qRound(mean(0)), qRound(mean(1)), qRound(mean(2)));
    }

private:
    double mean(int axis) const { return sum_[axis] / static_cast<double>(weight_); }

    std::vector<ColourCount>::iterator begin_, end_;
    qint64 weight_ = 0;
    std::array<double, 3> sum_{};
    std::array<double, 3> variance_{};
};

// A colour table of at most 256 entries fitted to the image by median cut.
QList<QRgb> colourTableFor(const QImage& image) {
    std::map<QRgb, qint64> histogram;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ++histogram[line[x] | 0xff000000u];
    }
    std::vector<ColourCount> colours;
    for (const auto& [rgb, count] : histogram)
        colours.push_back({rgb, count});

    std::vector<ColourBox> boxes{ColourBox(colours.begin(), colours.end())};
    while (boxes.size() < 256) {
        auto worst = boxes.end();
        for (auto it = boxes.begin(); it != boxes.end(); ++it)
            if (it->splittable() && (worst == boxes.end() || it->error() > worst->error()))
                worst = it;
        if (worst == boxes.end())
            break;
        auto [low, high] = worst->split();
        *worst = low;
        boxes.push_back(high);
    }

    QList<QRgb> table;
    for (const auto& box : boxes)
        table.append(box.representative());
    return table;
}

// ---- Writing the files ----

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

// ---- The application icon ----

// The icon is a list of filled shapes on a 256x256 square, so that one drawing gives both the
// SVG file and the PNG files.
constexpr int kIconSize = 256;

struct IconShape {
    QPainterPath path;
    QColor colour;
    QGradientStops stops;  // when not empty, a linear gradient from `from` to `to` instead
    QPointF from, to;
};

QPainterPath roundedRect(const QRectF& r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath rect(const QRectF& r) {
    QPainterPath path;
    path.addRect(r);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

QGradientStops shadingStops(const QColor& light, const QColor& dark) {
    return {{0.0, dark}, {0.35, light}, {1.0, dark}};
}

std::vector<IconShape> iconShapes() {
    std::vector<IconShape> shapes;
    const auto solid = [&shapes](const QPainterPath& path, const QColor& colour) {
        shapes.push_back({path, colour, {}, {}, {}});
    };
    const auto shaded = [&shapes](const QPainterPath& path, const QColor& light,
                                  const QColor& dark) {
        const QRectF r = path.boundingRect();
        shapes.push_back({path, {}, shadingStops(light, dark), r.topLeft(), r.topRight()});
    };

    // Concrete footing.
    const QRectF footing(24, 220, 208, 26);
    solid(roundedRect(footing, 5), kOutline);
    shaded(roundedRect(footing.adjusted(6, 6, -6, -6), 2), kConcrete.lighter(115), kConcrete);

    // Vent and cone roof.
    solid(roundedRect(QRectF(114, 6, 28, 12), 3), kOutline);
    solid(rect(QRectF(120, 14, 16, 12)), kOutline);
    solid(polygon({{30, 70}, {128, 18}, {226, 70}}), kOutline);
    shaded(polygon({{50, 62}, {128, 27}, {206, 62}}), kSteelLight, kSteelDark);

    // Steel shell, cut open to show the product inside.
    const QRectF body(40, 58, 176, 170);
    solid(roundedRect(body, 8), kOutline);
    shaded(roundedRect(body.adjusted(7, 7, -7, -7), 4), kSteelLight, kSteelDark);
    const QRectF inside = body.adjusted(22, 22, -22, -14);
    solid(rect(inside.adjusted(-5, -5, 5, 5)), kOutline);
    solid(rect(inside), kEmpty);
    const double surface = inside.bottom() - inside.height() * 2 / 3;
    solid(rect(QRectF(inside.left(), surface, inside.width(), inside.bottom() - surface)),
          kProduct);
    solid(rect(QRectF(inside.left(), surface, inside.width(), 7)), kProductSurface);

    // Level marks down the inside of the shell, as on a tank chart.
    for (int mark = 1; mark < 6; ++mark) {
        const double y = inside.top() + inside.height() * mark / 6.0;
        const double length = mark % 2 == 0 ? 26 : 14;
        solid(rect(QRectF(inside.left(), y - 2.5, length, 5)), kOutline);
    }
    return shapes;
}

// The tank book's icon: a bound ledger whose label shows a tank two thirds full over the ruled
// lines of the daily worksheet.
std::vector<IconShape> bookIconShapes() {
    std::vector<IconShape> shapes;
    const auto solid = [&shapes](const QPainterPath& path, const QColor& colour) {
        shapes.push_back({path, colour, {}, {}, {}});
    };
    const QColor cover(38, 92, 70);
    const QColor coverLight(62, 128, 98);
    // Pages seen at the fore-edge, then the cover and its spine.
    solid(roundedRect(QRectF(52, 30, 180, 206), 8), kOutline);
    solid(rect(QRectF(200, 40, 24, 186)), kEmpty);
    for (int line = 0; line < 9; ++line) {
        solid(rect(QRectF(200, 52 + line * 20, 24, 3)), kSteelDark);
    }
    solid(roundedRect(QRectF(24, 20, 184, 216), 10), kOutline);
    shapes.push_back({roundedRect(QRectF(30, 26, 172, 204), 7),
                      {},
                      shadingStops(coverLight, cover),
                      {30, 26},
                      {202, 26}});
    solid(rect(QRectF(30, 26, 22, 204)), kOutline);
    // The label: a tank on its worksheet lines.
    const QRectF label(74, 52, 110, 150);
    solid(roundedRect(label.adjusted(-5, -5, 5, 5), 6), kOutline);
    solid(roundedRect(label, 3), kEmpty);
    const QRectF tank(92, 64, 74, 70);
    solid(roundedRect(tank.adjusted(-5, -5, 5, 5), 8), kOutline);
    solid(rect(tank), kEmpty);
    const double surface = tank.bottom() - tank.height() * 2 / 3;
    solid(rect(QRectF(tank.left(), surface, tank.width(), tank.bottom() - surface)), kProduct);
    solid(rect(QRectF(tank.left(), surface, tank.width(), 5)), kProductSurface);
    for (int line = 0; line < 4; ++line) {
        solid(rect(QRectF(86, 152 + line * 12, 86, 4)), kSteelDark);
    }
    return shapes;
}

QImage renderIcon(const std::vector<IconShape>& shapes, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(double(size) / kIconSize, double(size) / kIconSize);
    for (const IconShape& shape : shapes) {
        if (shape.stops.isEmpty()) {
            p.fillPath(shape.path, shape.colour);
        } else {
            QLinearGradient gradient(shape.from, shape.to);
            gradient.setStops(shape.stops);
            p.fillPath(shape.path, gradient);
        }
    }
    p.end();
    return image;
}

QString svgPathData(const QPainterPath& path) {
    QString d;
    const auto number = [](double v) { return QString::number(v, 'g', 6); };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            d += QStringLiteral("M%1 %2").arg(number(e.x), number(e.y));
        } else if (e.isLineTo()) {
            d += QStringLiteral("L%1 %2").arg(number(e.x), number(e.y));
        } else if (e.isCurveTo()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(number(e.x), number(e.y), number(c2.x), number(c2.y), number(end.x),
                          number(end.y));
            i += 2;
        }
    }
    return d;
}

QString svgIcon(const std::vector<IconShape>& shapes) {
    QString defs;
    QString body;
    int gradients = 0;
    for (const IconShape& shape : shapes) {
        QString fill = shape.colour.name();
        if (!shape.stops.isEmpty()) {
            const QString id = QStringLiteral("shade%1").arg(++gradients);
            defs += QStringLiteral("    <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" "
                                   "x1=\"%2\" y1=\"%3\" x2=\"%4\" y2=\"%5\">\n")
                        .arg(id)
                        .arg(shape.from.x())
                        .arg(shape.from.y())
                        .arg(shape.to.x())
                        .arg(shape.to.y());
            for (const auto& [offset, colour] : shape.stops) {
                defs += QStringLiteral("      <stop offset=\"%1\" stop-color=\"%2\"/>\n")
                            .arg(offset)
                            .arg(colour.name());
            }
            defs += QStringLiteral("    </linearGradient>\n");
            fill = QStringLiteral("url(#%1)").arg(id);
        }
        body += QStringLiteral("  <path fill=\"%1\" d=\"%2\"/>\n").arg(fill, svgPathData(shape.path));
    }
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                          "viewBox=\"0 0 %1 %1\">\n  <defs>\n%2  </defs>\n%3</svg>\n")
        .arg(kIconSize)
        .arg(defs, body);
}

bool writeIcon(const QDir& out, const QString& name, const std::vector<IconShape>& shapes) {
    QFile svg(out.filePath(name + ".svg"));
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(svg.fileName()));
        return false;
    }
    QTextStream(&svg) << svgIcon(shapes);
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file = out.filePath(QStringLiteral("%1-%2.png").arg(name).arg(size));
        if (!renderIcon(shapes, size).save(file)) {
            std::fprintf(stderr, "Cannot write %s\n", qPrintable(file));
            return false;
        }
    }
    return true;
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
