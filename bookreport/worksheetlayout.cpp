// The blank daily worksheet: the window's day entry as columns, in its order, a row per day.

#include "book/month.h"
#include "bookreport/monthlayout.h"

namespace brimwell::bookreport {
namespace {

std::vector<Column> entryColumns(LengthUnit length, VolumeUnit volume, bool celsius) {
    const QString l = shortUnit(length);
    const QString v = shortUnit(volume);
    const QString t = celsius ? QStringLiteral("°C") : QStringLiteral("°F");
    // The order of the window's day entry: the day's readings, who read them, the delivery.
    return {{"A", "Date", "", 1.35, false},
            {"B", "Closing\nstick", l},
            {"C", "Water", l},
            {"D", "Temperature", t},
            {"E", "Pumped", v},
            {"F", "Meter\nopening", v},
            {"G", "Meter\nclosing", v},
            {"H", "Initials", "", 0.9, false},
            {"I", "Delivery\nbill", v},
            {"J", "Bill\ntemperature", t},
            {"K", "Stick\nbefore", l},
            {"L", "Stick\nafter", l},
            {"M", "Pumped\nduring", v}};
}

}  // namespace

Document worksheetDocument(const book::TankSettings& tank, LengthUnit lengthUnit,
                           VolumeUnit volumeUnit, const std::string& month,
                           const ReportFrame& frame) {
    SectionWriter out;
    const QString name = QString::fromStdString(tank.name);
    const QString period = QString::fromStdString(month);
    writeHeader(out, QObject::tr("Daily worksheet: tank %1, %2").arg(name, period), tank,
                lengthUnit, volumeUnit, frame);
    const std::vector<Column> columns = entryColumns(lengthUnit, volumeUnit, tank.product.celsius);
    const int table = out.table(columns);
    out.head(table);
    for (int day = 1; day <= book::daysInMonth(month); ++day) {
        QStringList cells(static_cast<int>(columns.size()));
        cells.front() = period + (day < 10 ? "-0" : "-") + QString::number(day);
        out.row(table, cells);
    }
    Section section = out.take();
    section.footer = QObject::tr("tank %1, %2").arg(name, period);
    Document document;
    document.title = QObject::tr("Worksheet %1 %2").arg(name, period);
    document.sections.push_back(std::move(section));
    document.footer = documentFooter(frame);
    document.rowScale = 1.2;
    return document;
}

}  // namespace brimwell::bookreport
