#include "bookreport/monthlayout.h"

#include <memory>
#include <variant>

#include "book/month.h"
#include "book/reportformat.h"
#include "bookreport/overshortdrawing.h"

namespace brimwell::bookreport {
namespace {

constexpr int kVolumePlaces = 2;
constexpr double kPlotLines = 20;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QString shapeText(const TankDescription& shape, const QString& decimal) {
    if (shape.calibration) {
        return QObject::tr("its own calibration chart");
    }
    const QString unit = qs(std::string(unitWord(shape.lengthUnit)));
    const QString diameter = readingText(shape.diameter, decimal);
    const QString length = readingText(shape.length, decimal);
    if (shape.vertical) {
        return QObject::tr("vertical, %1 across, %2 high, in %3").arg(diameter, length, unit);
    }
    return QObject::tr("horizontal, %1 heads, %2 across, %3 long, in %4")
        .arg(qs(std::string(headWord(shape.heads))), diameter, length, unit);
}

QString rulesText(const book::TankSettings& tank, LengthUnit lengthUnit, VolumeUnit volumeUnit,
                  const QString& decimal) {
    QStringList rules;
    for (const book::Rule& rule : tank.rules) {
        rules << localized(book::ruleName(rule, unitWord(volumeUnit), unitWord(lengthUnit)),
                           decimal);
    }
    return rules.isEmpty() ? QObject::tr("none") : rules.join(QStringLiteral("; "));
}

// The worksheet's columns, keyed by letter; the book's figures are worked from them as the heads
// say.
std::vector<Column> worksheetColumns(LengthUnit length, VolumeUnit volume) {
    const QString l = shortUnit(length);
    const QString v = shortUnit(volume);
    return {{"A", "Date", "", 1.35, false},     {"B", "Opening\nstick", l},
            {"C", "Opening\nvolume", v},        {"D", "Delivered\nper bills", v},
            {"E", "Delivered\nby sticks", v},   {"F", "Pumped", v},
            {"G", "Book\nC + D - F", v},        {"H", "Closing\nstick", l},
            {"I", "Closing\nvolume", v},        {"J", "Over/short\nI - G", v},
            {"K", "Cumulative\nover/short", v}, {"L", "Water", l, 0.7},
            {"M", "Initials", "", 0.8, false},  {"N", "Notes", "", 2.8, false}};
}

QStringList dayCells(const book::Day& day, const book::DayFigures& figures, double openingStick,
                     const QString& decimal) {
    double measured = 0;
    for (const book::DeliveryCheck& check : figures.deliveries) {
        measured += check.measured;
    }
    auto volume = [&](double value) { return fixedText(value, kVolumePlaces, decimal); };
    // A corrected day is shaded too, and listed in the appendix, so its word goes last.
    QStringList notes;
    if (figures.pumped != figures.recordedPumped) {
        notes << QObject::tr("metered %1").arg(volume(figures.recordedPumped));
    }
    if (figures.waterMarked) {
        notes << QObject::tr("water over limit");
    }
    if (figures.corrected) {
        notes << QObject::tr("corrected");
    }
    return {qs(day.date),
            readingText(openingStick, decimal),
            volume(figures.opening),
            volume(figures.delivered),
            figures.deliveries.empty() ? QString() : volume(measured),
            volume(figures.pumped),
            volume(figures.book),
            readingText(day.closingLevel, decimal),
            volume(figures.closing),
            volume(figures.overShort),
            volume(figures.cumulative),
            readingText(day.waterLevel, decimal),
            qs(day.initials),
            notes.join(QStringLiteral(", "))};
}

void writeWorksheet(SectionWriter& out, const TankReport& report, const ReportFrame& frame) {
    const QString decimal = qs(frame.decimal);
    const int table = out.table(worksheetColumns(report.lengthUnit, report.volumeUnit));
    out.head(table);
    const int days = book::daysInMonth(report.month);
    double stick = book::openingOf(report.records, report.tank).level;
    std::size_t next = 0;
    for (int day = 1; day <= days; ++day) {
        const std::string date = report.month + (day < 10 ? "-0" : "-") + std::to_string(day);
        const auto& recorded = report.records.days;
        if (next < recorded.size() && recorded[next].date == date && report.figures) {
            out.row(table, dayCells(recorded[next], report.figures->days.at(next), stick, decimal),
                    report.figures->days.at(next).corrected);
            stick = recorded[next].closingLevel;
            ++next;
            continue;
        }
        QStringList cells(static_cast<int>(out.section().tables.back().size()));
        cells.front() = qs(date);
        cells.back() = QObject::tr("missing");
        out.row(table, cells, true);
    }
}

Section monthSection(const TankReport& report, const ReportFrame& frame) {
    SectionWriter out;
    writeHeader(out,
                QObject::tr("Monthly inventory record: tank %1, %2")
                    .arg(qs(report.tank.name), qs(report.month)),
                report.tank, report.lengthUnit, report.volumeUnit, frame);
    writeWorksheet(out, report, frame);
    writeDeliveries(out, report, frame);
    writeChecks(out, report, frame);
    writeLeakTest(out, report, frame);
    if (report.figures) {
        auto plot = std::make_shared<OverShortDrawing>();
        plot->setMonth(*report.figures, report.tank.rules,
                       report.leakTest ? report.leakTest->points
                                       : std::vector<book::LeakPoint>{});
        plot->setUnit(qs(std::string(unitWord(report.volumeUnit))));
        plot->setDecimal(qs(frame.decimal));
        out.section().plot = std::move(plot);
        out.space();
        out.add(Line::Kind::Plot, {}, kPlotLines);
    }
    writeSignature(out);
    writeCorrections(out, report, frame);
    Section section = out.take();
    section.footer =
        QObject::tr("tank %1, %2; records last changed %3")
            .arg(qs(report.tank.name), qs(report.month),
                 report.lastChange.empty() ? QObject::tr("never")
                                           : recordedTime(report.lastChange) + QObject::tr(" UTC"));
    return section;
}

}  // namespace

void writeHeader(SectionWriter& out, const QString& title, const book::TankSettings& tank,
                 LengthUnit lengthUnit, VolumeUnit volumeUnit, const ReportFrame& frame) {
    const QString decimal = qs(frame.decimal);
    out.title(title);
    // The address's lines follow the name on one line, as an envelope's would read aloud.
    QStringList parts = qs(frame.site.address).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    parts.prepend(qs(frame.site.name));
    parts.removeAll(QString());
    const QString site =
        parts.isEmpty() ? QObject::tr("(not given)") : parts.join(QStringLiteral(", "));
    out.text(QObject::tr("Site: %1").arg(site));
    out.text(QObject::tr("Tank: %1    Product: %2    Shape: %3")
                 .arg(qs(tank.name), qs(tank.product.name), shapeText(tank.shape, decimal)));
    out.text(QObject::tr("Units: sticks and water in %1; volumes in %2, gross, product net of "
                         "water; temperatures in degrees %3")
                 .arg(qs(std::string(unitWord(lengthUnit))), qs(std::string(unitWord(volumeUnit))),
                      tank.product.celsius ? QStringLiteral("C") : QStringLiteral("F")));
    out.text(
        QObject::tr("Rules in force: %1").arg(rulesText(tank, lengthUnit, volumeUnit, decimal)));
    out.space();
}

QString documentFooter(const ReportFrame& frame) {
    return QObject::tr("%1; printed %2").arg(qs(frame.bookFile), qs(frame.printedAt));
}

Document monthDocument(const std::vector<TankReport>& tanks, const ReportFrame& frame) {
    Document document;
    for (const TankReport& tank : tanks) {
        document.sections.push_back(monthSection(tank, frame));
    }
    document.title =
        tanks.size() == 1
            ? QObject::tr("Tank %1 %2").arg(qs(tanks.front().tank.name), qs(tanks.front().month))
            : QObject::tr("Site %1").arg(tanks.empty() ? QString() : qs(tanks.front().month));
    document.footer = documentFooter(frame);
    return document;
}

}  // namespace brimwell::bookreport
