// Which of brimwell-tank's options apply to the subcommand and the tank given.

#include <algorithm>
#include <variant>

#include "cli/tankoptionparts.h"
#include "cli/unitwords.h"

namespace brimwell::tankoptions {
namespace {

bool takes(ForTank kind, const TankDescription& tank) {
    const bool horizontal = !tank.calibration && !tank.vertical;
    switch (kind) {
        case ForTank::Any:
            return true;
        case ForTank::Shaped:
            return !tank.calibration;
        case ForTank::Calibrated:
            return tank.calibration.has_value();
        case ForTank::Horizontal:
            return horizontal;
        case ForTank::HeadDepth:
            return horizontal && (std::holds_alternative<EllipsoidalHeads>(tank.heads) ||
                                  std::holds_alternative<ConicalHeads>(tank.heads));
        case ForTank::Torispherical:
            return horizontal && std::holds_alternative<TorisphericalHeads>(tank.heads);
    }
    return false;
}

bool applies(std::string_view option, Subcommand subcommand, const TankDescription& tank) {
    const auto bit = 1U << static_cast<unsigned>(subcommand);
    return std::any_of(kOptionRules.begin(), kOptionRules.end(), [&](const OptionRule& rule) {
        return rule.name == option && (rule.subcommands & bit) != 0 && takes(rule.tank, tank);
    });
}

std::string notApplicable(std::string_view option, Subcommand subcommand,
                          const TankDescription& tank) {
    const std::string name(option);
    const auto rule = std::find_if(kOptionRules.begin(), kOptionRules.end(),
                                   [&](const OptionRule& each) { return each.name == option; });
    if (tank.calibration && rule->tank != ForTank::Any && rule->tank != ForTank::Calibrated) {
        return name + " does not apply with --calibration, whose chart is the tank";
    }
    if (rule->tank == ForTank::Horizontal || rule->tank == ForTank::HeadDepth ||
        rule->tank == ForTank::Torispherical) {
        if (tank.vertical) {
            return name + " does not apply to a vertical tank";
        }
        return name + " does not apply to " + std::string(headWord(tank.heads)) + " heads";
    }
    return name + " does not apply to " +
           std::string(kSubcommandWords[static_cast<std::size_t>(subcommand)]);
}

}  // namespace

std::vector<std::string_view> optionNames(bool flags) {
    std::vector<std::string_view> names;
    for (const auto& rule : kOptionRules) {
        if (rule.flag == flags) {
            names.push_back(rule.name);
        }
    }
    return names;
}

std::optional<std::string> firstNotApplicable(const Options& options, const TankCommand& command) {
    std::vector<std::string_view> given;
    for (const auto& [name, value] : options.values) {
        given.push_back(name);
    }
    given.insert(given.end(), options.flags.begin(), options.flags.end());
    for (const auto name : given) {
        if (!applies(name, command.subcommand, command.tank)) {
            return notApplicable(name, command.subcommand, command.tank);
        }
    }
    return std::nullopt;
}

}  // namespace brimwell::tankoptions
