// brimwell-book-screenshots: opens the tank book's window on a new book in a folder of its own,
// adds three tanks and a fortnight of days as an operator would, and saves a picture of each
// screen on the way:
//     book-tank.png, book-site.png, book-day.png, book-month.png, book-plot.png
// Run by scripts/screenshots under a virtual X server:
//     brimwell-book-screenshots OUTPUT-FOLDER

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "bookwindow/dlgtank.h"
#include "bookwindow/frmbook.h"
#include "host/qthost.h"

namespace {

void settle() {
    const QDeadlineTimer deadline(300);
    while (!deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

void save(QWidget* window, const QDir& out, const char* file) {
    settle();
    const QString path = out.filePath(QString::fromLatin1(file));
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "brimwell-book-screenshots: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    std::printf("%s\n", qPrintable(path));
}

template <typename T = QLineEdit>
T* control(QWidget* window, const char* name) {
    auto* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found) {
        std::fprintf(stderr, "brimwell-book-screenshots: no %s\n", name);
        std::exit(1);
    }
    return found;
}

struct TankTexts {
    const char* name;
    const char* product;
    int orientation;  // 0 horizontal, 1 vertical
    const char* heads;
    const char* diameter;
    const char* length;
    const char* opening;
};

void fillTank(QWidget* editor, const TankTexts& tank) {
    control(editor, "txtName")->setText(QString::fromLatin1(tank.name));
    control<QComboBox>(editor, "cboOrientation")->setCurrentIndex(tank.orientation);
    control<QComboBox>(editor, "cboHeads")->setCurrentText(QString::fromLatin1(tank.heads));
    control(editor, "txtDiameter")->setText(QString::fromLatin1(tank.diameter));
    control(editor, "txtLength")->setText(QString::fromLatin1(tank.length));
    control(editor, "txtProduct")->setText(QString::fromLatin1(tank.product));
    control(editor, "txtOpening")->setText(QString::fromLatin1(tank.opening));
    control(editor, "txtWaterLimit")->setText(QStringLiteral("2"));
}

// A day's stick falling by `drop` a day from `start`, with a delivery of `bill` on the 6th;
// what was pumped by the meter's closing total when `meter` is its first opening total, on the
// opening total the window carries from the day before.
void enterDays(QWidget* window, double start, double drop, double pumped, double bill,
               double meter) {
    double stick = start;
    for (int day = 1; day <= 12; ++day) {
        control<QDateEdit>(window, "dateDay")->setDate(QDate(2026, 3, day));
        const bool delivery = day == 6;
        const double before = stick;
        stick = delivery ? stick + 30 - drop : stick - drop;
        control(window, "txtStick")->setText(QString::number(stick));
        control(window, "txtWater")->setText(day % 4 == 0 ? QStringLiteral("1.25") : QString());
        control(window, "txtTemperature")->setText(QString::number(60 + day % 4));
        const double volume = pumped + (day % 3) * 4.5;
        if (meter == 0) {
            control(window, "txtPumped")->setText(QString::number(volume));
        } else {
            if (day == 1) {
                control(window, "txtMeterOpen")->setText(QString::number(meter));
            }
            meter += volume;
            control(window, "txtMeterClose")->setText(QString::number(meter));
        }
        if (delivery) {
            control(window, "txtBill")->setText(QString::number(bill));
            control(window, "txtBefore")->setText(QString::number(before - drop / 2));
            control(window, "txtAfter")->setText(QString::number(stick + drop / 2));
        }
        control<QPushButton>(window, "btnSave")->click();
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: brimwell-book-screenshots OUTPUT-FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir folder;
    QApplication::setApplicationName(QStringLiteral("Brimwell"));
    brimwell::QtHost host;
    brimwell::frmBook window(host);
    window.resize(1280, 800);
    window.show();
    window.openBook(folder.filePath(QStringLiteral("book.sqlite")));

    const TankTexts tanks[] = {
        {"1 Regular", "Regular unleaded", 0, "ellipsoidal", "96", "240", "78"},
        {"2 Premium", "Premium unleaded", 0, "flat", "96", "180", "70"},
        {"3 Diesel", "Diesel", 1, "flat", "120", "144", "110"}};
    for (const TankTexts& tank : tanks) {
        control<QAction>(&window, "actAddTank")->trigger();
        brimwell::dlgTank* editor = window.tankEditor();
        fillTank(editor, tank);
        if (&tank == &tanks[0]) {
            // The first tank's sticks are shown as they are read off it.
            control<QComboBox>(editor, "cboSticks")->setCurrentIndex(1);
            save(editor, out, "book-tank.png");
        }
        control<QDialogButtonBox>(editor, "buttonBox")->button(QDialogButtonBox::Ok)->click();
        settle();
    }
    const double drops[][5] = {{78, 4.5, 455, 3000, 481250},
                               {70, 3.2, 248, 2400, 0},
                               {110, 5.1, 226, 1460, 0}};  // short day after day
    for (int tank = 2; tank >= 0; --tank) {
        // The tank chosen opens on its next day once the window takes it up; the date follows.
        control<QAbstractItemView>(&window, "tblSite")
            ->setCurrentIndex(
                control<QAbstractItemView>(&window, "tblSite")->model()->index(tank, 1));
        settle();
        enterDays(&window, drops[tank][0], drops[tank][1], drops[tank][2], drops[tank][3],
                  drops[tank][4]);
    }
    save(&window, out, "book-site.png");

    // The first tank's next day, as the window opens it, typed as read off the stick.
    control(&window, "txtStick")->setText(QStringLiteral("4'1-1/2"));
    control(&window, "txtWater")->setText(QStringLiteral("1 1/4"));
    control(&window, "txtTemperature")->setText(QStringLiteral("61.5"));
    control(&window, "txtMeterClose")->setText(QStringLiteral("487224"));
    save(&window, out, "book-day.png");
    // The day shown is typed but not saved; emptied, the window has nothing to ask about.
    for (const char* field : {"txtStick", "txtWater", "txtTemperature", "txtMeterClose"}) {
        control(&window, field)->clear();
    }

    // The month is given the height the site had, as the bar between them is dragged.
    control<QDateEdit>(&window, "dateDay")->setDate(QDate(2026, 3, 12));
    control<QTabWidget>(&window, "tabsTank")->setCurrentIndex(1);
    control<QSplitter>(&window, "splitSite")->setSizes({150, 600});
    save(&window, out, "book-month.png");
    // The diesel tank's month, which runs out of its band, its plot given more of the width.
    control<QAbstractItemView>(&window, "tblSite")
        ->setCurrentIndex(control<QAbstractItemView>(&window, "tblSite")->model()->index(2, 1));
    settle();
    control<QSplitter>(&window, "splitMonth")->setSizes({500, 760});
    save(control<QWidget>(&window, "plotOverShort"), out, "book-plot.png");
    return 0;
}
