#include "chartoptions.h"

#include <algorithm>
#include <map>

#include "tankmodel.h"

namespace brimwell {

const char* const kChartUsage =
    "Usage: brimwell-chart --shape flat|cylindrical|vertical --diameter D --length L\n"
    "                      [--units inches|feet|millimeters|centimeters|meters]\n"
    "                      [--volume gallons|litres|cubic-meters|millilitres]\n"
    "                      --increment I [--output FILE]\n"
    "\n"
    "Writes a tank chart: the volume held at every level from the bottom of the tank to the top\n"
    "of its diameter, three levels to a line, with CRLF line ends. The diameter and length are in\n"
    "--units (default inches); the increment between levels is always in inches. Volumes are in\n"
    "--volume (default gallons). Without --output the chart goes to standard output; with it, the\n"
    "file is replaced only once the whole chart has been written.\n"
    "\n"
    "Example: brimwell-chart --shape flat --diameter 96 --length 324 --increment 0.1 --output tank.txt\n";

namespace {

const std::map<std::string, std::string_view> kShapeNames{
    {"flat", kFlatEnded}, {"cylindrical", kCylindrical}, {"vertical", kVertical}};
const std::map<std::string, std::string_view> kLengthNames{
    {"inches", "inches"}, {"feet", "feet"}, {"millimeters", "millimeters"},
    {"centimeters", "centimeters"}, {"meters", "meters"}};
const std::map<std::string, std::string_view> kVolumeNames{
    {"gallons", "gallons"}, {"litres", "litres"}, {"cubic-meters", "cubic meters"},
    {"millilitres", "millilitres"}};

std::optional<std::string> lookUp(const std::map<std::string, std::string_view>& names,
                                  const std::string& word) {
    const auto it = names.find(word);
    if (it == names.end()) {
        return std::nullopt;
    }
    return std::string(it->second);
}

}  // namespace

std::variant<ChartCommand, std::string> ParseChartArguments(const std::vector<std::string>& args) {
    ChartCommand command;
    command.request.lengthUnit = "inches";
    command.request.volumeUnit = "gallons";
    std::map<std::string, std::string> values;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string option = args[i];
        if (option == "--help" || option == "-h") {
            command.help = true;
            return command;
        }
        std::optional<std::string> value;
        if (const auto eq = option.find('='); eq != std::string::npos && option.starts_with("--")) {
            value = option.substr(eq + 1);
            option.resize(eq);
        }
        static const char* const known[] = {"--shape", "--diameter", "--length", "--units",
                                            "--volume", "--increment", "--output"};
        if (std::find(std::begin(known), std::end(known), option) == std::end(known)) {
            return "unknown option '" + option + "' (see --help)";
        }
        if (!value) {
            if (i + 1 == args.size() || args[i + 1].starts_with("--")) {
                return option + " needs a value";
            }
            value = args[++i];
        }
        values[option] = *value;
    }
    for (const char* required : {"--shape", "--diameter", "--length", "--increment"}) {
        if (!values.contains(required)) {
            return std::string(required) + " is missing (see --help)";
        }
    }
    const auto shape = lookUp(kShapeNames, values["--shape"]);
    if (!shape) {
        return "unknown shape '" + values["--shape"] + "' (flat, cylindrical or vertical)";
    }
    command.request.shape = *shape;
    if (values.contains("--units")) {
        const auto unit = lookUp(kLengthNames, values["--units"]);
        if (!unit) {
            return "unknown length unit '" + values["--units"] +
                   "' (inches, feet, millimeters, centimeters or meters)";
        }
        command.request.lengthUnit = *unit;
    }
    if (values.contains("--volume")) {
        const auto unit = lookUp(kVolumeNames, values["--volume"]);
        if (!unit) {
            return "unknown volume unit '" + values["--volume"] +
                   "' (gallons, litres, cubic-meters or millilitres)";
        }
        command.request.volumeUnit = *unit;
    }
    command.request.diameter = values["--diameter"];
    command.request.length = values["--length"];
    command.request.increment = values["--increment"];
    if (values.contains("--output")) {
        if (values["--output"].empty()) {
            return "--output needs a file name";
        }
        command.output = values["--output"];
    }
    return command;
}

std::string DescribeRefusal(ChartRefusal refusal, const ChartRequest& request) {
    switch (refusal) {
        case ChartRefusal::DiameterNotANumber:
            return "the diameter '" + request.diameter + "' is not a number";
        case ChartRefusal::IncrementNotANumber:
            return "the increment '" + request.increment + "' is not a number";
        case ChartRefusal::UnknownUnit:
            return "unknown unit or shape";
        case ChartRefusal::NoDiameter:
            return "the diameter must be above 0";
        case ChartRefusal::InappropriateIncrement:
            return "the increment '" + request.increment +
                   "' must be above 0 and small enough for at least one step across the diameter";
        case ChartRefusal::TooManySteps:
            return "the increment '" + request.increment +
                   "' makes more than 32767 steps across the diameter";
        case ChartRefusal::LengthNotANumber:
            return "the length '" + request.length + "' is not a number";
        case ChartRefusal::CapacityOverflow:
            return "the tank is too large to compute";
    }
    return "no chart";
}

}  // namespace brimwell
