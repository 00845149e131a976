#include "shell/tankanimation.h"

#include <array>

namespace brimwell {

QString TankAnimation::advance(const QString& family) {
    static constexpr std::array<const char*, 7> kLevels{"0", "10", "25", "50", "75", "90", "100"};
    for (std::size_t i = 0; i < kLevels.size(); ++i) {
        if (level_ == QLatin1String(kLevels[i])) {
            level_ = QLatin1String(kLevels[(i + 1) % kLevels.size()]);
            return family + level_;
        }
    }
    return {};
}

}  // namespace brimwell
