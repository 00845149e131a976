#include "tank/chartline.h"

#include "model/numbertext.h"

namespace brimwell {
namespace {

constexpr std::size_t kLevelWidth = 6;
constexpr std::size_t kVolumeWidth = 9;

}  // namespace

std::string_view ChartLine::write(std::span<const double> levels, std::span<const double> volumes) {
    line_.clear();
    appendFixed(line_, levels.front(), levelDecimals_, kLevelWidth);
    line_ += " - ";
    appendFixed(line_, levels.back(), levelDecimals_, kLevelWidth);
    line_ += "   ";
    for (std::size_t pair = 0; pair < levels.size(); ++pair) {
        appendFixed(line_, levels[pair], levelDecimals_, kLevelWidth);
        line_ += ",";
        appendFixed2(line_, volumes[pair], kVolumeWidth);
        line_ += "  ";
    }
    return line_;
}

}  // namespace brimwell
