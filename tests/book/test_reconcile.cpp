// The book's arithmetic on a worked February (failing) and March (passing), worked by hand from
// the rules: a tank of 100 gallons an inch, a linear correction of 0.0005 per °F from 60 °F, so
// volume = 100 × (stick - water cut) and VCF = 1 + (60 - T) × 0.0005.
// Rules: 1.0 % of flow-through + 130 gal; 3 consecutive short days totalling 100 gal; water
// above 2 in.

#include <QTest>
#include <array>
#include <functional>

#include "book/changes.h"
#include "book/correction.h"
#include "book/meterfactor.h"
#include "book/month.h"
#include "book/reading.h"
#include "book/reconcile.h"

using namespace brimwell;
using namespace brimwell::book;

namespace {

const Gauge kGauge{[](double level) -> Expected<double, std::string> { return 100 * level; },
                   [](double t) -> Expected<double, std::string> { return 1 + (60 - t) * 0.0005; }};
const std::vector<Rule> kRules{PercentRule{1.0, 130}, ShortRunRule{3, 100}, WaterRule{2.0}};

Day day(const char* date, double pumped, double stick, std::optional<double> water = {},
        std::vector<Delivery> deliveries = {}) {
    Day d;
    d.date = date;
    d.pumped = pumped;
    d.closingLevel = stick;
    d.waterLevel = water;
    d.deliveries = std::move(deliveries);
    return d;
}

// Opening stick 50 in: 5000 gal.
const std::vector<Day> kFebruary{
    day("2026-02-02", 800, 42),
    // Bill 3000 gross at 65 °F; sticks 40 -> 70 in at 60 -> 63 °F.
    day("2026-02-03", 1000, 62, {}, {{3000, false, 65, 40, 70, 60, 63, 0}}),
    // Short: bill 2000 net at 50 °F; sticks 55 -> 74 in at 60 °F, 50 gal pumped meanwhile.
    day("2026-02-04", 700, 68, {}, {{2000, true, 50, 55, 74, 60, 60, 50}}),
    day("2026-02-05", 600, 61.5, 2.5),
    day("2026-02-06", 500, 54, 2.5),
};
// Opens on February's close: stick 54 in over 2.5 in of water, 5150 gal.
const std::vector<Day> kMarch{
    day("2026-03-02", 900, 42.6, 0),
    // Bill 4000 gross, no temperature; sticks 38 -> 77.9 in at 58 -> 62 °F.
    day("2026-03-03", 1200, 70.5, {}, {{4000, false, {}, 38, 77.9, 58, 62, 0}}),
    day("2026-03-04", 1100, 59.45),
    day("2026-03-05", 1000, 49.48),
};

// Opening stick 50 in: 5000 gal. Two days 100 gal short, then 48.5 in over 2.5 in of water,
// 4600 gal, as the book says: a variance of 200 gal on a flow-through of 200, every figure whole.
const std::vector<Day> kWhole{day("2026-04-01", 100, 48), day("2026-04-02", 100, 46),
                              day("2026-04-03", 0, 48.5, 2.5)};
// Each rule's limit set on the figure above: within it (percent, water), or reaching it (a run).
const std::vector<Rule> kAtLimits{PercentRule{0, 200}, ShortRunRule{2, 200}, WaterRule{2.5}};

MonthReport reconciled(bool february) {
    auto month = february ? reconcileMonth(kFebruary, 50, {}, kGauge, kRules)
                          : reconcileMonth(kMarch, 54, 2.5, kGauge, kRules);
    return month ? *month : MonthReport{};
}

}  // namespace

