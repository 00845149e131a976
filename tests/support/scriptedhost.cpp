#include "tests/support/scriptedhost.h"

#include <QFileInfo>
#include <QTest>

namespace brimwell::testing {

void ScriptedHost::showMessage(QWidget*, const QString& text) {
    messages << text;
    dialogs << "message: " + text;
}

bool ScriptedHost::askYesNo(QWidget*, const QString& text) {
    questions << text;
    dialogs << "question: " + text;
    if (yesNoAnswers.isEmpty()) {
        QTest::qFail(qPrintable("unexpected question: " + text), __FILE__, __LINE__);
        return false;
    }
    return yesNoAnswers.takeFirst();
}

SaveChoice ScriptedHost::askSaveDiscardCancel(QWidget*, const QString& text) {
    questions << text;
    dialogs << "save question: " + text;
    if (saveAnswers.isEmpty()) {
        QTest::qFail(qPrintable("unexpected save question: " + text), __FILE__, __LINE__);
        return SaveChoice::Cancel;
    }
    return saveAnswers.takeFirst();
}

QString ScriptedHost::promptText(QWidget*, const QString& caption, const QString& label) {
    prompts << label;
    promptCaptions << caption;
    dialogs << "prompt: " + label;
    if (promptAnswers.isEmpty()) {
        QTest::qFail(qPrintable("unexpected prompt: " + label), __FILE__, __LINE__);
        return {};
    }
    return promptAnswers.takeFirst();
}

QString ScriptedHost::chooseFile(QWidget*, const QString& filter) {
    fileFilters << filter;
    dialogs << "file: " + filter;
    if (fileAnswers.isEmpty()) {
        QTest::qFail("unexpected file dialog", __FILE__, __LINE__);
        return {};
    }
    return fileAnswers.takeFirst();
}

QString ScriptedHost::chooseSaveFile(QWidget* parent, const QString& filter,
                                     const QString& suggested) {
    fileFilters << filter;
    suggestedFiles << suggested;
    dialogs << "save file: " + filter;
    for (;;) {
        if (fileAnswers.isEmpty()) {
            QTest::qFail("unexpected save-file dialog", __FILE__, __LINE__);
            return {};
        }
        const QString path = fileAnswers.takeFirst();
        if (path.isEmpty() || !QFileInfo::exists(path) ||
            askYesNo(parent, path + " already exists. Replace it?")) {
            return path;
        }
    }
}

std::unique_ptr<QPrinter> ScriptedHost::defaultPrinter(const QString& documentName) {
    printedDocuments << documentName;
    if (printerPdfPath.isEmpty()) {
        return nullptr;
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(printerPdfPath);
    printer->setDocName(documentName);
    return printer;
}

}  // namespace brimwell::testing
