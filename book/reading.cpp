#include "book/reading.h"

namespace brimwell::book {

Expected<Reading, std::string> readingOf(const Day& day, const Gauge& gauge, double capacity,
                                         double top, double safeFill) {
    const auto volume = gauge.volumeAt(day.closingLevel);
    if (!volume) {
        return Unexpected(volume.error());
    }
    const auto product = gauge.productAt(day.closingLevel, day.waterLevel);
    if (!product) {
        return Unexpected(product.error());
    }
    Reading reading;
    reading.level = day.closingLevel;
    reading.volume = *volume;
    reading.product = *product;
    reading.water = *volume - *product;
    if (day.temperature) {
        if (const auto vcf = gauge.vcf(*day.temperature)) {
            reading.net = *product * *vcf;
        }
    }
    reading.ullage = capacity - *volume;
    reading.safeFillRoom = capacity * (safeFill / 100) - *volume;
    if (top > 0) {
        reading.fill = day.closingLevel / top;
        if (day.waterLevel) {
            reading.waterFill = *day.waterLevel / top;
        }
    }
    return reading;
}

}  // namespace brimwell::book
