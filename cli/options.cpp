#include "cli/options.h"

#include <algorithm>
#include <optional>

#include "model/geometry/stickreading.h"
#include "model/text/numbertext.h"

namespace brimwell {

Expected<Options, std::string> readOptions(const std::vector<std::string>& args,
                                           std::span<const std::string_view> known,
                                           std::span<const std::string_view> knownFlags) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string option = args[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            return options;
        }
        if (option == "--version") {
            options.version = true;
            return options;
        }
        std::optional<std::string> value;
        if (const auto eq = option.find('='); eq != std::string::npos && option.starts_with("--")) {
            value = option.substr(eq + 1);
            option.resize(eq);
        }
        if (std::find(knownFlags.begin(), knownFlags.end(), option) != knownFlags.end()) {
            if (value) {
                return Unexpected(option + " takes no value");
            }
            if (!options.flags.insert(option).second) {
                return Unexpected(option + " is given more than once");
            }
            continue;
        }
        if (std::find(known.begin(), known.end(), option) == known.end()) {
            return Unexpected("unknown option '" + option + "' (see --help)");
        }
        if (!value) {
            if (i + 1 == args.size() || args[i + 1].starts_with("--")) {
                return Unexpected(option + " needs a value");
            }
            value = args[++i];
        }
        if (!options.values.emplace(option, *value).second) {
            return Unexpected(option + " is given more than once");
        }
    }
    return options;
}

Expected<double, std::string> readNumberOption(std::string_view option, std::string_view text) {
    if (const auto number = readPlain(text)) {
        return *number;
    }
    return Unexpected(std::string(option) + ": '" + std::string(text) +
                      "' is not a number; write it with \".\" as the decimal point and no group "
                      "separators, as in 2500, 0.125 or 1e-4");
}

Expected<std::optional<double>, std::string> optionalNumber(const OptionValues& values,
                                                            std::string_view option) {
    const auto it = values.find(option);
    if (it == values.end()) {
        return std::optional<double>();
    }
    const auto number = readNumberOption(option, it->second);
    if (!number) {
        return Unexpected(number.error());
    }
    return std::optional<double>(*number);
}

Expected<std::optional<double>, std::string> optionalStick(const OptionValues& values,
                                                           std::string_view option,
                                                           LengthUnit unit) {
    const auto it = values.find(option);
    if (it == values.end()) {
        return std::optional<double>();
    }
    const auto level = readStickLevel(it->second, unit);
    if (!level) {
        return Unexpected(std::string(option) + ": " + level.error());
    }
    return std::optional<double>(*level);
}

Expected<std::optional<std::string>, std::string> fileOption(const OptionValues& values,
                                                             std::string_view option) {
    const auto it = values.find(option);
    if (it == values.end()) {
        return std::optional<std::string>();
    }
    if (it->second.empty()) {
        return Unexpected(std::string(option) + " needs a file name");
    }
    return std::optional(it->second);
}

}  // namespace brimwell
