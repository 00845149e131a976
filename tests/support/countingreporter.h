#pragma once

// A failure reporter for tests: counts the failures it hears and keeps the last message.

#include <string>
#include <string_view>

#include "model/failurereporter.h"

class CountingReporter : public brimwell::FailureReporter {
public:
    void reportFailure(std::string_view message) override {
        ++count;
        last = message;
    }
    int count = 0;
    std::string last;
};
