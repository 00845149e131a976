#include "cli/chartoptions.h"

#include <array>

#include "cli/options.h"
#include "cli/unitwords.h"
#include "model/window/tankmodel.h"
#include "model/units/units.h"

namespace brimwell {

const char* const kChartUsage =
    "Usage: brimwell-chart --shape flat|cylindrical|vertical --diameter D --length L\n"
    "                      [--units inches|feet|millimeters|centimeters|meters]\n"
    "                      [--volume gallons|litres|cubic-meters|millilitres]\n"
    "                      --increment I [--output FILE|-]\n"
    "       brimwell-chart --help | --version\n"
    "\n"
    "Writes a tank chart: the volume held at every level from the bottom of the tank to the top\n"
    "of its diameter, three levels to a line, with CRLF line ends. The diameter and length are in\n"
    "--units (default inches); the increment between levels is always in inches, and the step is\n"
    "the diameter divided by the rounded number of increments it holds. Volumes are in --volume\n"
    "(default gallons). Without --output, or with --output -, the chart goes to standard output;\n"
    "a file is replaced only once the whole chart has been written.\n"
    "\n"
    "Exit status: 0 written; 1 not written (the reason is printed); 2 bad input, nothing written;\n"
    "3 written, but some levels' volumes could not be computed (each is named, and shows 0.00).\n"
    "\n"
    "Example: brimwell-chart --shape flat --diameter 96 --length 324 --increment 0.1 --output "
    "tank.txt\n";

namespace {

// In the enum's order.
constexpr std::array<std::string_view, 3> kShapeWords{"flat", "cylindrical", "vertical"};

}  // namespace

Expected<ChartCommand, std::string> parseChartArguments(const std::vector<std::string>& args) {
    static constexpr std::string_view kKnown[] = {"--shape",  "--diameter",  "--length", "--units",
                                                  "--volume", "--increment", "--output"};
    auto options = readOptions(args, kKnown);
    if (!options) {
        return Unexpected(options.error());
    }
    ChartCommand command;
    command.help = options->help;
    command.version = options->version;
    if (command.help || command.version) {
        return command;
    }
    auto values = std::move(*options).values;
    for (const char* required : {"--shape", "--diameter", "--length", "--increment"}) {
        if (!values.contains(required)) {
            return Unexpected(std::string(required) + " is missing (see --help)");
        }
    }
    FirstFailure words;
    words.take(wordOption<TankShape>("--shape", values["--shape"], kShapeWords),
               command.request.shape);
    words.take(wordOption(values, "--units", kLengthUnits, LengthUnit::Inches),
               command.request.lengthUnit);
    words.take(wordOption(values, "--volume", kVolumeWords, VolumeUnit::Gallons),
               command.request.volumeUnit);
    double number = 0;  // checked only: the request keeps the texts
    for (const char* option : {"--diameter", "--length", "--increment"}) {
        words.take(readNumberOption(option, values[option]), number);
    }
    command.request.diameter = values["--diameter"];
    command.request.length = values["--length"];
    command.request.increment = values["--increment"];
    words.take(fileOption(values, "--output"), command.output);
    return words.orFailure(command);
}

std::string describeRefusal(ChartRefusal refusal, const ChartRequest& request) {
    switch (refusal) {
        case ChartRefusal::DiameterNotANumber:
            return "the diameter '" + request.diameter + "' is not a number";
        case ChartRefusal::IncrementNotANumber:
            return "the increment '" + request.increment + "' is not a number";
        case ChartRefusal::UnknownUnit:
            return "unknown unit";
        case ChartRefusal::NoDiameter:
            return "the diameter must be above 0";
        case ChartRefusal::DiameterTooSmall:
            return "the diameter is too small for a chart";
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
