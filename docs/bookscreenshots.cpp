// brimwell-book-screenshots: opens the tank book's window on a new book in a folder of its own,
// adds three tanks and a fortnight of days as an operator would, and saves a picture of each
// screen on the way:
//     book-tank.png, book-site.png, book-day.png, book-month.png
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

// A day's stick falling by `drop` a day from `start`, with a delivery of `bill` on the 6th.
void enterDays(QWidget* window, double start, double drop, double pumped, double bill) {
    double stick = start;
    for (int day = 1; day <= 12; ++day) {
        control<QDateEdit>(window, "dateDay")->setDate(QDate(2026, 3, day));
        const bool delivery = day == 6;
        const double before = stick;
        stick = delivery ? stick + 30 - drop : stick - drop;
        control(window, "txtStick")->setText(QString::number(stick));
        control(window, "txtWater")->setText(QStringLiteral("1.25"));
        control(window, "txtTemperature")->setText(QString::number(60 + day % 4));
        control(window, "txtPumped")->setText(QString::number(pumped + (day % 3) * 4.5));
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
    window.resize(1180, 780);
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
            save(editor, out, "book-tank.png");
        }
        control<QDialogButtonBox>(editor, "buttonBox")->button(QDialogButtonBox::Ok)->click();
        settle();
    }
    const double drops[][4] = {{78, 4.5, 455, 3000}, {70, 3.2, 248, 2400}, {110, 5.1, 246, 1460}};
    for (int tank = 2; tank >= 0; --tank) {
        control<QAbstractItemView>(&window, "tblSite")
            ->setCurrentIndex(
                control<QAbstractItemView>(&window, "tblSite")->model()->index(tank, 1));
        enterDays(&window, drops[tank][0], drops[tank][1], drops[tank][2], drops[tank][3]);
    }
    save(&window, out, "book-site.png");

    control<QDateEdit>(&window, "dateDay")->setDate(QDate(2026, 3, 13));
    control(&window, "txtStick")->setText(QStringLiteral("4'1-1/2\""));
    control(&window, "txtWater")->setText(QStringLiteral("1 1/4"));
    control(&window, "txtTemperature")->setText(QStringLiteral("61.5"));
    control(&window, "txtPumped")->setText(QStringLiteral("452"));
    save(&window, out, "book-day.png");
    // The day shown is typed but not saved; emptied, the window has nothing to ask about.
    for (const char* field : {"txtStick", "txtWater", "txtTemperature", "txtPumped"}) {
        control(&window, field)->clear();
    }

    control<QDateEdit>(&window, "dateDay")->setDate(QDate(2026, 3, 12));
    control<QTabWidget>(&window, "tabsTank")->setCurrentIndex(1);
    save(&window, out, "book-month.png");
    return 0;
}
