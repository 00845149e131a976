#include <QtTest>

#include "leak/leakrate.h"
#include "leak/leakratebox.h"

using namespace brimwell;
using brimwell::leak::BoxText;

namespace {
const NumberFormat kPoint{".", ","};
const NumberFormat kComma{",", "."};
}  // namespace

class LeakRateTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void equivalent_rate_follows_the_square_root_of_the_pressure_ratio_data() {
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("reference");
        QTest::addColumn<double>("desired");
        QTest::addColumn<double>("gallonsPerHour");
        QTest::addColumn<double>("millilitresPerMinute");
        QTest::newRow("3 at 10 to 30")
            << 3.0 << 10.0 << 30.0 << 5.196152422706632 << 327.79061533241;
        QTest::newRow("same pressure") << 3.0 << 10.0 << 10.0 << 3.0 << 189.25;
        QTest::newRow("lower pressure")
            << 0.1 << 45.0 << 30.0 << 0.08164965809277261 << 5.150732598019072;
        QTest::newRow("no pressure") << 3.0 << 10.0 << 0.0 << 0.0 << 0.0;
        QTest::newRow("both pressures negative")
            << 0.5 << -20.0 << -30.0 << 0.6123724356957945 << 38.63049448514303;
    }
    void equivalent_rate_follows_the_square_root_of_the_pressure_ratio() {
        QFETCH(double, rate);
        QFETCH(double, reference);
        QFETCH(double, desired);
        QFETCH(double, gallonsPerHour);
        QFETCH(double, millilitresPerMinute);
        const auto result = leak::equivalentRate(rate, reference, desired);
        QVERIFY(result);
        QCOMPARE(result->gallonsPerHour, gallonsPerHour);
        QCOMPARE(result->millilitresPerMinute, millilitresPerMinute);
    }

    void impossible_computations_have_no_result_data() {
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("reference");
        QTest::addColumn<double>("desired");
        QTest::newRow("reference pressure 0") << 3.0 << 0.0 << 30.0;
        QTest::newRow("both pressures 0") << 3.0 << 0.0 << 0.0;
        QTest::newRow("negative desired pressure") << 3.0 << 10.0 << -30.0;
        QTest::newRow("negative reference pressure") << 3.0 << -10.0 << 30.0;
        QTest::newRow("ratio overflows") << 3.0 << 1e-300 << 1e300;
        QTest::newRow("rate overflows") << 1e308 << 10.0 << 40.0;
        QTest::newRow("millilitres overflow") << 1e306 << 10.0 << 10.0;
    }
    void impossible_computations_have_no_result() {
        QFETCH(double, rate);
        QFETCH(double, reference);
        QFETCH(double, desired);
        QVERIFY(!leak::equivalentRate(rate, reference, desired));
    }

    // One edit each; "|" marks the caret. The box showed `before`, the edit left `edited`.
    void the_box_settles_each_edit_data() {
        QTest::addColumn<QString>("notation");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QString>("shown");
        auto row = [](const char* name, const char* notation, const char* before,
                      const char* edited, const char* shown) {
            QTest::newRow(name) << QString(notation) << QString(before) << QString(edited)
                                << QString(shown);
        };
        row("first digit", "point", "|", "2|", "2|.0");
        row("point steps over the box's point", "point", "2|.0", "2.|.0", "2.|0");
        row("digit before the added zero", "point", "2.|0", "2.5|0", "2.5|");
        row("digit into the integer part", "point", "2|.5", "25|.5", "25|.5");
        row("leading zero dropped", "point", "0|.5", "03|.5", "3|.5");
        row("fifth decimal rounds", "point", "1.2345|", "1.23456|", "1.2346|");
        row("not a number stays", "point", "2.0|", "2.0x|", "2.0x|");
        row("second point stays", "point", "2.5|", "2.5.|", "2.5.|");
        row("backspace over the added zero", "point", "2.0|", "2.|", "2.|0");
        row("backspace over the added point", "point", "2.|0", "2|0", "2|.0");
        row("backspace the last typed digit", "point", "2|.0", "|.0", "|");
        row("delete steps over the added point", "point", "2|.0", "2|0", "2.|0");
        row("delete a leading zero steps over it", "point", "|0.25", "|.25", "0|.25");
        row("backspace a typed decimal", "point", "2.5|", "2.|", "2.|0");
        row("backspace a typed point", "point", "2.|5", "2|5", "2|5.0");
        row("pasted group separator", "point", "|", "1,000|", "1000|.0");
        row("minus sign alone stays", "point", "|", "-|", "-|");
        row("point alone stays", "point", "|", ".|", ".|");
        row("comma: first digit", "comma", "|", "2|", "2|,0");
        row("comma: comma steps over", "comma", "2|,0", "2,|,0", "2,|0");
        row("comma: point is no decimal point", "comma", "2|,0", "2.|,0", "2.|,0");
        row("comma: backspace over the added comma", "comma", "2,|0", "2|0", "2|,0");
        row("comma: zero typed behind the decimals stays", "comma", "0,0|", "0,00|", "0,00|");
    }
    void the_box_settles_each_edit() {
        QFETCH(QString, notation);
        QFETCH(QString, before);
        QFETCH(QString, edited);
        QFETCH(QString, shown);
        auto box = [](const QString& marked) {
            QString text = marked;
            return leak::BoxText{text.remove('|').toStdString(),
                                 static_cast<std::size_t>(marked.indexOf('|'))};
        };
        const NumberFormat& format = notation == "comma" ? kComma : kPoint;
        const auto settled = leak::settleLeakRateBox(box(before), box(edited), format);
        QString marked = QString::fromStdString(settled.text);
        marked.insert(static_cast<qsizetype>(settled.caret), '|');
        QCOMPARE(marked, shown);
    }
};

QTEST_APPLESS_MAIN(LeakRateTest)
#include "test_leakrate.moc"
