#include <QtTest>

#include <cmath>
#include <limits>

#include "model/tables/volumecorrection.h"

using namespace brimwell;

namespace {

// The factor of a VCF table, or the base value of 5B and 53B, read on a glass hydrometer unless
// the table is named "5B, density meter" or "53B, density meter".
Expected<double, std::string> lookUp(const QString& table, double input, double temperature) {
    const auto base = [](const Expected<BaseCorrection, std::string>& found) -> Expected<double, std::string> {
        return found ? Expected<double, std::string>(found->base) : Unexpected(found.error());
    };
    const auto meter = table.endsWith("density meter") ? ObservedWith::DensityMeter : ObservedWith::GlassHydrometer;
    if (table.startsWith("5B")) return base(baseTable5B(input, temperature, meter));
    if (table.startsWith("53B")) return base(baseTable53B(input, temperature, meter));
    if (table == "6B") return vcfTable6B(input, temperature);
    if (table == "54B") return vcfTable54B(input, temperature);
    if (table == "6C") return vcfTable6C(input, temperature);
    return vcfTable54C(input, temperature);
}

}  // namespace

class VolumeCorrectionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void table_values_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<double>("input");
        QTest::addColumn<double>("temperature");
        QTest::addColumn<double>("value");
        // A U.S. Army quartermaster course on gauging (armyquartermaster.tpub.com, QM5097): JP-4
        // of 56.5 °API at 67.5 °F reads 0.9950 in Table 6B.
        QTest::newRow("6B gasolines, army course") << "6B" << 56.5 << 67.5 << 0.9950;
        // A tanker crew's printout of table calculations (scribd.com, "ASTM Tables Calc"); its
        // 650 × 10⁻⁶ row is from 24C, the relative density series' table of the same coefficient.
        QTest::newRow("6B gasolines, crew printout") << "6B" << 63.0 << 75.0 << 0.9895;
        QTest::newRow("6C, crew printout") << "6C" << 910e-6 << 30.0 << 1.0271;
        QTest::newRow("6C as 24C, crew printout") << "6C" << 650e-6 << 30.0 << 1.0194;
        QTest::newRow("54C at its lowest temperature, crew printout") << "54C" << 1644e-6 << -18.0 << 1.0533;
        // A tanker cargo-calculation puzzle (geocaching.com, GC1RNPT): gasoline and gasoil.
        QTest::newRow("54B gasolines, tanker puzzle") << "54B" << 721.4 << 22.0 << 0.9911;
        QTest::newRow("54B fuel oils, tanker puzzle") << "54B" << 842.8 << 22.5 << 0.9937;
        // A heavy fuel oil bunker calculation (scribd.com, "bunk-cal").
        QTest::newRow("54B heavy fuel oil, bunker sheet") << "54B" << 992.0 << 36.0 << 0.9857;
        // Printed 5B and 53B fold in the expansion of the hydrometer's glass, and so do these: the
        // readings are entered as published. A U.S. gauging manual's appendix
        // (online.documentine.com, "Appendix I volume conversion ASTM-API-IP table 5A/B"): 40.5
        // read at 83.0 °F is 38.7 at 60 °F.
        QTest::newRow("5B, gauging manual") << "5B" << 40.5 << 83.0 << 38.7;
        // The crew printout: 10.5 read at 135 °F is 6.74 at 60 °F, and fuel oil of 1008.0 kg/m³
        // read at 4.5 °C is 1001.19 at 15 °C.
        QTest::newRow("5B, crew printout") << "5B" << 10.5 << 135.0 << 6.7;
        QTest::newRow("53B, crew printout") << "53B" << 1008.0 << 4.5 << 1001.2;
        // The gauging manual's reading as the liquid's own, 40.55 on a density meter.
        QTest::newRow("5B, density meter") << "5B, density meter" << 40.6 << 83.0 << 38.7;

        // The rows below are an independent computation: a separate implementation of the 1980
        // procedure from its published constants, group boundaries and hydrometer correction.
        // Each side of every product group boundary, where the groups' factors differ.
        QTest::newRow("6B fuel oils' last") << "6B" << 37.0 << 150.0 << 0.9573;
        QTest::newRow("6B fuel oils' last, 86 °F") << "6B" << 37.0 << 86.0 << 0.9877;  // jet fuels': 0.9878
        QTest::newRow("6B jet fuels' first") << "6B" << 37.1 << 150.0 << 0.9572;
        QTest::newRow("6B jet fuels' last") << "6B" << 47.9 << 150.0 << 0.9515;
        QTest::newRow("6B transition zone's first") << "6B" << 48.0 << 150.0 << 0.9514;
        QTest::newRow("6B transition zone's last") << "6B" << 52.0 << 150.0 << 0.9415;
        QTest::newRow("6B gasolines' first") << "6B" << 52.1 << 150.0 << 0.9414;
        QTest::newRow("54B gasolines' last") << "54B" << 770.4 << 61.3 << 0.9458;
        QTest::newRow("54B transition zone from 770.5") << "54B" << 770.5 << 61.3 << 0.9459;
        QTest::newRow("54B transition zone's last") << "54B" << 787.4 << 82.55 << 0.9341;
        QTest::newRow("54B jet fuels from 787.5") << "54B" << 787.5 << 82.55 << 0.9342;
        QTest::newRow("54B jet fuels' last") << "54B" << 838.4 << 107.95 << 0.9198;
        QTest::newRow("54B fuel oils from 838.5") << "54B" << 838.5 << 107.95 << 0.9198;
        // α rounded to seven decimals before the exponential; unrounded it gives 0.9778 and 1.0186.
        QTest::newRow("54B jet fuels, α to seven decimals") << "54B" << 800.0 << 38.8 << 0.9777;
        QTest::newRow("6B fuel oils, α to seven decimals") << "6B" << 0.0 << 5.3 << 1.0185;
        // A temperature is rounded to the table's step first: 60.07 °F to 60.1, 15.66 °C to 15.65
        // (unrounded, 1.0000 and 0.9995); an API gravity becomes a density with water at 60 °F
        // of 999.012 kg/m³ (999.016 would give 0.9907).
        QTest::newRow("6B, 0.1 °F steps") << "6B" << 56.5 << 60.07 << 0.9999;
        QTest::newRow("54B, 0.05 °C steps") << "54B" << 990.0 << 15.66 << 0.9996;
        QTest::newRow("6B, water of the 1980 tables") << "6B" << 36.1 << 80.0 << 0.9906;
        // The transition zone's A to its last digit: -0.00336321 would give 0.9860.
        QTest::newRow("54B transition zone's A") << "54B" << 770.5 << 27.15 << 0.9859;
        // A reading whose base the fixed-point iteration never settled on.
        QTest::newRow("5B hot jet fuel") << "5B" << 64.0 << 210.0 << 48.2;
        // Readings that two groups both give (bases of 47.93 and 47.95 °API, of 770.43 and 770.45
        // kg/m³): the base nearer the reading wins.
        QTest::newRow("5B where two groups meet") << "5B" << 62.3 << 200.0 << 48.0;
        QTest::newRow("53B where two groups meet") << "53B" << 798.8 << -18.0 << 770.5;
        // Readings that no base gives exactly, in the step between two groups: the boundary.
        QTest::newRow("5B in the step between groups") << "5B" << 42.6 << 0.2 << 47.9;
        QTest::newRow("53B in the step between groups") << "53B" << 780.8 << 24.0 << 787.5;
    }
    void table_values() {
        QFETCH(QString, table);
        QFETCH(double, input);
        QFETCH(double, temperature);
        QFETCH(double, value);
        const auto found = lookUp(table, input, temperature);
        QVERIFY2(found, found ? "" : found.error().c_str());
        QCOMPARE(*found, value);
    }

    void army_course_net_gallons() {
        QCOMPARE(std::round(16925.8 * *vcfTable6B(56.5, 67.5)), 16841.0);
    }

    // A density taken to the observed temperature by 54B, as a density meter reads it, comes
    // back, within the 0.1 kg/m³ that the four-decimal factor can move it by.
    void base_density_undoes_the_factor_data() {
        QTest::addColumn<double>("base");
        QTest::addColumn<double>("temperature");
        QTest::newRow("gasolines, warm") << 730.0 << 35.0;
        QTest::newRow("transition zone, cold") << 780.0 << -10.0;
        QTest::newRow("jet fuels, warm") << 800.0 << 40.0;
        QTest::newRow("fuel oils, hot") << 990.0 << 120.0;
    }
    void base_density_undoes_the_factor() {
        QFETCH(double, base);
        QFETCH(double, temperature);
        const double observed = std::round(base * *vcfTable54B(base, temperature) * 10.0) / 10.0;
        const auto found = baseTable53B(observed, temperature, ObservedWith::DensityMeter);
        QVERIFY2(found, found ? "" : found.error().c_str());
        QVERIFY2(std::fabs(found->base - base) < 0.1 + 1e-9, qPrintable(QString::number(found->base)));
        QCOMPARE(found->vcf, *vcfTable54B(found->base, temperature));
    }

    void out_of_range_is_refused_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<double>("input");
        QTest::addColumn<double>("temperature");
        QTest::addColumn<QString>("error");
        const QString range = "the %1 is outside table %2's range %3";
        QTest::newRow("6B gravity, rounded up past the end")
            << "6B" << 85.05 << 60.0 << range.arg("API gravity 85.05", "6B", "0 to 85");
        QTest::newRow("6B hot gasoline") << "6B" << 60.0 << 210.0
            << range.arg("temperature 210 °F", "6B", "0 to 200 °F for the API gravity 60");
        // Measurement Canada prints 1.0412 for jet fuel of 800 kg/m³ at −30 °C, the 1980 arithmetic
        // carried below its range; the 1980 table starts at −18 °C.
        QTest::newRow("54B below the table") << "54B" << 800.0 << -30.0
            << range.arg("temperature -30 °C", "54B", "-18 to 120 °C for the density 800 kg/m³");
        QTest::newRow("6C coefficient") << "6C" << 1000e-6 << 60.0
            << range.arg("coefficient 0.001 per °F", "6C", "0.00027 to 0.00093 per °F");
        QTest::newRow("54C light product, hot") << "54C" << 1644e-6 << 100.0
            << range.arg("temperature 100 °C", "54C", "-18 to 90 °C for the coefficient 0.001644 per °C");
        QTest::newRow("53B reading") << "53B" << 600.0 << 20.0
            << range.arg("observed density 600 kg/m³", "53B", "653 to 1075 kg/m³");
        QTest::newRow("5B base past the end") << "5B" << 84.0 << 10.0
            << "at 10 °F, a base of 93.1 °API is outside table 6B, which goes only to 85 °API";
        QTest::newRow("5B base below the start") << "5B" << 0.5 << 300.0
            << "at 300 °F, a base of -9.1 °API is outside table 6B, which goes only down to 0 °API";
        QTest::newRow("5B base too light for the heat") << "5B" << 70.5 << 210.0
            << "at 210 °F, a base of 51.5 °API is outside table 6B, which goes only to 200 °F above 50 °API";
        QTest::newRow("53B base too light for the heat") << "53B" << 700.0 << 100.0
            << "at 100 °C, a base of 773.6 kg/m³ is outside table 54B, which goes only to 90 °C up to 779 kg/m³";
        QTest::newRow("53B base past the end") << "53B" << 1075.0 << 100.0
            << "at 100 °C, a base of 1128.9 kg/m³ is outside table 54B, which goes only to 1075 kg/m³";
        QTest::newRow("not a number") << "6B" << std::numeric_limits<double>::quiet_NaN() << 60.0
                                      << "the API gravity is not a finite number";
    }
    void out_of_range_is_refused() {
        QFETCH(QString, table);
        QFETCH(double, input);
        QFETCH(double, temperature);
        QFETCH(QString, error);
        QCOMPARE(QString::fromStdString(lookUp(table, input, temperature).error()), error);
    }
};

QTEST_APPLESS_MAIN(VolumeCorrectionTest)
#include "test_volumecorrection.moc"
