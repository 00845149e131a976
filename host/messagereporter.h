#pragma once

#include <QString>
#include <QWidget>

#include "model/failurereporter.h"
#include "host/host.h"

namespace brimwell {

// Tells the user of the tank model's failures in a message box over the given window.
class MessageReporter : public FailureReporter {
public:
    MessageReporter(Host& host, QWidget* parent) : host_(host), parent_(parent) {}
    void reportFailure(std::string_view message) override {
        host_.showMessage(parent_, QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
    }

private:
    Host& host_;
    QWidget* parent_;
};

}  // namespace brimwell
