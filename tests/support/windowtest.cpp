#include "tests/support/windowtest.h"

#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTimer>

namespace brimwell::testing {
namespace {
bool realDialogsAllowed = false;
}

TemporaryHome::TemporaryHome() {
    if (!folder_.isValid()) {
        qFatal("cannot make a home folder for the test: %s", qPrintable(folder_.errorString()));
    }
    const QByteArray home = QFile::encodeName(folder_.path());
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("XDG_DATA_HOME", home + "/.local/share");
    qputenv("XDG_STATE_HOME", home + "/.local/state");
    qputenv("XDG_CACHE_HOME", home + "/.cache");
    QStandardPaths::setTestModeEnabled(true);
}

void startModalWatchdog() {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, qApp, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || realDialogsAllowed) {
            return;
        }
        const QString title = modal->windowTitle();
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
        QTest::qFail(qPrintable("an unexpected modal dialog was open: " + title), __FILE__, __LINE__);
    });
    timer->start(500);
}

void allowRealDialogs(bool allowed) { realDialogsAllowed = allowed; }

void chooseEntry(QComboBox* list, const QString& text) {
    const int index = list->findText(text, Qt::MatchExactly);
    QVERIFY2(index >= 0, qPrintable("no entry " + text + " in " + list->objectName()));
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}

void retype(QWidget* box, const QString& text) {
    box->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(box)) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    } else if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit()) {
        combo->lineEdit()->selectAll();
        QTest::keyClick(combo->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(combo->lineEdit(), text);
    }
}

void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QStringList visibleWindows() {
    settle();
    QStringList names;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            names << window->objectName();
        }
    }
    return names;
}

QLocale decimalCommaLocale() { return QLocale(QLocale::German, QLocale::Germany); }

}  // namespace brimwell::testing
