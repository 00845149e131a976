#pragma once

// Everything a tool window needs from the outside world. The application implements it with
// Qt's standard modal dialogs and the default printer; tests implement it with a script.

#include <QString>
#include <memory>

class QPrinter;
class QWidget;

namespace brimwell {

// The answers to a question about values not yet saved.
enum class SaveChoice { Save, Discard, Cancel };

class Host {
public:
    virtual ~Host() = default;

    // A message box with the text, an OK button only, no icon, and the application's title.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;

    // A question with Yes and No, Yes the default, no icon. True when the answer is Yes.
    virtual bool askYesNo(QWidget* parent, const QString& text) = 0;

    // A question with Save, Discard and Cancel, Save the default, no icon.
    virtual SaveChoice askSaveDiscardCancel(QWidget* parent, const QString& text) = 0;

    // A text prompt with OK and Cancel and an empty entry field; Cancel gives the empty text.
    virtual QString promptText(QWidget* parent, const QString& caption, const QString& label) = 0;

    // An open-file dialog with one filter ("description|pattern"); the empty text when cancelled.
    // The path comes back exactly as chosen or typed.
    virtual QString chooseFile(QWidget* parent, const QString& filter) = 0;

    // A save-file dialog with one filter ("description|pattern"), starting at `suggested` (a name,
    // or a path in the folder to start in); the empty text when cancelled. A file that exists
    // has been agreed to be replaced before its path comes back.
    virtual QString chooseSaveFile(QWidget* parent, const QString& filter,
                                   const QString& suggested) = 0;

    // The system's default printer, ready for a document of that name; null when there is none
    // or it cannot take a job (stopped, rejecting).
    virtual std::unique_ptr<QPrinter> defaultPrinter(const QString& documentName) = 0;
};

}  // namespace brimwell
