#include "bookwindow/dlghelp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include "ui_dlgHelp.h"

namespace brimwell {

dlgHelp::dlgHelp(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::dlgHelp>()) {
    ui_->setupUi(this);
    connect(ui_->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::close);
    const QString path = pagePath();
    QFile page(path);
    if (page.open(QIODevice::ReadOnly)) {
        ui_->txtHelp->setMarkdown(QString::fromUtf8(page.readAll()));
    } else {
        ui_->txtHelp->setPlainText(
            tr("The help page cannot be read: %1: %2").arg(path, page.errorString()));
    }
}

dlgHelp::~dlgHelp() = default;

QString dlgHelp::pagePath() {
    // bin/../share/brimwell as installed; as built, the build folder's share/brimwell beside the
    // program's own folder.
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/brimwell/book-help.md"));
}

}  // namespace brimwell
