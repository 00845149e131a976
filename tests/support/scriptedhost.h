#pragma once

// A host that answers every dialog from a script and records what was asked. A dialog that the
// script did not expect fails the running test instead of blocking it.

#include <QList>
#include <QPrinter>
#include <QStringList>

#include "host/host.h"

namespace brimwell::testing {

class ScriptedHost : public Host {
public:
    // What the tool asked for, in order.
    QStringList messages;
    QStringList questions;
    QStringList prompts;  // the prompt labels
    QStringList promptCaptions;
    QStringList fileFilters;
    QStringList suggestedFiles;  // the names the save-file dialogs started with
    QStringList printedDocuments;

    // The answers, taken from the front as the dialogs come.
    QStringList promptAnswers;
    QList<bool> yesNoAnswers;  // also the answers to a save-file dialog's "replace it?"
    QList<SaveChoice> saveAnswers;
    QStringList fileAnswers;  // of the open-file and save-file dialogs alike

    // Where the "default printer" writes its PDF; no default printer when empty.
    QString printerPdfPath;

    void showMessage(QWidget* parent, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& text) override;
    SaveChoice askSaveDiscardCancel(QWidget* parent, const QString& text) override;
    QString promptText(QWidget* parent, const QString& caption, const QString& label) override;
    QString chooseFile(QWidget* parent, const QString& filter) override;
    // Asks, as the real dialog does, before an answer that names a file that exists is given
    // back; after a No it takes the next answer, as the dialog stays open for another name.
    QString chooseSaveFile(QWidget* parent, const QString& filter,
                           const QString& suggested) override;
    std::unique_ptr<QPrinter> defaultPrinter(const QString& documentName) override;

    // Every dialog of every kind, in order, as "kind: text".
    QStringList dialogs;
};

}  // namespace brimwell::testing
