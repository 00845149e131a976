#include <QtTest>

#include "book/booktank.h"
#include "book/legacyshape.h"
#include "bookwindow/tankentry.h"

using namespace brimwell;

// A stored tank opened in the editor and read back unchanged must be the same tank: the same
// capacity, heads, product and rules, whatever the notation of the user's numbers.
class TankEntryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void a_stored_tank_reads_back_from_its_editor_texts_data() {
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("chart");
        QTest::addColumn<int>("correction");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("reference");
        QTest::newRow("dished heads, comma notation")
            << ","
            << "--diameter 2.4 --length 6.05 --heads torispherical --crown 0.8 --knuckle "
               "0.1 --units meters --volume litres"
            << "" << 1 << 56.5 << 60.0;
        QTest::newRow("cone, linear about 20 °C")
            << "."
            << "--diameter 96.5 --length 240 --heads conical --head-depth 20.25"
            << "" << 0 << 0.0005 << 20.0;
        QTest::newRow("vertical, 54C") << "."
                                       << "--orientation vertical --diameter 3 --length 9 "
                                          "--units feet --volume cubic-meters"
                                       << "" << 4 << 0.00095 << 15.0;
        QTest::newRow("own chart") << ","
                                   << "--units centimeters --volume litres"
                                   << "level,volume\n0,0\n10,250.5\n20,612.25\n"
                                   << 2 << 812.5 << 15.0;
    }
    void a_stored_tank_reads_back_from_its_editor_texts() {
        QFETCH(QString, decimal);
        QFETCH(QString, shape);
        QFETCH(QString, chart);
        QFETCH(int, correction);
        QFETCH(double, value);
        QFETCH(double, reference);
        const auto described = book::readLegacyShape(
            shape.toStdString(),
            chart.isEmpty() ? std::nullopt : std::optional(chart.toStdString()));
        QVERIFY2(described, described ? "" : described.error().c_str());
        book::TankSettings stored{
            "T1",
            {"Diesel", static_cast<book::Correction>(correction), value, reference,
             reference == 15 || reference == 20},
            *described,
            87.5,
            1.25,
            {book::PercentRule{0.5, 200.25}, book::ShortRunRule{3, 50.5}, book::WaterRule{2.125}},
            {}};
        const auto tank = book::bookTank(stored);
        QVERIFY2(tank, tank ? "" : tank.error().c_str());
        const NumberFormat format{decimal.toStdString(), decimal == "," ? "." : ","};
        const TankEntry entry = readTankEntry(tankTexts(stored, format), format, 130);
        QVERIFY(entry.problems.empty());
        const book::TankSettings& read = entry.settings;
        const auto again = book::bookTank(read);
        QVERIFY2(again, again ? "" : again.error().c_str());
        QCOMPARE(again->capacity, tank->capacity);
        QCOMPARE(read.shape, stored.shape);
        QCOMPARE(read.product.correction, stored.product.correction);
        QCOMPARE(read.product.value, value);
        QCOMPARE(read.product.reference, reference);
        QCOMPARE(read.product.celsius, stored.product.celsius);
        QCOMPARE(read.safeFill, stored.safeFill);
        QCOMPARE(read.openingLevel, stored.openingLevel);
        QCOMPARE(read.rules, stored.rules);
    }
};

QTEST_APPLESS_MAIN(TankEntryTest)
#include "test_tankentry.moc"
