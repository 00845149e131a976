#include "frmbrimwell.h"

#include <QCloseEvent>
#include <QLayout>
#include <QTimer>

#include "appinfo.h"
#include "picturestore.h"
#include "tankanimation.h"
#include "ui_frmBrimwell.h"

namespace brimwell {

frmBrimwell::frmBrimwell(PictureStore& pictures_, TankAnimation& animation_, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::frmBrimwell>()), pictures(pictures_), animation(animation_) {
    ui->setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowTitle(QString::fromUtf8(appinfo::kTitle));
    animation.reset();
    pictures.show(ui->imgTank, QStringLiteral("ftank0"));

    connect(ui->cmdUllex, &QPushButton::clicked, this, [this] { choose(Calculator::Tank); });
    connect(ui->cmdPCalc, &QPushButton::clicked, this, [this] { choose(Calculator::LeakRate); });
    connect(ui->cmdDCalc, &QPushButton::clicked, this, [this] { choose(Calculator::Delivery); });
    connect(ui->mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->mnuAbout, &QAction::triggered, this, &frmBrimwell::showAbout);

    auto* timer = new QTimer(this);
    timer->setObjectName("Timer1");
    timer->setInterval(60);
    connect(timer, &QTimer::timeout, this, &frmBrimwell::tick);
    timer->start();
}

frmBrimwell::~frmBrimwell() = default;

void frmBrimwell::closeEvent(QCloseEvent* event) {
    pictures.release();
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
    const QString picture = animation.advance(QStringLiteral("ftank"));
    if (!picture.isEmpty()) {
        pictures.show(ui->imgTank, picture);
    }
}

}  // namespace brimwell