class TestReconcile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void each_day_balances_opening_bills_pumped_and_closing_data() {
        QTest::addColumn<bool>("february");
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("opening");
        QTest::addColumn<double>("delivered");
        QTest::addColumn<double>("book");
        QTest::addColumn<double>("closing");
        QTest::addColumn<double>("overShort");
        QTest::addColumn<bool>("waterMarked");
        // opening + delivered - pumped = book; closing - book = over/short
        QTest::newRow("02-02") << true << 0 << 5000.0 << 0.0 << 4200.0 << 4200.0 << 0.0 << false;
        QTest::newRow("02-03 delivery")
            << true << 1 << 4200.0 << 3000.0 << 6200.0 << 6200.0 << 0.0 << false;
        // The net bill in gross at its 50 °F: 2000 / 1.005 = 1990.0497512.
        QTest::newRow("02-04 short delivery") << true << 2 << 6200.0 << 1990.0497512 << 7490.0497512
                                              << 6800.0 << -690.0497512 << false;
        // 6150 - 250 of water = 5900.
        QTest::newRow("02-05 water")
            << true << 3 << 6800.0 << 0.0 << 6200.0 << 5900.0 << -300.0 << true;
        QTest::newRow("02-06 water")
            << true << 4 << 5900.0 << 0.0 << 5400.0 << 5150.0 << -250.0 << true;
        QTest::newRow("03-02 water drawn")
            << false << 0 << 5150.0 << 0.0 << 4250.0 << 4260.0 << 10.0 << false;
        QTest::newRow("03-03 delivery")
            << false << 1 << 4260.0 << 4000.0 << 7060.0 << 7050.0 << -10.0 << false;
        QTest::newRow("03-05") << false << 3 << 5945.0 << 0.0 << 4945.0 << 4948.0 << 3.0 << false;
    }
    void each_day_balances_opening_bills_pumped_and_closing() {
        QFETCH(bool, february);
        QFETCH(int, index);
        const MonthReport month = reconciled(february);
        QVERIFY(index < static_cast<int>(month.days.size()));
        const DayFigures& day = month.days[index];
        QFETCH(double, opening);
        QFETCH(double, delivered);
        QFETCH(double, book);
        QFETCH(double, closing);
        QFETCH(double, overShort);
        QFETCH(bool, waterMarked);
        const double figures[] = {day.opening, day.delivered, day.book, day.closing, day.overShort};
        const double expected[] = {opening, delivered, book, closing, overShort};
        for (int i = 0; i < 5; ++i) {
            QVERIFY2(std::abs(figures[i] - expected[i]) < 1e-6, qPrintable(QString::number(i)));
        }
        QCOMPARE(day.waterMarked, waterMarked);
    }

    void a_delivery_is_measured_against_its_bill_data() {
        QTest::addColumn<bool>("february");
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("measured");
        QTest::addColumn<double>("temperature");
        QTest::addColumn<double>("grossDifference");
        QTest::addColumn<double>("netDifference");
        // (7000 × 63 - 4000 × 60) / 3000 = 67 °F; net 3000 × 0.9965 - 3000 × 0.9975 = -3.
        QTest::newRow("full") << true << 1 << 3000.0 << 67.0 << 0.0 << -3.0;
        // 7400 - 5500 + 50 = 1950 at 60 °F; 1950 - 1990.0497512; net 1950 - 2000.
        QTest::newRow("short") << true << 2 << 1950.0 << 60.0 << -40.0497512 << -50.0;
        // (7790 × 62 - 3800 × 58) / 3990 = 65.8095238 °F, VCF 0.9970952; the bill taken at it.
        QTest::newRow("no bill temperature")
            << false << 1 << 3990.0 << 65.8095238 << -10.0 << -9.9709524;
    }
    void a_delivery_is_measured_against_its_bill() {
        QFETCH(bool, february);
        QFETCH(int, index);
        const MonthReport month = reconciled(february);
        QVERIFY(index < static_cast<int>(month.days.size()));
        QCOMPARE(month.days[index].deliveries.size(), 1u);
        const DeliveryCheck& check = month.days[index].deliveries.front();
        QFETCH(double, measured);
        QFETCH(double, temperature);
        QFETCH(double, grossDifference);
        QFETCH(double, netDifference);
        QVERIFY(check.temperature && check.netDifference);
        QVERIFY(std::abs(check.measured - measured) < 1e-6);
        QVERIFY(std::abs(*check.temperature - temperature) < 1e-6);
        QVERIFY(std::abs(check.grossDifference - grossDifference) < 1e-6);
        QVERIFY(std::abs(*check.netDifference - netDifference) < 1e-6);
    }

    void each_rule_gives_its_figures_and_verdict_data() {
        QTest::addColumn<QString>("which");
        QTest::addColumn<int>("rule");
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("second");
        QTest::addColumn<bool>("met");
        // February: flow 3600, cumulative -1240.0497512 against 36 + 130.
        QTest::newRow("february percent") << "february" << 0 << 1240.0497512 << 166.0 << false;
        // 02-04 to 02-06: 690.0497512 + 300 + 250.
        QTest::newRow("february short run") << "february" << 1 << 3.0 << 1240.0497512 << false;
        QTest::newRow("february water") << "february" << 2 << 2.5 << 2.0 << false;
        // March: flow 4200, cumulative 10 - 10 - 5 + 3 = -2 against 42 + 130.
        QTest::newRow("march percent") << "march" << 0 << 2.0 << 172.0 << true;
        QTest::newRow("march short run") << "march" << 1 << 2.0 << 0.0 << true;
        QTest::newRow("march water") << "march" << 2 << 0.0 << 0.0 << true;
        QTest::newRow("a variance equal to its limit") << "whole" << 0 << 200.0 << 200.0 << true;
        QTest::newRow("a run totalling its limit") << "whole" << 1 << 2.0 << 200.0 << false;
        QTest::newRow("water at its limit") << "whole" << 2 << 2.5 << 0.0 << true;
    }
    void each_rule_gives_its_figures_and_verdict() {
        QFETCH(QString, which);
        QFETCH(int, rule);
        const MonthReport month = which == "whole" ? *reconcileMonth(kWhole, 50, {}, kGauge, kAtLimits)
                                                  : reconciled(which == "february");
        QCOMPARE(month.verdicts.size(), 3u);
        const RuleVerdict& verdict = month.verdicts[rule];
        QFETCH(double, first);
        QFETCH(double, second);
        QFETCH(bool, met);
        QVERIFY(std::abs(verdict.figures.at(0).value - first) < 1e-6);
        QVERIFY(std::abs(verdict.figures.at(1).value - second) < 1e-6);
        QCOMPARE(verdict.met, met);
        QCOMPARE(month.met(), which == "march");
        QCOMPARE(month.waterReadings, which == "february" ? 2 : 1);
    }

    // Each correction reads its own table, at factors the tables publish (tests/model's table
    // test); the linear one is 1 + (60 - 70) × 0.0005.
    void a_product_is_corrected_by_its_own_table_data() {
        QTest::addColumn<Product>("product");
        QTest::addColumn<double>("temperature");
        QTest::addColumn<double>("vcf");
        QTest::newRow("linear") << Product{"", Correction::Linear, 0.0005} << 70.0 << 0.995;
        QTest::newRow("6B") << Product{"", Correction::Table6B, 56.5} << 67.5 << 0.9950;
        QTest::newRow("54B") << Product{"", Correction::Table54B, 721.4, 60, true} << 22.0 << 0.9911;
        QTest::newRow("6C") << Product{"", Correction::Table6C, 910e-6} << 30.0 << 1.0271;
        QTest::newRow("54C") << Product{"", Correction::Table54C, 1644e-6, 60, true} << -18.0 << 1.0533;
    }
    void a_product_is_corrected_by_its_own_table() {
        QFETCH(Product, product);
        QFETCH(double, temperature);
        QFETCH(double, vcf);
        const auto found = productVcf(product, temperature);
        QVERIFY2(found, found ? "" : found.error().c_str());
        QCOMPARE(*found, vcf);
    }

    // None of these is a month met: each is an error, never a report.
    void a_month_that_cannot_be_worked_out_is_an_error_data() {
        QTest::addColumn<std::vector<Day>>("days");
        QTest::addColumn<QString>("error");
        QTest::newRow("a net bill without any temperature")
            << std::vector<Day>{day("2026-02-03", 0, 70, {}, {{3000, true, {}, 40, 70, {}, {}, 0}})}
            << "net bill";
        QTest::newRow("no day recorded") << std::vector<Day>{} << "no day is recorded";
        // Each day's figures are finite; their sum is not.
        QTest::newRow("a flow-through beyond a number")
            << std::vector<Day>{day("2026-02-02", 1e308, 40), day("2026-02-03", 1e308, 40)}
            << "2026-02-03: the flow-through is too large to work out";
        Day meters = day("2026-02-02", 0, 40);
        meters.pumped.reset();
        meters.meterOpen = -1e308;
        meters.meterClose = 1e308;
        QTest::newRow("meters a day cannot pump")
            << std::vector<Day>{meters} << "2026-02-02: the pumped volume is too large to work out";
    }
    void a_month_that_cannot_be_worked_out_is_an_error() {
        QFETCH(std::vector<Day>, days);
        QFETCH(QString, error);
        const auto month = reconcileMonth(days, 40, {}, kGauge, kRules);
        QVERIFY(!month);
        QVERIFY2(month.error().find(error.toStdString()) != std::string::npos, month.error().c_str());
    }

    // The site's reading of a tank of 10,000 gallons, 100 inches high, safe fill 90 %: the
    // ullage and the room are left above everything below the stick, water included; the net
    // volume corrects the product alone.
    // 1,155 gal pumped a day (a litre book: 1,000 L). +6 in³ per 5 gal from 03-03 makes it
    // 1,155 × (1 + 6 / 1,155) = 1,161; -11.55 from 03-05 makes it 1,155 × 0.99 = 1,143.45;
    // the month's corrected flow-through 1,155 + 2 × 1,161 + 2 × 1,143.45 = 5,763.90 of 5,775
    // recorded. In millilitres per 20 L, +20 is 1,000 × (1 + 20 / 20,000) = 1,001.
    void each_day_takes_the_meter_factor_in_effect_on_it_data() {
        QTest::addColumn<std::vector<MeterFactor>>("factors");
        QTest::addColumn<double>("recorded");
        QTest::addColumn<std::vector<double>>("pumped");  // 03-02 to 03-06
        const MeterFactor over{"2026-03-03", 6};
        const MeterFactor under{"2026-03-05", -11.55};
        QTest::newRow("none") << std::vector<MeterFactor>{} << 1155.0
                              << std::vector<double>(5, 1155.0);
        QTest::newRow("from the third, then the fifth")
            << std::vector<MeterFactor>{over, under} << 1155.0
            << std::vector<double>{1155, 1161, 1161, 1143.45, 1143.45};
        QTest::newRow("mL per 20 L")
            << std::vector<MeterFactor>{{"2026-03-04", 20, MeterUnit::MillilitresPer20Litres}}
            << 1000.0 << std::vector<double>{1000, 1000, 1001, 1001, 1001};
    }
    void each_day_takes_the_meter_factor_in_effect_on_it() {
        QFETCH(std::vector<MeterFactor>, factors);
        QFETCH(double, recorded);
        QFETCH(std::vector<double>, pumped);
        std::vector<Day> days;
        double total = 0;
        for (int i = 0; i < 5; ++i) {
            days.push_back(day(("2026-03-0" + std::to_string(i + 2)).c_str(), recorded, 40));
            total += pumped[static_cast<std::size_t>(i)];
        }
        const auto month = reconcileMonth(days, 50, {}, kGauge, {PercentRule{}}, factors);
        QVERIFY(month);
        for (std::size_t i = 0; i < 5; ++i) {
            QVERIFY(std::abs(month->days[i].pumped - pumped[i]) < 1e-9);
            QCOMPARE(month->days[i].recordedPumped, recorded);
            QCOMPARE(month->days[i].book, month->days[i].opening - pumped[i]);
        }
        QVERIFY(std::abs(month->flowThrough - total) < 1e-9);
        QCOMPARE(month->recordedFlowThrough, 5 * recorded);
        QCOMPARE(month->meterFactors, !factors.empty());
        const double limit = std::get<PercentRule>(month->verdicts[0].rule).percent / 100 * total;
        QVERIFY(std::abs(month->verdicts[0].figures[1].value - limit - 130) < 1e-9);
    }

    void a_meter_factor_is_refused_data() {
        QTest::addColumn<MeterFactor>("factor");
        QTest::addColumn<QString>("message");  // empty when taken
        QTest::newRow("100 in3") << MeterFactor{"2026-03-04", -100} << QString();
        QTest::newRow("past 100 in3") << MeterFactor{"2026-03-04", 100.01} << "at most 100 in3";
        QTest::newRow("1731.6 mL, 100 in3's share")
            << MeterFactor{"2026-03-04", 1731.6, MeterUnit::MillilitresPer20Litres} << QString();
        QTest::newRow("past it") << MeterFactor{"2026-03-04", -1731.7, MeterUnit::MillilitresPer20Litres}
                                 << "at most 1731.6 mL/20L";
        QTest::newRow("not a number") << MeterFactor{"2026-03-04", std::nan("")} << "at most";
        QTest::newRow("a date that has one") << MeterFactor{"2026-03-03", 1} << "on 2026-03-03 already";
        QTest::newRow("no date") << MeterFactor{"2026-3-4", 1} << "is not a date";
    }
    void a_meter_factor_is_refused() {
        QFETCH(MeterFactor, factor);
        QFETCH(QString, message);
        const auto refused = meterFactorRefusal(factor, {{"2026-03-03", 6}});
        QCOMPARE(refused.has_value(), !message.isEmpty());
        QVERIFY(!refused || QString::fromStdString(*refused).contains(message));
    }

    void a_reading_splits_the_stick_into_water_product_and_room_data() {
        QTest::addColumn<double>("stick");
        QTest::addColumn<std::optional<double>>("water");
        QTest::addColumn<std::optional<double>>("temperature");
        QTest::addColumn<std::vector<double>>("expected");  // product, water, ullage, room
        QTest::addColumn<std::optional<double>>("net");
        QTest::newRow("dry, no temperature")
            << 40.0 << std::optional<double>() << std::optional<double>()
            << std::vector<double>{4000, 0, 6000, 5000} << std::optional<double>();
        QTest::newRow("water, 70 F")
            << 40.0 << std::optional<double>(5) << std::optional<double>(70)
            << std::vector<double>{3500, 500, 6000, 5000} << std::optional<double>(3482.5);
        QTest::newRow("above the safe fill")
            << 95.0 << std::optional<double>() << std::optional<double>(60)
            << std::vector<double>{9500, 0, 500, -500} << std::optional<double>(9500);
        QTest::newRow("water up to the stick")
            << 40.0 << std::optional<double>(40) << std::optional<double>(70)
            << std::vector<double>{0, 4000, 6000, 5000} << std::optional<double>(0);
    }
    void a_reading_splits_the_stick_into_water_product_and_room() {
        QFETCH(double, stick);
        QFETCH(std::optional<double>, water);
        QFETCH(std::optional<double>, temperature);
        QFETCH(std::vector<double>, expected);
        QFETCH(std::optional<double>, net);
        Day recorded = day("2026-03-01", 0, stick, water);
        recorded.temperature = temperature;
        const auto reading = readingOf(recorded, kGauge, 10000, 100, 90);
        QVERIFY(reading);
        QCOMPARE((std::vector<double>{reading->product, reading->water, reading->ullage,
                                      reading->safeFillRoom}),
                 expected);
        QCOMPARE(reading->net.has_value(), net.has_value());
        if (net) {
            QCOMPARE(*reading->net, *net);
        }
        QCOMPARE(reading->fill, stick / 100);
    }

    // Only a change to what the days are worked out from asks to work them out again.
    void a_tank_change_reworks_the_days_only_when_their_figures_change_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<bool>("reworks");
        QTest::newRow("none") << 0 << false;
        QTest::newRow("the shell's length") << 1 << true;
        QTest::newRow("the knuckle") << 2 << true;
        QTest::newRow("the opening stick") << 3 << true;
        QTest::newRow("the correction's value") << 4 << true;
        QTest::newRow("the product's name") << 5 << false;
        QTest::newRow("a rule") << 6 << false;
        QTest::newRow("the reference temperature") << 7 << true;
    }
    void a_tank_change_reworks_the_days_only_when_their_figures_change() {
        QFETCH(int, change);
        QFETCH(bool, reworks);
        TankSettings before;
        before.shape.heads = TorisphericalHeads{};
        before.shape.diameter = 96;
        before.shape.length = 240;
        before.openingLevel = 40;
        TankSettings after = before;
        const std::array<std::function<void()>, 8> changes{
            [] {},
            [&] { after.shape.length = 200; },
            [&] { std::get<TorisphericalHeads>(after.shape.heads).knuckle = 0.1; },
            [&] { after.openingLevel = 41; },
            [&] { after.product.value = 0.0005; },
            [&] { after.product.name = "Diesel"; },
            [&] { after.rules.push_back(WaterRule{2}); },
            [&] { after.product.reference = 15; },
        };
        changes.at(static_cast<std::size_t>(change))();
        QCOMPARE(reworksDays(before, after), reworks);
    }

    // A change's delivery takes the place of the one it corrects, the other staying as recorded.
    void a_changed_day_keeps_its_deliveries_in_their_places_data() {
        QTest::addColumn<std::size_t>("replacing");
        QTest::addColumn<std::vector<double>>("bills");
        QTest::newRow("adds") << std::size_t{0} << std::vector<double>{1000, 2000, 3000};
        QTest::newRow("corrects the first") << std::size_t{1} << std::vector<double>{3000, 2000};
        QTest::newRow("corrects the second") << std::size_t{2} << std::vector<double>{1000, 3000};
    }
    void a_changed_day_keeps_its_deliveries_in_their_places() {
        QFETCH(std::size_t, replacing);
        QFETCH(std::vector<double>, bills);
        const std::vector<Day> days{
            day("2026-03-01", 100, 40),
            day("2026-03-02", 100, 50, {}, {{1000, false, {}, 30, 40, {}, {}, 0},
                                            {2000, false, {}, 40, 60, {}, {}, 0}}),
            day("2026-03-03", 100, 45)};
        DayChange change{day("2026-03-02", 150, 52), Delivery{3000, false, {}, 45, 75, {}, {}, 0},
                         replacing};
        const std::vector<Day> changed = withChange(days, change);
        QCOMPARE(changed.size(), days.size());
        QCOMPARE(changed[1].pumped, 150.0);
        std::vector<double> found;
        for (const Delivery& delivery : changed[1].deliveries) {
            found.push_back(delivery.billVolume);
        }
        QCOMPARE(found, bills);
        QCOMPARE(sameAsRecorded(change, days[1]), false);
        change.day = days[1];
        change.delivery = days[1].deliveries[1];
        change.replacing = 2;
        QVERIFY(sameAsRecorded(change, days[1]));
    }

    // A month opens on the last day before it, else on the tank's opening stick, without water.
    void a_month_opens_on_the_day_before_it_or_the_tanks_opening_stick() {
        TankSettings tank;
        tank.openingLevel = 50;
        MonthRecords records{std::nullopt, kFebruary};
        QCOMPARE(openingOf(records, tank).level, 50.0);
        QCOMPARE(openingOf(records, tank).water, std::optional<double>());
        records.before = day("2026-01-31", 10, 45.5, 1.5);
        QCOMPARE(openingOf(records, tank).level, 45.5);
        QCOMPARE(openingOf(records, tank).water, std::optional<double>(1.5));
        QCOMPARE(monthOf("2026-03-14"), std::string("2026-03"));
        QCOMPARE(monthDates("2026-03").last, std::string("2026-03-31"));
        // The calendar's months, leap years by the Gregorian rule.
        for (const auto& [month, days] : {std::pair{"2026-02", 28}, {"2024-02", 29}, {"1900-02", 28},
                                          {"2000-02", 29}, {"2026-04", 30}, {"2026-12", 31}}) {
            QCOMPARE(daysInMonth(month), days);
        }
        QCOMPARE(previousMonth("2026-01"), std::string("2025-12"));
        QCOMPARE(dateOf(dayNumber("2024-02-29") + 1), std::string("2024-03-01"));
    }
};

QTEST_APPLESS_MAIN(TestReconcile)
#include "test_reconcile.moc"
