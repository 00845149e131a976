#pragma once

#include <string>
#include <string_view>

namespace brimwell {

// The message of every arithmetic failure of the tank model.
inline constexpr std::string_view kCheckSelectionsMessage =
    "Please check your selections for errors";

// Receives the failures that a model routine reports to the user while it goes on computing.
// The caller decides how the user hears of them (a message box, a line on standard error).
class FailureReporter {
public:
    virtual ~FailureReporter() = default;
    virtual void reportFailure(std::string_view message) = 0;

    // A failure of the volume at one level of a chart, the level as the chart writes it ("0.01").
    // Reported like any other, unless the caller names the level.
    virtual void reportLevelFailure(std::string_view level, std::string_view message) {
        (void)level;
        reportFailure(message);
    }
};

// Drops every failure: for a computation whose failures were reported a moment ago.
class NullReporter final : public FailureReporter {
public:
    void reportFailure(std::string_view) override {}
};

// Counts the failures and keeps the last message.
class CountingReporter final : public FailureReporter {
public:
    void reportFailure(std::string_view message) override {
        ++count;
        last = message;
    }
    int count = 0;
    std::string last;
};

}  // namespace brimwell
