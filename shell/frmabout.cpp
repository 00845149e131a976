#include "shell/frmabout.h"

#include <QTimer>

#include "host/appinfo.h"
#include "host/picturestore.h"
#include "shell/tankanimation.h"
#include "ui_frmAbout.h"
#include "shell/versiontext.h"

namespace brimwell {

frmAbout::frmAbout(PictureStore& pictures, TankAnimation& animation, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmAbout>()), pictures_(pictures), animation_(animation) {
    ui_->setupUi(this);
    const QString title = QString::fromUtf8(appinfo::kTitle);
    setWindowTitle(QStringLiteral("About %1").arg(title));
    ui_->lblVersion->setText(versionText());
    ui_->lblTitle->setText(title);

    // Escape rejects the dialog, Enter presses the default button: both close like OK.
    connect(ui_->cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    startAnimationTimer(this, &frmAbout::tick);
}

frmAbout::~frmAbout() = default;

void frmAbout::done(int result) {
    Q_EMIT closed();
    QDialog::done(result);
}

void frmAbout::tick() {
    const QString picture = animation_.advance(QStringLiteral("ctank"));
    if (!picture.isEmpty()) {
        pictures_.show(ui_->imgTank, picture);
    }
}

}  // namespace brimwell
