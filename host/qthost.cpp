#include "host/qthost.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>

#include "host/appinfo.h"
#include "host/printerqueue.h"

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

SaveChoice QtHost::askSaveDiscardCancel(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(appinfo::kTitle), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
        case QMessageBox::Save:
            return SaveChoice::Save;
        case QMessageBox::Discard:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
    }
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

namespace {

// "description|pattern" becomes Qt's "description (pattern)".
QString nameFilter(const QString& filter) {
    return QStringLiteral("%1 (%2)").arg(filter.section('|', 0, 0), filter.section('|', 1, 1));
}

}  // namespace

QString QtHost::chooseFile(QWidget* parent, const QString& filter) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(nameFilter(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

// Qt's own dialog asks before a file that exists is replaced.
QString QtHost::chooseSaveFile(QWidget* parent, const QString& filter, const QString& suggested) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(nameFilter(filter));
    // "*.csv" gives "csv".
    dialog.setDefaultSuffix(filter.section('|', 1, 1).section('.', -1));
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

namespace {

bool isReady(const QPrinterInfo& info) {
    return !info.isNull() && info.state() != QPrinter::Error && info.state() != QPrinter::Aborted &&
           !queueRefusesJobs(info.printerName());
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
