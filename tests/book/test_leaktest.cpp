// The leak test on months worked by hand: a tank of 100 gallons an inch, 100 gal pumped a day,
// the sticks' precision 1/8 in, so that an exact fit scatters by the floor 0.125 / √12 =
// 0.0360844 in, 3.60844 gal.

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <cmath>
#include <cstdio>

#include "book/leakreport.h"
#include "book/leaksim.h"
#include "book/leaktest.h"
#include "book/month.h"

using namespace brimwell;
using namespace brimwell::book;

namespace {

const Gauge kGauge{[](double level) -> Expected<double, std::string> { return 100 * level; },
                   [](double t) -> Expected<double, std::string> { return 1 + (60 - t) * 0.0005; }};

std::string april(int day) {
    char text[16];
    std::snprintf(text, sizeof text, "2026-04-%02d", day);
    return day == 0 ? "2026-03-31" : text;
}

Day day(int date, double stick, std::vector<Delivery> deliveries = {}) {
    Day d;
    d.date = april(date);
    d.closingLevel = stick;
    d.pumped = 100;
    d.temperature = 60;
    d.deliveries = std::move(deliveries);
    return d;
}

bool near(double a, double b) {
    return std::abs(a - b) < 1e-6 * std::max(1.0, std::abs(b));
}

}  // namespace

class TestLeakTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void the_verdict_turns_at_the_threshold_and_the_pass_limit_data() {
        QTest::addColumn<bool>("analysable");
        QTest::addColumn<double>("rate");
        QTest::addColumn<double>("mdl");
        QTest::addColumn<LeakVerdict>("verdict");
        // threshold 0.1, pass limit 0.2
        QTest::newRow("loss at the threshold") << true << 0.1 << 0.2 << LeakVerdict::Fail;
        QTest::newRow("gain at the threshold") << true << -0.1 << 0.2 << LeakVerdict::Fail;
        QTest::newRow("below, mdl at the limit") << true << 0.0999 << 0.2 << LeakVerdict::Pass;
        QTest::newRow("below, mdl above it")
            << true << -0.0999 << 0.2001 << LeakVerdict::Inconclusive;
        QTest::newRow("no analysis whatever the rate")
            << false << 5.0 << 0.2 << LeakVerdict::NoAnalysis;
    }
    void the_verdict_turns_at_the_threshold_and_the_pass_limit() {
        QFETCH(bool, analysable);
        QFETCH(double, rate);
        QFETCH(double, mdl);
        QFETCH(LeakVerdict, verdict);
        QCOMPARE(leakVerdict(analysable, rate, 0.1, mdl, 0.2), verdict);
    }

    // A loss of 24 gal a day, 1 gal/h, from 5,000 gal. On 04-03 a delivery billed 1,000 gal
    // brings 990 (sticks 47.52 -> 57.42 in): the cumulative C = close - 5,000 + pumped - bills
    // is -24, -48, then -82, -106, -130, -154. Points t = 0..2 and 3..6; the tie says the second
    // offset is 10 below the first, with weight √(100² + 100²). In units of 100 gal/in the
    // normal matrix over (slope, offset 1, offset 2) is [[91, 3, 18], [3, 3.5, -0.5],
    // [18, -0.5, 4.5]]; its slope element of the inverse is 15.5 / 182, so the rate's standard
    // error is 3.60844 × √(15.5/182) / 24 = 0.0438771 gal/h. Without the tie's row it would be
    // 3.60844 / √7 / 24 = 0.0568279.
    void a_linear_loss_with_a_delivery_step_is_fitted_exactly() {
        const std::vector<Day> days{day(1, 48.76),
                                    day(2, 47.52),
                                    day(3, 56.18, {{1000, false, {}, 47.52, 57.42, {}, {}, 0}}),
                                    day(4, 54.94),
                                    day(5, 53.70),
                                    day(6, 52.46)};
        const auto test = leakTest({day(0, 50), days}, TankSettings{}, kGauge);
        QVERIFY(test && test->rate);
        QVERIFY(near(*test->rate, 1.0));
        QVERIFY(near(*test->standardError, 0.0438771));
        QVERIFY(near(*test->threshold, thresholdMultiplier(5) * 0.0438771));
        QVERIFY(near(*test->minimumDetectable, 2 * *test->threshold));
        QVERIFY(near(test->scatter, 0.0360844));
        QCOMPARE(test->offsets, 2);
        QCOMPARE(test->freedom, 5);
        QCOMPARE(test->points.size(), 7u);
        QVERIFY(near(test->points[3].cumulative, -82) && near(test->points[3].fitted, -82));
        QCOMPARE(test->verdict, LeakVerdict::NoAnalysis);  // six days
    }

    // Points (0, 0), (1, 1), (2, 0), one offset, errors correlated 0.5 from day to day. Prais-
    // Winsten with s² = 1/0.75 gives the rows [0, 1 | 0], [s, 0.5s | s], [1.5s, 0.5s | -0.5s];
    // the normal equations [[13, 5], [5, 5]] (slope, offset) = [1, 1], times 1/3: slope 0,
    // offset 0.2; RSS 5/3 - 0.2/3 = 1.6; the slope's variance 0.375 × 1.6, se 0.774597. Taken as
    // independent: offset 1/3, RSS 2/3, se √(2/3 / 2) = 0.577350.
    void correlated_errors_reweigh_the_fit_data() {
        QTest::addColumn<double>("correlation");
        QTest::addColumn<double>("offset");
        QTest::addColumn<double>("error");
        QTest::newRow("independent") << 0.0 << 1.0 / 3 << 0.577350;
        QTest::newRow("correlated 0.5") << 0.5 << 0.2 << 0.774597;
    }
    void correlated_errors_reweigh_the_fit() {
        QFETCH(double, correlation);
        QFETCH(double, offset);
        QFETCH(double, error);
        const auto fit = fitTrend({{0, 0, 1, 0}, {1, 1, 1, 0}, {2, 0, 1, 0}}, {}, correlation);
        QVERIFY(fit);
        QVERIFY(std::abs(fit->slope) < 1e-12);
        QVERIFY(near(fit->fitted[1], offset));
        QVERIFY(std::abs(fit->standardError - error) < 1e-6);
    }

    // Residuals that stay on one side for days are found correlated and widen the error; ones
    // that alternate are not.
    void the_correlation_is_estimated_from_the_residuals_data() {
        QTest::addColumn<QList<double>>("errors");
        QTest::addColumn<bool>("correlated");
        QTest::newRow("runs") << QList<double>{1, 1, 1, 1, -1, -1, -1, -1, 1, 1, 1, 1, -1, -1}
                              << true;
        QTest::newRow("alternating")
            << QList<double>{1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1} << false;
    }
    void the_correlation_is_estimated_from_the_residuals() {
        QFETCH(QList<double>, errors);
        QFETCH(bool, correlated);
        std::vector<TrendPoint> points;
        for (int t = 0; t < errors.size(); ++t) {
            points.push_back({static_cast<double>(t), 3.0 * t + errors[t], 1, 0});
        }
        const auto estimated = fitTrend(points);
        const auto independent = fitTrend(points, {}, 0.0);
        QVERIFY(estimated && independent);
        QCOMPARE(estimated->correlation > 0.5, correlated);
        QCOMPARE(estimated->standardError > 1.5 * independent->standardError, correlated);
    }

    // April with no loss, 100 gal pumped a day from 50 in; each row spoils it one way.
    void unusable_days_are_listed_and_break_the_line_data() {
        QTest::addColumn<QString>("spoil");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("reason");  // -1: none
        QTest::addColumn<int>("usable");
        QTest::addColumn<int>("offsets");
        QTest::addColumn<LeakVerdict>("verdict");
        QTest::newRow("clean") << "" << 30 << -1 << 30 << 1 << LeakVerdict::Pass;
        QTest::newRow("no stick") << "empty" << 30 << int(Unusable::EmptyStick) << 29 << 1
                                  << LeakVerdict::Pass;
        QTest::newRow("nothing pumped")
            << "pumped" << 30 << int(Unusable::NothingPumped) << 29 << 2 << LeakVerdict::Pass;
        QTest::newRow("a gap") << "gap" << 30 << int(Unusable::AfterGap) << 28 << 2
                               << LeakVerdict::Pass;
        QTest::newRow("delivery without sticks")
            << "unstuck" << 30 << int(Unusable::DeliveryUnstuck) << 29 << 2 << LeakVerdict::Pass;
        QTest::newRow("net without a temperature")
            << "cold" << 30 << int(Unusable::NoTemperature) << 29 << 2 << LeakVerdict::Pass;
        QTest::newRow("27 usable days")
            << "three" << 30 << int(Unusable::NothingPumped) << 27 << 2 << LeakVerdict::NoAnalysis;
        QTest::newRow("28-day period") << "" << 28 << -1 << 28 << 1 << LeakVerdict::Pass;
        QTest::newRow("36-day period") << "" << 36 << -1 << 36 << 1 << LeakVerdict::NoAnalysis;
    }
    void unusable_days_are_listed_and_break_the_line() {
        QFETCH(QString, spoil);
        QFETCH(int, days);
        QFETCH(int, reason);
        QFETCH(int, usable);
        QFETCH(int, offsets);
        QFETCH(LeakVerdict, verdict);
        MonthRecords month{day(0, 50), {}};
        for (int i = 1; i <= days; ++i) {
            month.days.push_back(day(i, 50 - i));
            month.days.back().date = i <= 30 ? april(i) : "2026-05-0" + std::to_string(i - 30);
        }
        TankSettings tank;
        if (spoil == "empty") {
            month.days[9].closingLevel = 0;
        } else if (spoil == "pumped" || spoil == "three") {
            for (int i = 9; i < (spoil == "three" ? 12 : 10); ++i) {
                month.days[i].pumped.reset();
            }
        } else if (spoil == "gap") {
            month.days.erase(month.days.begin() + 9);
        } else if (spoil == "unstuck") {
            month.days[9].deliveries.push_back({1000, false, {}, 0, 0, {}, {}, 0});
            for (int i = 9; i < days; ++i) {
                month.days[i].closingLevel += 10;
            }
        } else if (spoil == "cold") {
            tank.product.value = 0.0005;
            month.days[9].temperature.reset();
        }
        const auto test = leakTest(month, tank, kGauge);
        QVERIFY(test && test->rate);
        QCOMPARE(test->net, spoil == "cold");
        QCOMPARE(test->unusable.size(), reason < 0 ? 0u : usable == 27 ? 3u : 1u);
        if (reason >= 0) {
            QCOMPARE(int(test->unusable.front().reason), reason);
            QCOMPARE(test->unusable.front().date, april(spoil == "gap" ? 11 : 10));
        }
        QCOMPARE(test->usableDays, usable);
        QCOMPARE(test->offsets, offsets);
        QVERIFY(std::abs(*test->rate) < 1e-9);
        QCOMPARE(test->verdict, verdict);
    }

    void the_pass_limit_is_two_tenths_of_a_gallon_an_hour_in_the_tanks_unit() {
        TankSettings tank;
        tank.shape.volumeUnit = VolumeUnit::Litres;
        const auto test = leakTest({day(0, 50), {day(1, 49), day(2, 48)}}, tank, kGauge);
        QVERIFY(test);
        QVERIFY(std::abs(test->passLimit - 0.757) < 1e-3);
    }

    void the_multiplier_follows_students_t_data() {
        QTest::addColumn<int>("freedom");
        QTest::addColumn<double>("t");
        QTest::newRow("1") << 1 << 12.706205;
        QTest::newRow("4") << 4 << 2.776445;
        QTest::newRow("5") << 5 << 2.570582;
        QTest::newRow("25") << 25 << 2.059539;
    }
    void the_multiplier_follows_students_t() {
        QFETCH(int, freedom);
        QFETCH(double, t);
        QVERIFY(std::abs(thresholdMultiplier(freedom, 1) - t) < 5e-4);
        QVERIFY(
            near(thresholdMultiplier(freedom), kThresholdFactor * thresholdMultiplier(freedom, 1)));
    }

    // Bills 1,000 to 5,000 gal (mean 3,000, Sxx = 2 × (2,000² + 1,000²) = 10⁷) with the
    // differences d. "chart short": mean d -32, Sxy = -2,000×22 - 1,000×7 + 1,000×(-13) +
    // 2,000×(-20) = -104,000, slope -1.04 %, intercept -0.8, residuals 1.2, -3.4, 4.0, -2.6, 0.8,
    // SSE 36.4, se = √(36.4 / 3 / 10⁷) = 0.110151 %, t(3) = 3.182446: -1.39055 to -0.68945.
    // "straddles": mean -15, Sxy -60,000, slope -0.6 %, intercept 3, residuals 3, -21, 25, 1, -8,
    // SSE 1,140, se 0.616441 %: -2.56179 to 1.36179. "small and sure": Sxy -29,000, slope
    // -0.29 %, intercept -0.3, SSE 0.4, se 0.0115470 %: -0.326748 to -0.253252, excludes 0 but
    // under 0.5 %. Four deliveries, or five of one size, are too few.
    void the_chart_check_regresses_the_differences_on_the_bills_data() {
        QTest::addColumn<std::vector<double>>("bills");
        QTest::addColumn<std::vector<double>>("differences");
        QTest::addColumn<ChartVerdict>("verdict");
        QTest::addColumn<std::vector<double>>("expected");  // error, low, high; none when too few
        const std::vector<double> bills{1000, 2000, 3000, 4000, 5000};
        QTest::newRow("chart short")
            << bills << std::vector<double>{-10, -25, -28, -45, -52} << ChartVerdict::Flagged
            << std::vector<double>{-1.04, -1.39055, -0.68945};
        QTest::newRow("straddles")
            << bills << std::vector<double>{0, -30, 10, -20, -35} << ChartVerdict::Ok
            << std::vector<double>{-0.6, -2.56179, 1.36179};
        QTest::newRow("small and sure")
            << bills << std::vector<double>{-3, -6.5, -9, -11.5, -15} << ChartVerdict::Ok
            << std::vector<double>{-0.29, -0.326748, -0.253252};
        QTest::newRow("four") << std::vector<double>{1000, 2000, 3000, 4000}
                              << std::vector<double>{-10, -25, -28, -45} << ChartVerdict::TooFew
                              << std::vector<double>{};
        QTest::newRow("one size") << std::vector<double>(5, 3000.0)
                                  << std::vector<double>{-10, -25, -28, -45, -52}
                                  << ChartVerdict::TooFew << std::vector<double>{};
    }
    void the_chart_check_regresses_the_differences_on_the_bills() {
        QFETCH(std::vector<double>, bills);
        QFETCH(std::vector<double>, differences);
        QFETCH(ChartVerdict, verdict);
        QFETCH(std::vector<double>, expected);
        std::vector<ChartDelivery> deliveries;
        for (std::size_t i = 0; i < bills.size(); ++i) {
            deliveries.push_back({bills[i], differences[i]});
        }
        const ChartCheck check = chartScale(deliveries);
        QCOMPARE(check.verdict, verdict);
        QCOMPARE(check.scaleError.has_value(), !expected.empty());
        if (!expected.empty()) {
            QVERIFY(std::abs(*check.scaleError - expected[0]) < 1e-5);
            QVERIFY(std::abs(*check.low - expected[1]) < 1e-5);
            QVERIFY(std::abs(*check.high - expected[2]) < 1e-5);
        }
    }

    // The "chart short" bills as deliveries of a month, one day each at 100 gal/in: a bill B
    // with difference d is sticks 10 -> 10 + (B + d) / 100. A sixth delivery without a stick
    // after it is left out and named; net, the month's days have no temperatures to give.
    void the_chart_check_takes_the_months_deliveries_data() {
        QTest::addColumn<bool>("net");
        QTest::addColumn<ChartVerdict>("verdict");
        QTest::addColumn<int>("leftOut");
        QTest::newRow("gross") << false << ChartVerdict::Flagged << 1;
        QTest::newRow("net without temperatures") << true << ChartVerdict::TooFew << 6;
    }
    void the_chart_check_takes_the_months_deliveries() {
        QFETCH(bool, net);
        QFETCH(ChartVerdict, verdict);
        QFETCH(int, leftOut);
        const std::vector<std::pair<double, double>> bills{
            {1000, -10}, {2000, -25}, {3000, -28}, {4000, -45}, {5000, -52}, {1000, 0}};
        MonthRecords month{day(0, 50), {}};
        for (std::size_t i = 0; i < bills.size(); ++i) {
            const auto [bill, difference] = bills[i];
            const double after = i < 5 ? 10 + (bill + difference) / 100 : 10;
            month.days.push_back(day(static_cast<int>(i) + 1, 50,
                                     {{bill, false, {}, 10, after, {}, {}, 0}}));
            month.days.back().temperature.reset();
        }
        TankSettings tank;
        tank.product.value = net ? 0.0005 : 0;
        const auto report = reconcileRecords(month, tank, kGauge);
        QVERIFY(report);
        const ChartCheck check = chartCheck(month, *report, tank);
        QCOMPARE(check.verdict, verdict);
        QCOMPARE(static_cast<int>(check.leftOut.size()), leftOut);
        QCOMPARE(check.leftOut.back().date, april(6));
        QVERIFY(chartText(check).find("2026-04-06: no sticks before and after it") !=
                std::string::npos);
    }

    // A few simulated months of each arm, fixed seeds: whole months, refilled, and the leak seen.
    void the_simulators_arms_give_months_the_test_reads_data() {
        QTest::addColumn<int>("model");
        QTest::addColumn<double>("leak");
        QTest::addColumn<double>("readingError");
        for (int model : {0, 1}) {
            const QByteArray name = model ? "weekends, " : "even, ";
            QTest::newRow(name + "tight") << model << 0.0 << 1.0 / 16;
            QTest::newRow(name + "leak") << model << 0.2 << 1.0 / 16;
            QTest::newRow(name + "leak, sloppy") << model << 0.2 << 0.25;
        }
    }
    void the_simulators_arms_give_months_the_test_reads() {
        QFETCH(int, model);
        QFETCH(double, leak);
        QFETCH(double, readingError);
        const TankSettings tank = sim::simulatedTank();
        const auto gauged = gaugedTank(tank);
        QVERIFY(gauged);
        for (std::uint64_t seed = 1; seed <= 3; ++seed) {
            sim::Simulator simulator(static_cast<sim::NoiseModel>(model), seed);
            const MonthRecords month = simulator.days({"arm", leak, readingError}, 30);
            const auto test = leakTest(month, tank, gauged->gauge);
            QVERIFY(test && test->rate);
            QCOMPARE(test->usableDays, 30);
            QVERIFY(test->offsets >= 4);  // a delivery every five or six days
            QVERIFY(test->verdict != LeakVerdict::NoAnalysis);
            QVERIFY(std::abs(*test->rate - leak) < 4 * *test->standardError);
            if (readingError < 0.1) {
                QCOMPARE(test->verdict, leak > 0 ? LeakVerdict::Fail : LeakVerdict::Pass);
            }
        }
    }

    // Two periods in a row without a pass ask for a tightness test; a month before with no
    // record in the book asks nothing.
    void two_periods_without_a_pass_ask_for_a_tightness_test_data() {
        QTest::addColumn<int>("previous");  // -1: no days before
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("due");
        const int pass = static_cast<int>(LeakVerdict::Pass);
        const int fail = static_cast<int>(LeakVerdict::Fail);
        const int none = static_cast<int>(LeakVerdict::NoAnalysis);
        QTest::newRow("fail after a pass") << pass << fail << false;
        QTest::newRow("a pass after a fail") << fail << pass << false;
        QTest::newRow("fail after fail") << fail << fail << true;
        QTest::newRow("no analysis after fail") << fail << none << true;
        QTest::newRow("fail, nothing before") << -1 << fail << false;
    }
    void two_periods_without_a_pass_ask_for_a_tightness_test() {
        QFETCH(int, previous);
        QFETCH(int, current);
        QFETCH(bool, due);
        LeakReport report;
        report.test.verdict = static_cast<LeakVerdict>(current);
        if (previous >= 0) {
            report.previous = static_cast<LeakVerdict>(previous);
        }
        const QJsonObject json =
            QJsonDocument::fromJson(QByteArray::fromStdString(
                                        leakReport(report, {}, ReportFormat::Json)))
                .object();
        QCOMPARE(json["tightness_test_due"].toBool(), due);
        QCOMPARE(leakReport(report, {}, ReportFormat::Text).find("tightness test") !=
                     std::string::npos,
                 due);
    }
};

QTEST_GUILESS_MAIN(TestLeakTest)
#include "test_leaktest.moc"
