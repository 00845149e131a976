#include "shell/frmbrimwell.h"

#include <QCloseEvent>
#include <QLayout>
#include <QTimer>

#include "host/appinfo.h"
#include "host/picturestore.h"
#include "shell/tankanimation.h"
#include "ui_frmBrimwell.h"

namespace brimwell {

frmBrimwell::frmBrimwell(PictureStore& pictures, TankAnimation& animation, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::frmBrimwell>()), pictures_(pictures), animation_(animation) {
    ui_->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowTitle(QString::fromUtf8(appinfo::kTitle));
    animation_.reset();
    pictures_.show(ui_->imgTank, QStringLiteral("ftank0"));

    connect(ui_->cmdUllex, &QPushButton::clicked, this, [this] { choose(Calculator::Tank); });
    connect(ui_->cmdPCalc, &QPushButton::clicked, this, [this] { choose(Calculator::LeakRate); });
    connect(ui_->cmdDCalc, &QPushButton::clicked, this, [this] { choose(Calculator::Delivery); });
    connect(ui_->mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(ui_->mnuAbout, &QAction::triggered, this, &frmBrimwell::showAbout);

    startAnimationTimer(this, &frmBrimwell::tick);
}

frmBrimwell::~frmBrimwell() = default;

void frmBrimwell::closeEvent(QCloseEvent* event) {
    pictures_.release();
    event->accept();
    Q_EMIT closed();
}

void frmBrimwell::choose(Calculator calculator) {
    close();
    Q_EMIT calculatorChosen(calculator);
}

void frmBrimwell::showAbout() {
    hide();
    Q_EMIT aboutChosen();
}

void frmBrimwell::tick() {
    const QString picture = animation_.advance(QStringLiteral("ftank"));
    if (!picture.isEmpty()) {
        pictures_.show(ui_->imgTank, picture);
    }
}

}  // namespace brimwell
