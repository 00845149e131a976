#include "model/geometry/tankvolumes.h"

#include <algorithm>

namespace brimwell {
namespace {

template <typename... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Spelled out for compilers without C++20's deduction for aggregates (clang before 17).
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

Expected<double, TankError> orError(Expected<double, ChartLookupError> value, TankError error) {
    if (!value) {
        return Unexpected(error);
    }
    return *value;
}

}  // namespace

double TankVolumes::top() const {
    return std::visit([](const auto& tank) { return tank.top(); }, source_);
}

double TankVolumes::capacity() const {
    return std::visit([](const auto& tank) { return tank.capacity(); }, source_);
}

double TankVolumes::bottomVolume() const {
    const auto* chart = std::get_if<CalibrationChart>(&source_);
    return chart ? chart->bottomVolume() : 0;
}

Expected<double, TankError> TankVolumes::volumeAt(double level) const {
    return std::visit(Overloaded{[&](const TankInUnits& tank) { return tank.volumeAt(level); },
                                 [&](const CalibrationChart& chart) {
                                     return orError(chart.volumeAt(level), TankError::Level);
                                 }},
                      source_);
}

void TankVolumes::volumesAt(std::span<const double> levels, std::span<double> volumes,
                            std::span<double> bounds) const {
    std::visit(Overloaded{[&](const TankInUnits& tank) { tank.volumesAt(levels, volumes, bounds); },
                          [&](const CalibrationChart& chart) {
                              chart.volumesAt(levels, volumes);
                              std::fill(bounds.begin(), bounds.end(), 0.0);
                          }},
               source_);
}

Expected<double, TankError> TankVolumes::levelFor(double volume) const {
    return std::visit(Overloaded{[&](const TankInUnits& tank) { return tank.levelFor(volume); },
                                 [&](const CalibrationChart& chart) {
                                     return orError(chart.levelFor(volume), TankError::Volume);
                                 }},
                      source_);
}

Expected<double, TankError> TankVolumes::levelForPercent(double percent) const {
    const auto* chart = std::get_if<CalibrationChart>(&source_);
    if (!chart) {
        return std::get<TankInUnits>(source_).levelForPercent(percent);
    }
    if (!(percent >= 0 && percent <= 100)) {
        return Unexpected(TankError::Percent);
    }
    return orError(chart->levelFor(chart->capacity() * (percent / 100)), TankError::Percent);
}

}  // namespace brimwell
