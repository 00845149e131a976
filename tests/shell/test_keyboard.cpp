// Every window used without a mouse: the Tab walk, the menu-bar mnemonics, and the names a screen
// reader announces for the boxes and lists.

#include <QtTest>

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "tests/support/scriptedhost.h"
#include "shell/shell.h"
#include "tests/support/windowtest.h"

using namespace brimwell;
using testing::settle;
using testing::visibleWindows;

namespace {

QWidget* shownWindow() {
    settle();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

// The control a focused widget belongs to: an editable list's own line edit counts as the list.
QString controlName(QWidget* widget) {
    if (!widget) {
        return "(none)";
    }
    if (auto* list = qobject_cast<QComboBox*>(widget->parentWidget())) {
        return list->objectName();
    }
    return widget->objectName();
}

// The name a screen reader announces: a list's own name is its text on Linux, so there it is the
// label the list is related to.
QString announcedName(QWidget* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    if (qobject_cast<QComboBox*>(control)) {
        const auto labels = accessible->relations(QAccessible::Label);
        return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
    }
    return accessible->text(QAccessible::Name);
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::ScriptedHost> host;
    std::unique_ptr<Shell> shell;

    // Opens the window as a user would: past the splash, then a launcher button or About.
    QWidget* open(const QString& windowName) {
        QMetaObject::invokeMethod(shownWindow()->findChild<QTimer*>("Timer1"), "timeout");
        const QHash<QString, QString> buttons{
            {"frmUllex", "cmdUllex"}, {"frmPCalc", "cmdPCalc"}, {"frmDTCalc", "cmdDCalc"}};
        if (buttons.contains(windowName)) {
            shownWindow()->findChild<QPushButton*>(buttons[windowName])->click();
        } else if (windowName == "frmAbout") {
            shownWindow()->findChild<QAction*>("mnuAbout")->trigger();
        }
        QWidget* window = shownWindow();
        if (!window || window->objectName() != windowName) {
            qFatal("%s did not open", qPrintable(windowName));
        }
        QApplication::setActiveWindow(window);
        if (!QTest::qWaitForWindowActive(window)) {
            qFatal("%s did not become active", qPrintable(windowName));
        }
        return window;
    }

private Q_SLOTS:
    void init() {
        host = std::make_unique<testing::ScriptedHost>();
        shell = std::make_unique<Shell>(*host);
        shell->start();
    }
    void cleanup() {
        shell.reset();
        settle();
    }

    void tab_walks_the_controls_in_order_and_comes_round_data() {
        QTest::addColumn<QString>("windowName");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("launcher") << "frmBrimwell" << QStringList{"cmdUllex", "cmdPCalc", "cmdDCalc"};
        QTest::newRow("tank") << "frmUllex"
                              << QStringList{"cboTankShape",   "txtTankDiameter", "txtTankLength",
                                             "cboProductType", "txtProductLevel", "txtProductTemp",
                                             "cboLengthUnits", "cboVolumeUnits",  "cboTempUnits",
                                             "Command1",       "txtNetVolume",    "txtCe"};
        QTest::newRow("leak") << "frmPCalc" << QStringList{"Option1", "txtActual", "cmdCalculate"};
        QTest::newRow("delivery") << "frmDTCalc"
                                  << QStringList{"txtBVol", "txtBTemp", "txtAVol", "txtATemp"};
        QTest::newRow("about") << "frmAbout" << QStringList{"cmdOK"};
    }
    void tab_walks_the_controls_in_order_and_comes_round() {
        QFETCH(QString, windowName);
        QFETCH(QStringList, order);
        open(windowName);
        QStringList walked{controlName(QApplication::focusWidget())};
        for (qsizetype i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << controlName(QApplication::focusWidget());
        }
        QCOMPARE(walked, order + QStringList{order.first()});
    }

    void every_box_and_list_is_named_after_its_row_data() {
        QTest::addColumn<QString>("windowName");
        QTest::addColumn<QStringList>("names");  // control=name, for every box and list shown
        QTest::newRow("tank") << "frmUllex"
                              << QStringList{"cboTankShape=Shape",
                                             "txtTankDiameter=Diameter",
                                             "txtTankLength=Length",
                                             "cboProductType=Type",
                                             "txtProductLevel=Level",
                                             "txtProductTemp=Temp.",
                                             "txtCe=Ce Value",
                                             "cboLengthUnits=Lengths",
                                             "cboVolumeUnits=Volumes",
                                             "cboTempUnits=Temps",
                                             "txtTankCapacity=Tank Capacity",
                                             "txtGrossVolume=Gross Volume",
                                             "txtNetVolume=Net Volume"};
        QTest::newRow("leak") << "frmPCalc"
                              << QStringList{"txtLR=User-defined leak rate in gal/h",
                                             "txtRef=User-defined reference pressure in psi",
                                             "txtActual=Equivalent Pressure in psi",
                                             "txtELRgal=Equivalent Leak Rate in gal/h",
                                             "txtELRml=Equivalent Leak Rate in ml/min"};
        QTest::newRow("delivery") << "frmDTCalc"
                                  << QStringList{"txtBVol=Volume of Product Before Delivery",
                                                 "txtBTemp=Temperature of Product Before Delivery",
                                                 "txtAVol=Volume of Product After Delivery",
                                                 "txtATemp=Temperature of Product After Delivery",
                                                 "txtCVol=Volume of Delivery",
                                                 "txtCTempDelivery=Temperature of Delivery",
                                                 "txtCTempDiff=Temperature Differential"};
    }
    void every_box_and_list_is_named_after_its_row() {
        QFETCH(QString, windowName);
        QFETCH(QStringList, names);
        QWidget* window = open(windowName);
        QStringList announced;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const bool input = qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control);
            if (input && control->isVisible() && !qobject_cast<QComboBox*>(control->parentWidget())) {
                announced << control->objectName() + "=" + announcedName(control);
            }
        }
        announced.sort();
        names.sort();
        QCOMPARE(announced, names);
    }

