#pragma once

#include "host/host.h"

namespace brimwell {

// The host of the running application: Qt's own modal dialogs and the default printer.
class QtHost : public Host {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& text) override;
    SaveChoice askSaveDiscardCancel(QWidget* parent, const QString& text) override;
    QString promptText(QWidget* parent, const QString& caption, const QString& label) override;
    QString chooseFile(QWidget* parent, const QString& filter) override;
    QString chooseSaveFile(QWidget* parent, const QString& filter,
                           const QString& suggested) override;
    std::unique_ptr<QPrinter> defaultPrinter(const QString& documentName) override;
};

}  // namespace brimwell
