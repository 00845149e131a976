#include "frmabout.h"

#include <QTimer>

#include "appinfo.h"
#include "picturestore.h"
#include "tankanimation.h"
#include "ui_frmAbout.h"
#include "versiontext.h"

namespace brimwell {

frmAbout::frmAbout(PictureStore& pictures_, TankAnimation& animation_, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmAbout>()), pictures(pictures_), animation(animation_) {
    ui->setupUi(this);
    const QString title = QString::fromUtf8(appinfo::kTitle);
    setWindowTitle(QStringLiteral("About %1").arg(title));
    ui->lblVersion->setText(versionText());
    ui->lblTitle->setText(title);

    // Escape rejects the dialog, Enter presses the default button: both close like OK.
    connect(ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* timer = new QTimer(this);
    timer->setObjectName("Timer1");
    timer->setInterval(60);
    connect(timer, &QTimer::timeout, this, &frmAbout::tick);
    timer->start();
}

frmAbout::~frmAbout() = default;

void frmAbout::done(int result) {
    Q_EMIT closed();
    QDialog::done(result);
}

void frmAbout::tick() {
    const QString picture = animation.advance(QStringLiteral("ctank"));
    if (!picture.isEmpty()) {
        pictures.show(ui->imgTank, picture);
    }
}

}  // namespace brimwell