    void menu_bar_mnemonics_run_their_commands_data() {
        QTest::addColumn<QString>("windowName");
        QTest::addColumn<Qt::Key>("key");  // pressed with Alt
        QTest::addColumn<QStringList>("windowsAfter");
        QTest::addColumn<QStringList>("dialogs");
        const QString printProblem = "message: There was a problem printing.  Please check your printer.";
        QTest::newRow("launcher E&xit") << "frmBrimwell" << Qt::Key_X << QStringList{} << QStringList{};
        QTest::newRow("launcher &About") << "frmBrimwell" << Qt::Key_A << QStringList{"frmAbout"} << QStringList{};
        QTest::newRow("tank E&xit") << "frmUllex" << Qt::Key_X << QStringList{"frmBrimwell"} << QStringList{};
        QTest::newRow("tank &Tank Chart Generator")
            << "frmUllex" << Qt::Key_T << QStringList{"frmUllex"}
            << QStringList{"prompt: Tank chart will be generated in inches.  Input the increments in which "
                           "you would like the tank chart generated. (Must be a number - eg. 0.10)"};
        QTest::newRow("leak E&xit") << "frmPCalc" << Qt::Key_X << QStringList{"frmBrimwell"} << QStringList{};
        QTest::newRow("leak &Print") << "frmPCalc" << Qt::Key_P << QStringList{"frmPCalc"} << QStringList{printProblem};
        QTest::newRow("delivery E&xit") << "frmDTCalc" << Qt::Key_X << QStringList{"frmBrimwell"} << QStringList{};
        QTest::newRow("delivery &Print") << "frmDTCalc" << Qt::Key_P << QStringList{"frmDTCalc"} << QStringList{printProblem};
    }
    void menu_bar_mnemonics_run_their_commands() {
        QFETCH(QString, windowName);
        QFETCH(Qt::Key, key);
        QFETCH(QStringList, windowsAfter);
        QFETCH(QStringList, dialogs);
        host->promptAnswers << "";  // the chart generator's prompt, cancelled
        open(windowName);
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        QTRY_COMPARE(host->dialogs, dialogs);
        QTRY_COMPARE(visibleWindows(), windowsAfter);
    }

    void enter_on_perform_calculations_performs_them() {
        QWidget* window = open("frmUllex");
        auto* command = window->findChild<QPushButton*>("Command1");
        command->setFocus();
        QTest::keyClick(command, Qt::Key_Return);
        QCOMPARE(window->findChild<QLineEdit*>("txtTankCapacity")->text(), QString("10152.32"));
    }
};

BRIMWELL_WINDOW_TEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
