#include "tank/chartprintout.h"

#include <QDateTime>
#include <QPrinter>

#include "host/host.h"
#include "host/lineprinter.h"
#include "tank/tankchart.h"

namespace brimwell {
namespace {

QString lineText(std::string_view line) {
    return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
}

// The chart laid out as it has always been printed: every line indented by six widths of "1",
// the header and an empty line on the first page only, full lines one line height plus half a
// height of "1" apart, a page break once the next position would pass the printable area, and a
// short closing line after an extra gap of half a height.
bool layOut(TankChart& chart, LinePrinter& printer) {
    const float w = printer.textWidth("1") / 2;
    const float h = printer.textHeight("1") / 2;
    const float indent = 12 * w;
    printer.setX(indent);
    printer.setY(printer.y() + 2 * h);
    const float pageHeight = printer.pageHeight();

    const auto header = chart.nextLine();
    printer.printLine(header ? lineText(*header) : QString());
    printer.printLine(QString());
    printer.setY(printer.y() + h);

    while (const auto line = chart.nextLine()) {
        printer.setX(indent);
        if (chart.pairsInLine() < 3) {
            printer.setY(printer.y() + h);
            printer.printLine(lineText(*line));
            break;
        }
        printer.printLine(lineText(*line));
        if (printer.y() + h > pageHeight) {
            printer.setY(0);
            printer.newPage();
        }
        printer.setY(printer.y() + h);
    }
    return printer.end();
}

}  // namespace

PrintResult printTankChart(const TankChartParams& params, Host& host) {
    const QString document = QStringLiteral("Tank chart %1")
                                 .arg(QDateTime::currentDateTime().toString("yyyyMMdd-hhmmss-zzz"));
    const auto device = host.defaultPrinter(document);
    if (!device) {
        return Unexpected(PrintFailure::NoPrinter);
    }
    LinePrinter printer(*device);
    // The file was built from the same lines a moment ago and has reported whatever there was.
    NullReporter reporter;
    TankChart chart(params, reporter);
    if (!printer.begin() || !layOut(chart, printer)) {
        return Unexpected(PrintFailure::NotPrinted);
    }
    return {};
}

}  // namespace brimwell
