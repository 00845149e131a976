#include <QtTest>

#include "bookwindow/dayentry.h"

using namespace brimwell;

// The day's form read as the book's records, and its sticks written back, without a window.
class DayEntryTest : public QObject {
    Q_OBJECT

    static QString outcome(const DayEntry& entry) {
        static const char* const kFields[] = {
            "stick", "water",           "temperature", "pumped", "meter opening", "meter closing",
            "initials", "bill", "bill temperature", "before", "after", "pumped during"};
        QStringList said;
        for (const FieldProblem& problem : entry.problems) {
            said << QString("%1: %2").arg(kFields[static_cast<int>(problem.field)],
                                          QString::fromStdString(problem.reason));
        }
        for (const FieldProblem& missing : entry.missing) {
            said << QString("%1 missing: %2").arg(kFields[static_cast<int>(missing.field)],
                                                  QString::fromStdString(missing.reason));
        }
        if (!said.isEmpty()) {
            return said.join("; ");
        }
        const book::Day& day = entry.day;
        QString read = QString("stick %1").arg(day.closingLevel);
        if (day.pumped) {
            read += QString(", pumped %1").arg(*day.pumped);
        }
        if (day.meterOpen && day.meterClose) {
            read += QString(", meters %1 to %2").arg(*day.meterOpen).arg(*day.meterClose);
        }
        if (entry.delivery) {
            read += QString(", sticks %1 to %2").arg(entry.delivery->levelBefore).arg(entry.delivery->levelAfter);
        }
        return read;
    }

private Q_SLOTS:
    // In a tank of inches whose top is 96; "carried" when the opening total is the one the form
    // carried from the day before, left as it was.
    void a_day_reads_from_its_texts_data() {
        QTest::addColumn<QString>("stick");
        QTest::addColumn<QString>("pumped");
        QTest::addColumn<QString>("meters");
        QTest::addColumn<bool>("carried");
        QTest::addColumn<QString>("delivery");  // bill, stick before, stick after
        QTest::addColumn<QString>("read");
        QTest::newRow("a carried opening alone is no reading")
            << "38" << "" << "1100 " << true << ""
            << "meter closing missing: type the closing total, or the volume pumped";
        QTest::newRow("a carried opening with the day's closing total")
            << "38" << "" << "1100 1400" << true << "" << "stick 38, meters 1100 to 1400";
        QTest::newRow("a carried opening passed over for the volume pumped")
            << "38" << "300" << "1100 " << true << "" << "stick 38, pumped 300";
        QTest::newRow("a typed opening goes with a closing total")
            << "38" << "" << "1100 " << false << "" << "meter closing: the meters' totals go together";
        QTest::newRow("nothing pumped is said with a 0")
            << "38" << "" << " " << false << "" << "pumped missing: type 0 if nothing was pumped";
        QTest::newRow("feet and inches without the inch mark")
            << "4'7-1/4" << "0" << " " << false << "" << "stick 55.25, pumped 0";
        // Nothing measured is still a delivery; a stick falling through it is not.
        QTest::newRow("a delivery between equal sticks")
            << "38" << "0" << " " << false << "900 40 40" << "stick 38, pumped 0, sticks 40 to 40";
        QTest::newRow("a stick after below the one before")
            << "38" << "0" << " " << false << "900 40 39" << "after: the stick after is below the stick before";
    }
    void a_day_reads_from_its_texts() {
        QFETCH(QString, stick);
        QFETCH(QString, pumped);
        QFETCH(QString, meters);
        QFETCH(bool, carried);
        QFETCH(QString, delivery);
        QFETCH(QString, read);
        DayTexts texts;
        texts.date = "2026-03-02";
        texts.stick = stick.toStdString();
        texts.pumped = pumped.toStdString();
        texts.meterOpen = meters.section(' ', 0, 0).toStdString();
        texts.meterClose = meters.section(' ', 1).toStdString();
        texts.meterOpenCarried = carried;
        texts.bill = delivery.section(' ', 0, 0).toStdString();
        texts.before = delivery.section(' ', 1, 1).toStdString();
        texts.after = delivery.section(' ', 2, 2).toStdString();
        QCOMPARE(outcome(readDayEntry(texts, LengthUnit::Inches, 96, {})), read);
    }

    // Written back, each text reads as the level recorded.
    void a_recorded_stick_is_written_in_the_tanks_form_data() {
        QTest::addColumn<double>("level");
        QTest::addColumn<int>("unit");
        QTest::addColumn<bool>("feetInches");
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QString>("text");
        const int inches = static_cast<int>(LengthUnit::Inches);
        const int feet = static_cast<int>(LengthUnit::Feet);
        const int mm = static_cast<int>(LengthUnit::Millimeters);
        QTest::newRow("eighths") << 55.25 << inches << true << "." << "4'7-1/4\"";
        QTest::newRow("whole feet") << 72.0 << inches << true << "." << "6'0\"";
        QTest::newRow("no whole eighth") << 55.3 << inches << true << "," << "55,3";
        QTest::newRow("in feet") << 4.625 << feet << true << "." << "4'7-1/2\"";
        QTest::newRow("decimals chosen") << 55.25 << inches << false << "." << "55.25";
        QTest::newRow("millimetres") << 1403.5 << mm << true << "." << "1403.5";
    }
    void a_recorded_stick_is_written_in_the_tanks_form() {
        QFETCH(double, level);
        QFETCH(int, unit);
        QFETCH(bool, feetInches);
        QFETCH(QString, decimal);
        QFETCH(QString, text);
        const NumberFormat format{decimal.toStdString(), decimal == "," ? "." : ","};
        const auto length = static_cast<LengthUnit>(unit);
        const std::string written = userStickText(
            level, length, feetInches ? StickForm::FeetInches : StickForm::Decimal, format);
        QCOMPARE(QString::fromStdString(written), text);
        const auto back = readUserStick(written, length, format);
        QVERIFY2(back, back ? "" : back.error().c_str());
        QCOMPARE(*back, level);
    }
};

QTEST_APPLESS_MAIN(DayEntryTest)
#include "test_dayentry.moc"
