#include "frmsplash.h"

#include <QCloseEvent>
#include <QTimer>

#include "picturestore.h"
#include "ui_frmSplash.h"
#include "versiontext.h"

namespace brimwell {

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), ui(std::make_unique<Ui::frmSplash>()) {
    ui->setupUi(this);
    // Its own copy of the picture: the shared store is not loaded for the splash.
    PictureStore own;
    own.show(ui->ctank75, QStringLiteral("ctank75"));
    ui->lblVersion->setText(versionText());

    auto* timer = new QTimer(this);
    timer->setObjectName("Timer1");
    timer->setSingleShot(true);
    timer->setInterval(2000);
    connect(timer, &QTimer::timeout, this, &QWidget::close);
    timer->start();
}

frmSplash::~frmSplash() = default;

void frmSplash::closeEvent(QCloseEvent* event) {
    event->accept();
    Q_EMIT closed();
}

}  // namespace brimwell
