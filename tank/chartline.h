#pragma once

// A data line of a tank chart: the range of levels it covers (its first and last level), then
// its one to three level/volume pairs. Each pair is the level padded to 6 characters, a comma,
// the volume with two decimals padded to 9, and two blanks; a longer number is written whole and
// pushes the rest of the line to the right.

#include <span>
#include <string>
#include <string_view>

namespace brimwell {

inline constexpr int kPairsPerLine = 3;

class ChartLine {
public:
    // Levels show `levelDecimals` decimals: two in the tank window's chart.
    explicit ChartLine(int levelDecimals = 2) : levelDecimals_(levelDecimals) {}

    // The line of these pairs, as many levels as volumes, one to three. The view stays valid
    // until the next call.
    std::string_view write(std::span<const double> levels, std::span<const double> volumes);

private:
    int levelDecimals_;
    std::string line_;
};

}  // namespace brimwell
