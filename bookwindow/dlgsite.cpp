#include "bookwindow/dlgsite.h"

#include <QPushButton>

#include "ui_dlgSite.h"

namespace brimwell {

dlgSite::dlgSite(const book::Site& site, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::dlgSite>()) {
    ui_->setupUi(this);
    ui_->txtSiteName->setText(QString::fromStdString(site.name));
    ui_->txtSiteAddress->setPlainText(QString::fromStdString(site.address));
    connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &dlgSite::entered);
    connect(ui_->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

dlgSite::~dlgSite() = default;

book::Site dlgSite::site() const {
    QStringList lines = ui_->txtSiteAddress->toPlainText().split('\n');
    for (QString& line : lines) {
        line = line.trimmed();
    }
    while (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    return {ui_->txtSiteName->text().trimmed().toStdString(), lines.join('\n').toStdString()};
}

}  // namespace brimwell
