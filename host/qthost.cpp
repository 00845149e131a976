#include "qthost.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLibrary>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>

#include "appinfo.h"

namespace brimwell {

void QtHost::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(appinfo::kTitle), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

bool QtHost::askYesNo(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(appinfo::kTitle), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString QtHost::promptText(QWidget* parent, const QString& caption, const QString& label) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(label);
    dialog.setTextValue(QString());
    if (auto* text = dialog.findChild<QLabel*>()) {
        text->setWordWrap(true);
    }
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

QString QtHost::chooseFile(QWidget* parent, const QString& filter) {
    // "description|pattern" becomes Qt's "description (pattern)".
    const QString description = filter.section('|', 0, 0);
    const QString pattern = filter.section('|', 1, 1);
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("%1 (%2)").arg(description, pattern));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

namespace {

// Qt reports a stopped queue as being in error, but not a queue that refuses new jobs: it hands
// the job over and the page is silently lost. Where the print system is CUPS, its library (which
// Qt's own printing loads) tells; elsewhere there is no such library and nothing to check.
bool refusesJobs(const QString& printerName) {
    struct Option {
        const char* name;
        const char* value;
    };
    struct Destination {
        const char* name;
        const char* instance;
        int isDefault;
        int optionCount;
        Option* options;
    };
    using GetNamedDestination = Destination* (*)(void*, const char*, const char*);
    using FreeDestinations = void (*)(int, Destination*);

    QLibrary cups(QStringLiteral("cups"), 2);
    const auto getNamedDestination =
        reinterpret_cast<GetNamedDestination>(cups.resolve("cupsGetNamedDest"));
    const auto freeDestinations = reinterpret_cast<FreeDestinations>(cups.resolve("cupsFreeDests"));
    if (!getNamedDestination || !freeDestinations) {
        return false;
    }
    // A name "queue/instance" names an instance of the queue; the queue decides.
    const QByteArray queue = printerName.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    Destination* destination = getNamedDestination(nullptr, queue.constData(), nullptr);
    if (!destination) {
        return true;  // the queue went away since Qt listed it
    }
    bool refuses = false;
    for (int i = 0; i < destination->optionCount; ++i) {
        if (qstrcmp(destination->options[i].name, "printer-is-accepting-jobs") == 0) {
            refuses = qstrcmp(destination->options[i].value, "false") == 0;
        }
    }
    freeDestinations(1, destination);
    return refuses;
}

bool isReady(const QPrinterInfo& info) {
    return !info.isNull() && info.state() != QPrinter::Error && info.state() != QPrinter::Aborted &&
           !refusesJobs(info.printerName());
}

}  // namespace

std::unique_ptr<QPrinter> QtHost::defaultPrinter(const QString& documentName) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!isReady(info)) {
        return nullptr;
    }
    auto printer = std::make_unique<QPrinter>(info);
    printer->setDocName(documentName);
    return printer;
}

}  // namespace brimwell
