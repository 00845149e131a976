// The book window's site: the name and address the book is kept for, edited in a dialog of its
// own.

#include <QStatusBar>

#include "bookwindow/dlgsite.h"
#include "bookwindow/figuretexts.h"
#include "bookwindow/frmbook.h"
#include "host/host.h"

namespace brimwell {

dlgSite* frmBook::siteEditor() const {
    return siteEditor_;
}

void frmBook::editSite() {
    if (!session_) {
        return;
    }
    if (siteEditor_ && siteEditor_->isVisible()) {
        siteEditor_->raise();
        siteEditor_->activateWindow();
        return;
    }
    const auto site = session_->site();
    if (!site) {
        host_.showMessage(this, fromStd(site.error()));
        return;
    }
    siteEditor_ = new dlgSite(*site, this);
    connect(siteEditor_, &dlgSite::entered, this, &frmBook::siteEntered);
    connect(siteEditor_, &QDialog::finished, siteEditor_, &QObject::deleteLater);
    siteEditor_->show();
}

// Kept, the dialog closes; refused or not written, it stays open with what was typed.
void frmBook::siteEntered() {
    if (!session_ || !siteEditor_) {
        return;
    }
    if (auto done = session_->setSite(siteEditor_->site()); !done) {
        host_.showMessage(siteEditor_, fromStd(done.error()));
        return;
    }
    siteEditor_->accept();
    statusBar()->showMessage(tr("Kept the site's name and address"));
}

}  // namespace brimwell
