// brimwell-tank's command line from any arguments: a refusal is one line (but for the line feeds
// of an argument it quotes), a number is taken only in the one unambiguous form ("." as the
// point, no group separator, a digit), and every number taken means what its shortest form
// means, so that what the program prints reads back.

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "cli/tankoptions.h"
#include "cli/tankoutput.h"
#include "fuzz/fuzzinput.h"

using namespace brimwell;

namespace {

constexpr std::array<std::string_view, 3> kSubcommands{"reading", "level", "chart"};

constexpr std::array<std::string_view, 16> kNumberOptions{
    "--diameter",     "--length",      "--head-depth",  "--crown",
    "--knuckle",      "--level",       "--safe-fill",   "--fill-volume",
    "--fill-percent", "--increment",   "--temperature", "--coefficient",
    "--reference",    "--api-gravity", "--density",     "--alpha"};

constexpr std::array<std::string_view, 10> kWordOptions{
    "--orientation", "--heads",      "--units",    "--volume",
    "--format",      "--correction", "--observed", "--temperature-unit",
    "--output",      "--help"};

bool isNumberOption(std::string_view option) {
    return std::find(kNumberOptions.begin(), kNumberOptions.end(), option) != kNumberOptions.end();
}

std::vector<std::string> arguments(fuzz::FuzzInput& in) {
    std::vector<std::string> args{in.choice(kSubcommands)};
    for (int count = in.byte() % 12; count > 0; --count) {
        const auto pick = in.byte();
        if (pick % 2 == 0) {
            args.emplace_back(kNumberOptions[pick / 2 % kNumberOptions.size()]);
        } else {
            args.emplace_back(kWordOptions[pick / 2 % kWordOptions.size()]);
        }
        args.push_back(in.text());
    }
    return args;
}

// The numbers of a command, in one list to compare.
std::vector<double> numbersOf(const TankCommand& c) {
    const TankDescription& t = c.tank;
    const auto* ellipsoidal = std::get_if<EllipsoidalHeads>(&t.heads);
    const auto* conical = std::get_if<ConicalHeads>(&t.heads);
    const auto* dished = std::get_if<TorisphericalHeads>(&t.heads);
    std::vector<double> n{t.diameter,
                          t.length,
                          ellipsoidal ? ellipsoidal->depth.value_or(-1) : conical ? conical->depth : -1,
                          dished ? dished->crown : -1,
                          dished ? dished->knuckle : -1,
                          c.level,
                          c.safeFill,
                          c.fillVolume.value_or(-1),
                          c.fillPercent.value_or(-1),
                          c.increment};
    if (c.correction) {
        n.insert(n.end(),
                 {c.correction->temperature, c.correction->value, c.correction->reference});
    }
    return n;
}

// Every number option's value in its shortest form.
std::vector<std::string> rewritten(std::vector<std::string> args) {
    for (std::size_t i = 1; i + 1 < args.size(); ++i) {
        // A level is also read as a stick reading (6'3-5/8"), which the plain rule does not read.
        if (args[i] == "--level" || args[i] == "--water") {
            ++i;
        } else if (isNumberOption(args[i])) {
            const auto value = readPlain(args[i + 1]);
            FUZZ_CHECK(value.has_value());
            args[i + 1].clear();
            appendShortest(args[i + 1], *value);
            ++i;
        }
    }
    return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const std::vector<std::string> args = arguments(in);
    const auto command = parseTankArguments(args);
    if (!command) {
        FUZZ_CHECK(!command.error().empty());
        // One line, unless it quotes an argument that holds a line feed.
        std::size_t quoted = 0;
        for (const auto& arg : args) {
            quoted += static_cast<std::size_t>(std::count(arg.begin(), arg.end(), '\n'));
        }
        FUZZ_CHECK(static_cast<std::size_t>(
                       std::count(command.error().begin(), command.error().end(), '\n')) <= quoted);
        return 0;
    }
    if (command->help || command->version) {
        return 0;
    }
    for (std::size_t i = 1; i + 1 < args.size(); ++i) {
        if (isNumberOption(args[i])) {
            FUZZ_CHECK(args[i + 1].find(',') == std::string::npos);
            FUZZ_CHECK(args[i + 1].find_first_of("0123456789") != std::string::npos);
        }
    }
    for (const double number : numbersOf(*command)) {
        FUZZ_CHECK(std::isfinite(number));
    }
    const auto again = parseTankArguments(rewritten(args));
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(numbersOf(*again) == numbersOf(*command));
    if (const auto tank = buildTank(command->tank);
        tank && command->subcommand != Subcommand::Chart) {
        if (const auto text = answerText(*tank, *command)) {
            FUZZ_CHECK(fuzz::containsNoNanOrInf(*text));
        }
    }
    return 0;
}
