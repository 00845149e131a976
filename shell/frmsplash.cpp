#include "shell/frmsplash.h"

#include <QCloseEvent>
#include <QTimer>

#include "host/picturestore.h"
#include "ui_frmSplash.h"
#include "shell/versiontext.h"

namespace brimwell {

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), ui_(std::make_unique<Ui::frmSplash>()) {
    ui_->setupUi(this);
    // Its own copy of the picture: the shared store is not loaded for the splash.
    PictureStore own;
    own.show(ui_->ctank75, QStringLiteral("ctank75"));
    ui_->lblVersion->setText(versionText());

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
