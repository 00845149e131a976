#include "book/booktank.h"

#include <cmath>
#include <memory>

#include "book/correction.h"
#include "model/geometry/calibrationchart.h"
#include "model/geometry/tankdescription.h"
#include "model/text/numbertext.h"

namespace brimwell::book {
namespace {

constexpr double kAllowanceGallons = 130;

// Why a stored shape gives no volumes; the book only keeps shapes that do, so this names a
// book changed behind its back.
std::string shapeFailure(TankError error) {
    const std::string sizes = "must be from " + shortestText(kSmallestSize) + " to " +
                              shortestText(kLargestSize) +
                              " inches, or the same length in other units";
    switch (error) {
        case TankError::Diameter:
            return "the diameter " + sizes;
        case TankError::Length:
            return "the length " + sizes;
        case TankError::HeadDepth:
            return "the head depth " + sizes;
        case TankError::Crown:
            return "the crown must be from 0.5 to " + shortestText(kLargestCrown);
        case TankError::Knuckle:
            return "the knuckle must be from " + shortestText(kSmallestKnuckle) + " to below 0.5";
        default:
            return "its volumes cannot be computed: its sizes are out of range";
    }
}

// The volumes of a stored tank: its calibration chart, or its shape's.
Expected<TankVolumes, std::string> volumesOf(const TankDescription& shape) {
    if (!shape.calibration) {
        auto volumes = shapeVolumes(shape);
        if (!volumes) {
            return Unexpected("the tank's shape: " + shapeFailure(volumes.error()));
        }
        return *std::move(volumes);
    }
    auto chart = CalibrationChart::parse(*shape.calibration);
    if (!chart) {
        return Unexpected("the tank's calibration chart, line " +
                          std::to_string(chart.error().line) + ": " + chart.error().message);
    }
    return TankVolumes(*std::move(chart));
}

Gauge gaugeOf(std::shared_ptr<const TankVolumes> volumes, const Product& product) {
    return Gauge{
        [volumes, top = volumes->top()](double level) -> Expected<double, std::string> {
            const auto volume = volumes->volumeAt(level);
            if (!volume) {
                std::string text = "a stick of ";
                appendPlain(text, level);
                text += " is outside the tank (0 to ";
                appendPlain(text, top);
                return Unexpected(text + ")");
            }
            return *volume;
        },
        [product](double temperature) { return productVcf(product, temperature); }};
}

}  // namespace

Expected<BookTank, std::string> gaugedTank(const TankSettings& tank) {
    auto built = volumesOf(tank.shape);
    if (!built) {
        return Unexpected(built.error());
    }
    auto volumes = std::make_shared<const TankVolumes>(*std::move(built));
    const TankDescription& shape = tank.shape;
    return BookTank{gaugeOf(volumes, tank.product),
                    shape.lengthUnit,
                    shape.volumeUnit,
                    volumes->capacity(),
                    volumes->top(),
                    shape.vertical && !volumes->calibrated()};
}

Expected<BookTank, std::string> bookTank(const TankSettings& tank) {
    auto read = gaugedTank(tank);
    if (!read) {
        return read;
    }
    if (auto refused = tankRefusal(tank, read->top)) {
        return Unexpected(*refused);
    }
    return read;
}

TankLimits limitsOf(const TankSettings& settings, const BookTank& tank) {
    return {tank.top, settings.product.celsius, tank.gauge, tank.lengthUnit};
}

// 130 US gallons in the tank's unit, to the tenth of a litre: 492.1 L.
double defaultAllowance(VolumeUnit unit) {
    if (unit == VolumeUnit::Gallons) {
        return kAllowanceGallons;
    }
    const double litres =
        std::round(kAllowanceGallons * gallonFactor(VolumeUnit::Litres) * 10) / 10;
    return litres * VolumeFactor(VolumeUnit::Litres, unit);
}

}  // namespace brimwell::book
