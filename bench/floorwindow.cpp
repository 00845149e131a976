// The floor for any Qt Widgets program: a bare main window with a few text boxes, a list, a menu
// bar and a status bar, and nothing else.

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"));
    auto* form = new QWidget;
    auto* layout = new QFormLayout(form);
    for (const char* label : {"Diameter", "Length", "Level"}) {
        layout->addRow(QString::fromLatin1(label), new QLineEdit);
    }
    auto* list = new QComboBox;
    list->addItems({QStringLiteral("inches"), QStringLiteral("feet"), QStringLiteral("meters")});
    layout->addRow(QStringLiteral("Units"), list);
    window.setCentralWidget(form);
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.show();
    return QApplication::exec();
}
