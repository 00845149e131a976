#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "model/geometry/tank.h"
#include "model/geometry/tankvolumes.h"

using namespace brimwell;
using std::numbers::pi;

namespace {

struct Sizes {
    double d, l;
    std::optional<Heads> heads = std::nullopt;  // none: a vertical tank
};

Expected<Tank, TankError> build(const Sizes& s) {
    return s.heads ? Tank::horizontal(s.d, s.l, *s.heads) : Tank::vertical(s.d, s.l);
}

// How far a head reaches along the axis at distance r from it.
std::function<double(double)> headReach(const Sizes& s) {
    const double radius = s.d / 2;
    if (std::holds_alternative<FlatHeads>(*s.heads)) {
        return [](double) { return 0.0; };
    }
    if (std::holds_alternative<HemisphericalHeads>(*s.heads)) {
        return [=](double r) { return std::sqrt(radius * radius - r * r); };
    }
    if (const auto* e = std::get_if<EllipsoidalHeads>(&*s.heads)) {
        const double depth = e->depth.value_or(s.d / 4);
        return [=](double r) { return depth * std::sqrt(1 - r * r / (radius * radius)); };
    }
    if (const auto* c = std::get_if<ConicalHeads>(&*s.heads)) {
        return [=, depth = c->depth](double r) { return depth * (1 - r / radius); };
    }
    const auto& t = std::get<TorisphericalHeads>(*s.heads);
    const double crown = t.crown * s.d, knuckle = t.knuckle * s.d, inner = radius - knuckle;
    const double back = std::sqrt(std::pow(crown - knuckle, 2) - inner * inner);
    const double joint = inner * crown / (crown - knuckle);
    return [=](double r) {
        return r <= joint ? std::sqrt(crown * crown - r * r) - back
                          : std::sqrt(knuckle * knuckle - std::pow(r - inner, 2));
    };
}

template <typename F>
double simpson(const F& f, double from, double to) {
    const double step = (to - from) / 400;
    double sum = f(from) + f(to);
    for (int i = 1; i < 400; ++i) {
        sum += (i % 2 ? 4 : 2) * f(from + i * step);
    }
    return sum * step / 3;
}

// The gallons below `level` summed over horizontal slices of the tank. Slice heights and the
// positions across a slice run through angles, which smooths the slices' round ends.
double slicedGallons(const Sizes& s, double level) {
    const double radius = s.d / 2;
    if (!s.heads) {
        return pi * radius * radius * level / 231;
    }
    const auto reach = headReach(s);
    auto slice = [&](double phi) {
        const double half = radius * std::sin(phi), height = -radius * std::cos(phi);
        auto across = [&](double theta) {
            const double y = half * std::sin(theta);
            return reach(std::min(radius, std::hypot(y, height))) * half * std::cos(theta);
        };
        return (2 * s.l * half + 2 * simpson(across, -pi / 2, pi / 2)) * radius * std::sin(phi);
    };
    const double top = std::acos(1 - level / radius), axis = std::min(top, pi / 2);
    return (simpson(slice, 0, axis) + simpson(slice, axis, top)) / 231;
}

}  // namespace

class TankTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void published_ellipsoidal_values() {
        const auto tank = Tank::horizontal(108, 156, EllipsoidalHeads{42});
        QVERIFY(tank);
        QCOMPARE(std::round(*tank->volumeAt(36) * 1e4) / 1e4, 2380.9565);
        QCOMPARE(std::round(tank->capacity() * 1e4) / 1e4, 8407.3915);
    }

    void every_shape_data() {
        QTest::addColumn<Sizes>("sizes");
        QTest::newRow("flat") << Sizes{96, 324, FlatHeads{}};
        QTest::newRow("flat, odd sizes") << Sizes{37.3, 151.9, FlatHeads{}};
        QTest::newRow("flat, a millionth of an inch") << Sizes{1e-6, 3e-6, FlatHeads{}};
        QTest::newRow("hemispherical") << Sizes{96, 324, HemisphericalHeads{}};
        QTest::newRow("hemispherical, huge") << Sizes{1e9, 1e-6, HemisphericalHeads{}};
        QTest::newRow("vertical") << Sizes{96, 324};
        QTest::newRow("ellipsoidal 2:1") << Sizes{96, 324, EllipsoidalHeads{}};
        QTest::newRow("ellipsoidal deep") << Sizes{60, 100, EllipsoidalHeads{45}};
        QTest::newRow("ellipsoidal 2:1, three millionths of an inch") << Sizes{3e-6, 1, EllipsoidalHeads{}};
        QTest::newRow("torispherical F&D") << Sizes{96, 324, TorisphericalHeads{1, 0.06}};
        QTest::newRow("torispherical round") << Sizes{96, 50, TorisphericalHeads{0.5, 0.1}};
        QTest::newRow("torispherical knuckled") << Sizes{48, 10, TorisphericalHeads{1.5, 0.45}};
        QTest::newRow("torispherical flat") << Sizes{120, 1, TorisphericalHeads{20, 0.02}};
        QTest::newRow("conical") << Sizes{96, 324, ConicalHeads{30}};
        QTest::newRow("conical, next to no shell") << Sizes{40, 0.001, ConicalHeads{120}};
    }
    void every_shape() {
        QFETCH(Sizes, sizes);
        const auto tank = build(sizes);
        QVERIFY(tank);
        const double capacity = tank->capacity(), d = tank->top();
        QCOMPARE(*tank->volumeAt(d), capacity);
        QCOMPARE(*tank->levelFor(capacity), d);
        QVERIFY(std::fabs(*tank->volumeAt(d / 2) - capacity / 2) <= 1e-12 * capacity);
        double last = -1;
        for (int i = 0; i <= 400; ++i) {
            const double v = *tank->volumeAt(d * i / 400);
            QVERIFY(v > last && (i > 0 || v == 0));
            last = v;
        }
        // The slices' Simpson sums agree to about 1e-8, and to 1e-10 without a cone's apex.
        for (const double h : {1e-6 * d, 1e-5 * d, 0.04 * d, 0.37 * d, 0.81 * d, 0.9999 * d,
                               (1 - 1e-6) * d}) {
            const double sliced = slicedGallons(sizes, h);
            QVERIFY(std::fabs(*tank->volumeAt(h) - sliced) <= 1e-7 * sliced);
            QVERIFY(std::fabs(*tank->levelFor(*tank->volumeAt(h)) - h) <= 1e-9 * d);
        }
        // A chart's volumes lie within their bounds of the readings.
        std::vector<double> levels(20001), gallons(levels.size()), bounds(levels.size());
        for (std::size_t i = 0; i < levels.size(); ++i) {
            levels[i] = std::min(d * static_cast<double>(i) / 20000, d);
        }
        tank->volumesAt(levels, gallons, bounds);
        for (std::size_t i = 0; i < levels.size(); ++i) {
            QVERIFY(std::fabs(gallons[i] - *tank->volumeAt(levels[i])) <= bounds[i]);
        }
    }

    // Torispherical volumes of an independent 50-digit integration: a half crown at a level
    // 3e-12 of its diameter (a hemisphere), a tank of a million metres, a knuckle at 1e-9 of the
    // diameter and the last nanometre of a deep knuckle.
    void torispherical_volumes_hold_every_digit_data() {
        QTest::addColumn<Sizes>("sizes");
        QTest::addColumn<double>("level");
        QTest::addColumn<double>("gallons");
        QTest::newRow("half crown, near empty") << Sizes{96, 0.001, TorisphericalHeads{0.5, 0.06}} << 3.01715e-10 << 3.558115400145219827e-19;
        QTest::newRow("a million metres across") << Sizes{102699870 / 2.54, 1100000 / 2.54, TorisphericalHeads{86.4, 0.29536}} << 6099.36 / 2.54 << 3088814392954.1119846;
        QTest::newRow("F&D, near empty") << Sizes{96, 324, TorisphericalHeads{1, 0.06}} << 9.6e-08 << 5.4502433480480499692e-10;
        QTest::newRow("flat crown, near empty") << Sizes{120, 1, TorisphericalHeads{20, 0.02}} << 1.2e-06 << 8.3351890302315650934e-11;
        QTest::newRow("knuckled, near full") << Sizes{48, 10, TorisphericalHeads{1.5, 0.45}} << 47.999999952 << 312.31008199040786971;
    }
    void torispherical_volumes_hold_every_digit() {
        QFETCH(Sizes, sizes);
        QFETCH(double, level);
        QFETCH(double, gallons);
        const double volume = *build(sizes)->volumeAt(level);
        QVERIFY2(std::fabs(volume - gallons) <= 1e-14 * gallons, qPrintable(QString::number(volume, 'g', 17)));
    }

    void bad_sizes_data() {
        QTest::addColumn<Sizes>("sizes");
        QTest::addColumn<TankError>("error");
        using E = TankError;
        QTest::newRow("no diameter") << Sizes{0, 9, FlatHeads{}} << E::Diameter;
        QTest::newRow("nan diameter") << Sizes{qQNaN(), 9, ConicalHeads{1}} << E::Diameter;
        QTest::newRow("no length") << Sizes{9, -1, EllipsoidalHeads{}} << E::Length;
        QTest::newRow("endless height") << Sizes{9, qInf()} << E::Length;
        QTest::newRow("flat ellipsoid") << Sizes{9, 9, EllipsoidalHeads{0}} << E::HeadDepth;
        QTest::newRow("cone, no depth") << Sizes{9, 9, ConicalHeads{}} << E::HeadDepth;
        QTest::newRow("small crown") << Sizes{9, 9, TorisphericalHeads{0.49, 0.1}} << E::Crown;
        QTest::newRow("no knuckle") << Sizes{9, 9, TorisphericalHeads{1, 0}} << E::Knuckle;
        QTest::newRow("whole knuckle") << Sizes{9, 9, TorisphericalHeads{1, 0.5}} << E::Knuckle;
        QTest::newRow("beyond float") << Sizes{1e39, 9, HemisphericalHeads{}} << E::Diameter;
        QTest::newRow("vanishing") << Sizes{1e-30, 1e-9} << E::Diameter;
        QTest::newRow("a 1e-21 inch tank") << Sizes{1e-21, 1e-21, FlatHeads{}} << E::Diameter;
        QTest::newRow("beyond double") << Sizes{1e200, 1e200, ConicalHeads{1}} << E::Diameter;
        QTest::newRow("cone deeper than any size") << Sizes{9, 9, ConicalHeads{2e9}} << E::HeadDepth;
        QTest::newRow("crown too flat to turn") << Sizes{96, 324, TorisphericalHeads{1e21, 0.06}} << E::Crown;
        QTest::newRow("knuckle too thin") << Sizes{96, 324, TorisphericalHeads{1, 1e-4}} << E::Knuckle;
    }
    void bad_sizes() {
        QFETCH(Sizes, sizes);
        QFETCH(TankError, error);
        const auto tank = build(sizes);
        QVERIFY(!tank);
        QCOMPARE(tank.error(), error);
    }

    void levels_for_percentages() {
        const auto tank = Tank::horizontal(96, 324, TorisphericalHeads{});
        QCOMPARE(tank->volumeAt(-1e-9).error(), TankError::Level);
        QCOMPARE(tank->volumeAt(qQNaN()).error(), TankError::Level);
        QCOMPARE(tank->levelFor(tank->capacity() * 1.000001).error(), TankError::Volume);
        const auto volumes = TankVolumes::make(*tank, 96, LengthUnit::Inches, VolumeUnit::Gallons);
        QCOMPARE(volumes->levelForPercent(-0.5).error(), TankError::Percent);
        QVERIFY(std::fabs(*volumes->levelForPercent(50) - 48) <= 1e-6 * 96);
    }
};

QTEST_APPLESS_MAIN(TankTest)
#include "test_tank.moc"
