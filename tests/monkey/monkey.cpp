// A seeded monkey over the whole program: the shell with its splash, launcher, About box and the
// three calculators, driven by thousands of random user actions on the offscreen platform, with
// every dialog answered at random by a scripted host. After each action it checks what the
// program promises its users: no NaN or infinity in any text, the tank window's unit labels name
// the units its values are shown in, one window on screen as the lifecycle says, and the program
// ends only when the launcher is closed (then a new shell starts and the run goes on).
//
// Usage: brimwell_monkey SEED COUNT [verbose]
// The same seed replays the same actions; a fault prints the tail of the action log.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <mutex>
#include <numeric>
#include <optional>
#include <random>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

#include "tank/frmullex.h"
#include "tests/monkey/monkeykit.h"
#include "tests/support/scriptedhost.h"
#include "tests/support/windowtest.h"
#include "shell/shell.h"

using namespace brimwell::monkey;

namespace {

using brimwell::frmUllex;
using brimwell::Shell;

const QStringList kWindowNames{"frmSplash", "frmBrimwell", "frmUllex", "frmPCalc", "frmDTCalc", "frmAbout"};

const QStringList kSpecialTexts{
    "", " ", "0", "-0", "+0", ".", ",", "-", "+", "e", "E5", "1e", "1e+", "1e-", "1e308", "1.8e308",
    "-1e309", "1e-308", "4.9e-324", "1e-400", "3.4028235e38", "3.5e38", "-3.5e38", "1.1e-38", "1e-45",
    "9007199254740993", "32767", "32768", "-32768", "2147483648", "nan", "NaN", "-nan", "inf", "-inf",
    "Infinity", "1.#INF", "\u221e", "abc", "x", "gal", "3 gal", "96 inches", "1,000", "10,000", "1.000,5",
    "1 000", "1\u00a0000", "1'000", "0x10", "&H10", "1d3", "\u0663", "\uff11\uff12", "\u00bd", "\u00b2",
    "\u00c4", "\u65e5\u672c", "\U0001F642", " 7 ", "--5", "+-5", "..5", "5..", "1e1e1", "0.10", "0.001",
    "200", "-1", "96", "324", "48", "70", "60", "12", "4", "0.5", "20", "30", "1,5", "2,75"};

QString digits(Random& rng, int count) {
    QString out;
    for (int i = 0; i < count; ++i) {
        out += QChar('0' + rng.below(10));
    }
    return out;
}

QString randomNumber(Random& rng) {
    static const int kSizes[] = {1, 1, 2, 2, 3, 4, 6, 9, 15, 20, 40, 310, 400};
    QString out;
    if (rng.chance(25)) {
        out += rng.chance(70) ? "-" : "+";
    }
    out += digits(rng, rng.pick(std::vector<int>(std::begin(kSizes), std::end(kSizes))));
    if (rng.chance(5)) {
        out += QLocale().groupSeparator() + digits(rng, 3);
    }
    if (rng.chance(50)) {
        const int separator = rng.below(10);
        out += separator < 4 ? QString(".") : separator < 7 ? QString(",") : QLocale().decimalPoint();
        out += digits(rng, rng.below(8));
    }
    if (rng.chance(15)) {
        out += rng.chance(50) ? "e" : "E";
        if (rng.chance(50)) {
            out += rng.chance(50) ? "-" : "+";
        }
        out += QString::number(rng.pick(std::vector<int>{0, 1, 5, 37, 38, 39, 300, 307, 308, 309, 320, 325, 400, 4000}));
    }
    return out;
}

QString randomScribble(Random& rng) {
    static const QString kAlphabet = QString::fromUtf8("0123456789.,-+eE  xyz#%$/\u00e9\u00c4\u65e5\u00a0");
    QString out;
    const int length = rng.below(12);
    for (int i = 0; i < length; ++i) {
        out += kAlphabet.at(rng.below(static_cast<int>(kAlphabet.size())));
    }
    return out;
}

// What a user might type into any box.
QString randomText(Random& rng) {
    const int kind = rng.below(100);
    if (kind == 0) {
        return digits(rng, 2000 + rng.below(40000));  // a page of digits, pasted or typed
    }
    if (kind < 35) {
        return rng.pick(kSpecialTexts);
    }
    if (kind < 75) {
        return randomNumber(rng);
    }
    if (kind < 90) {
        return rng.pick(kSpecialTexts) + randomNumber(rng) + (rng.chance(50) ? rng.pick(kSpecialTexts) : QString());
    }
    return randomScribble(rng);
}

// ---------------------------------------------------------------------------------------------
// The scripted host, answering every dialog at random and writing what it was asked to the log.

class MonkeyHost : public brimwell::testing::ScriptedHost {
public:
    MonkeyHost(Random& rng_, const QString& folder_) : rng(rng_), folder(folder_) {}

    int dialogsInAction = 0;
    bool endlessDialogs = false;

    void showMessage(QWidget* parent, const QString& text) override {
        count();
        note("  message: " + text);
        ScriptedHost::showMessage(parent, text);
    }
    bool askYesNo(QWidget* parent, const QString& text) override {
        if (yesNoAnswers.isEmpty()) {
            yesNoAnswers << (!count() && rng.chance(60));
        }
        note(QString("  question answered %1: %2").arg(yesNoAnswers.first() ? "Yes" : "No", text));
        return ScriptedHost::askYesNo(parent, text);
    }
    QString promptText(QWidget* parent, const QString& caption, const QString& label) override {
        if (promptAnswers.isEmpty()) {
            static const QStringList kIncrements{"0.1", "0.10", "1", "12", "4", "0", "-1", "200", "0.001", "0,5", "1e-3"};
            promptAnswers << (count() || rng.chance(10) ? QString()
                              : rng.chance(50)       ? rng.pick(kIncrements)
                                                     : randomText(rng));
        }
        note("  prompt answered " + quoted(promptAnswers.first()));
        return ScriptedHost::promptText(parent, caption, label);
    }
    QString chooseFile(QWidget* parent, const QString& filter) override {
        if (fileAnswers.isEmpty()) {
            fileAnswers << (count() ? QString() : randomPath());
        }
        QFile chosen(fileAnswers.first());
        const QFileInfo info(chosen);
        if (info.isFile() && info.size() < (1 << 22) && chosen.open(QIODevice::ReadOnly)) {
            chosenFileBefore = {fileAnswers.first(), chosen.readAll()};
        }
        note("  file dialog answered " + quoted(fileAnswers.first()));
        return ScriptedHost::chooseFile(parent, filter);
    }
    std::unique_ptr<QPrinter> defaultPrinter(const QString& documentName) override {
        note("  printer: " + (printerPdfPath.isEmpty() ? QString("none") : printerPdfPath));
        return ScriptedHost::defaultPrinter(documentName);
    }

    // A default printer for the next action: none, a PDF, or one that cannot be written.
    void choosePrinter() {
        const QString printers[] = {{}, folder + "/printout.pdf", folder + "/missing/printout.pdf", "/dev/full"};
        printerPdfPath = printers[rng.weighted({50, 35, 10, 5})];
    }

    // The file the last file dialog chose, and its bytes then, when it was there.
    std::optional<std::pair<QString, QByteArray>> chosenFileBefore;

    // Forgets what the last action asked, so the records do not grow without end.
    void startAction() {
        dialogsInAction = 0;
        chosenFileBefore.reset();
        messages.clear();
        questions.clear();
        prompts.clear();
        promptCaptions.clear();
        fileFilters.clear();
        printedDocuments.clear();
        dialogs.clear();
    }

private:
    // True once one action has asked so much that it would never end; then every dialog cancels.
    bool count() {
        if (++dialogsInAction > 1000) {
            endlessDialogs = true;
        }
        return endlessDialogs;
    }
    QString randomPath() {
        const QString paths[] = {
            {},                                          // cancelled
            folder + "/chart.txt",
            folder + "/chart",                           // no extension
            folder + "/existing.txt",                    // a file that was there before
            folder + "/missing/chart.txt",               // a folder that is not there
            "/dev/full",                                 // a full disk
            folder,                                      // a folder, not a file
            folder + "/readonly/chart.txt",              // a folder that cannot be written
            folder + QString::fromUtf8("/t\u00e4nk \u65e5.txt"),
            folder + "/",
        };
        return paths[rng.weighted({15, 30, 10, 10, 7, 8, 5, 5, 5, 5})];
    }

    Random& rng;
    QString folder;
};

// ---------------------------------------------------------------------------------------------
// The monkey.

// The program's windows still loaded (shown or hidden), in name order.
QList<QWidget*> programWindows() {
    QList<QWidget*> found;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (kWindowNames.contains(window->objectName())) {
            found << window;
        }
    }
    std::sort(found.begin(), found.end(),
              [](QWidget* a, QWidget* b) { return a->objectName() < b->objectName(); });
    return found;
}

QString nameOf(const QObject* object) {
    if (!object->objectName().isEmpty() && !object->objectName().startsWith("qt_")) {
        return object->objectName();
    }
    return object->parent() ? nameOf(object->parent()) + "/" + object->metaObject()->className()
                            : QString(object->metaObject()->className());
}

template <typename T>
QList<T*> usable(QWidget* window) {
    QList<T*> found;
    for (T* widget : window->findChildren<T*>()) {
        if (widget->isVisible() && widget->isEnabled() && !qobject_cast<QMenuBar*>(widget->parentWidget())) {
            found << widget;
        }
    }
    return found;
}

const QRegularExpression kNotANumberText("(?<![a-z])(nan|inf)", QRegularExpression::CaseInsensitiveOption);

class Monkey : public QObject {
public:
    Monkey(quint64 seed, quint64 count_) : rng(seed), count(count_), host(rng, folder.path()) {
        QDir(folder.path()).mkdir("readonly");
        QFile::setPermissions(folder.path() + "/readonly", QFile::ReadOwner | QFile::ExeOwner);
        QFile existing(folder.path() + "/existing.txt");
        if (existing.open(QIODevice::WriteOnly)) {
            existing.write("a file that was there before\r\n");
        }
        qApp->installEventFilter(this);
        startShell();
    }
    ~Monkey() override {
        qApp->removeEventFilter(this);
        shell.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QFile::setPermissions(folder.path() + "/readonly", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void step() {
        if (actionsDone.load() >= count) {
            std::printf("seed %llu: %llu actions, %d program starts, %lld dialogs: no fault\n",
                        static_cast<unsigned long long>(runSeed), static_cast<unsigned long long>(count), starts,
                        static_cast<long long>(dialogs));
            QCoreApplication::exit(0);
            return;
        }
        ++actionsDone;
        host.startAction();
        host.choosePrinter();
        try {
            act();
        } catch (const std::exception& e) {
            fail(QString("an exception escaped: ") + e.what());
            return;
        } catch (...) {
            fail("an exception escaped");
            return;
        }
        dialogs += host.dialogsInAction;
        QMetaObject::invokeMethod(this, &Monkey::check, Qt::QueuedConnection);
    }

protected:
    // Only the monkey fires the program's timers, so that a seed replays exactly; and a request
    // to end the program is recorded rather than obeyed.
    bool eventFilter(QObject* target, QEvent* event) override {
        if (event->type() == QEvent::Quit && target == qApp) {
            quitRequested = true;
            return true;
        }
        if (event->type() == QEvent::Timer && qobject_cast<QTimer*>(target) && target->parent() &&
            kWindowNames.contains(target->parent()->objectName())) {
            return true;
        }
        return false;
    }

private:
    void startShell() {
        shell = std::make_unique<Shell>(host);
        shell->start();
        ++starts;
        note(QString("program start %1").arg(starts));
    }

    [[noreturn]] void fail(const QString& problem) {
        std::fprintf(stderr, "\nMONKEY FAULT: %s\n", qPrintable(problem));
        printTail();
        std::_Exit(1);
    }

    // The visible window the user acts on: the one the lifecycle allows, or any if it is broken.
    QWidget* activeWindow() {
        for (QWidget* window : programWindows()) {
            if (window->isVisible()) {
                return window;
            }
        }
        return nullptr;
    }

    void act() {
        QWidget* window = activeWindow();
        if (!window) {
            fail("no window to act on");
        }
        chosenLists.clear();
        unchangedWindow = nullptr;
        tank = qobject_cast<frmUllex*>(window);
        tankBefore = tank ? tankState(tank) : QStringList();
        const QString where = QString("#%1 %2: ").arg(actionsDone.load()).arg(window->objectName());
        if (QWidget* popup = QApplication::activePopupWidget()) {
            answerPopup(where, popup);
            return;
        }

        QList<QLineEdit*> boxes;
        for (QLineEdit* box : usable<QLineEdit>(window)) {
            if (!box->isReadOnly()) {
                boxes << box;
            }
        }
        const QList<QComboBox*> lists = usable<QComboBox>(window);
        const QList<QAbstractButton*> buttons = usable<QAbstractButton>(window);
        QList<QAction*> barEntries;
        QList<QAction*> menuItems;
        if (auto* bar = window->findChild<QMenuBar*>()) {
            barEntries = bar->actions();
            for (QAction* entry : barEntries) {
                if (entry->menu()) {
                    menuItems << entry->menu()->actions();
                }
            }
        }
        QList<QTimer*> timers;
        for (QTimer* timer : window->findChildren<QTimer*>(Qt::FindDirectChildrenOnly)) {
            timers << timer;
        }

        const int chosen = rng.weighted({boxes.isEmpty() ? 0 : 30, lists.isEmpty() ? 0 : 14,
                                         buttons.isEmpty() ? 0 : 12, barEntries.isEmpty() ? 0 : 6,
                                         menuItems.isEmpty() ? 0 : 2, 10, timers.isEmpty() ? 0 : 8, 1});
        switch (chosen) {
        case 0:
            type(where, rng.pick(boxes));
            break;
        case 1:
            choose(where, rng.pick(lists));
            break;
        case 2: {
            QAbstractButton* button = rng.pick(buttons);
            note(where + "click " + nameOf(button));
            QTest::mouseClick(button, Qt::LeftButton);
            break;
        }
        case 3: {
            QList<QAction*> enabled;
            for (QAction* entry : barEntries) {
                if (entry->isEnabled()) {
                    enabled << entry;
                }
            }
            QAction* entry = rng.pick(enabled.isEmpty() || rng.chance(20) ? barEntries : enabled);
            if (nameOf(entry).startsWith("mnuPrint") || nameOf(entry) == "mnuTGen") {
                keepsTexts(window);
            }
            auto* bar = window->findChild<QMenuBar*>();
            const QRect place = bar->actionGeometry(entry);
            if (rng.chance(70) && place.isValid()) {
                note(where + "click the menu bar entry " + nameOf(entry));
                QTest::mouseClick(bar, Qt::LeftButton, {}, place.center());
            } else {
                note(where + "trigger the menu command " + nameOf(entry));
                entry->trigger();
            }
            break;
        }
        case 4: {
            QAction* item = rng.pick(menuItems);
            keepsTexts(window);
            note(where + "trigger the menu item " + nameOf(item));
            item->trigger();
            break;
        }
        case 5:
            pressKey(where, window);
            break;
        case 6: {
            QTimer* timer = rng.pick(timers);
            note(where + "timer " + nameOf(timer) + " fires");
            QMetaObject::invokeMethod(timer, "timeout");
            break;
        }
        default:
            note(where + "close the window");
            window->close();
            break;
        }
    }

    // Any list's entry, a little misspelt at times: what a user types into an editable list.
    QString entryLike(QComboBox* list) {
        QStringList entries;
        for (QComboBox* any : list->window()->findChildren<QComboBox*>()) {
            for (int i = 0; i < any->count(); ++i) {
                entries << any->itemText(i);
            }
        }
        const QString entry = rng.pick(entries);
        const int change = rng.below(10);
        return change == 0 ? entry.toUpper() : change == 1 ? entry + " " : change == 2 ? entry.chopped(1) : entry;
    }

    // The action about to run must leave every text of the window as it was.
    void keepsTexts(QWidget* window) {
        unchangedWindow = window;
        textsBefore = windowTexts(window);
    }

    static QStringList windowTexts(const QWidget* window) {
        QStringList texts;
        for (const QLineEdit* box : window->findChildren<QLineEdit*>()) {
            texts << nameOf(box) + "=" + box->text();
        }
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (!label->objectName().startsWith("sbStatusBar")) {  // the clock
                texts << nameOf(label) + "=" + label->text() + "=" + label->property("picture").toString();
            }
        }
        for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            texts << nameOf(button) + (button->isChecked() ? "=on" : "=off");
        }
        return texts;
    }

    // An open drop-down list or menu: pick an entry with the keyboard, or shut it with Escape.
    void answerPopup(const QString& where, QWidget* popup) {
        auto* list = qobject_cast<QComboBox*>(popup->parentWidget());
        auto* view = list ? popup->findChild<QAbstractItemView*>() : nullptr;
        if (view && rng.chance(60)) {
            const int downs = rng.below(list->count() + 1);
            note(where + QString("in the open %1: Down x%2, Enter").arg(nameOf(list)).arg(downs));
            chosenLists << list->objectName();
            for (int i = 0; i < downs; ++i) {
                QTest::keyClick(view, Qt::Key_Down);
            }
            QTest::keyClick(view, Qt::Key_Return);
        } else {
            note(where + "Escape shuts the open " + nameOf(popup));
            QTest::keyClick(view ? static_cast<QWidget*>(view) : popup, Qt::Key_Escape);
        }
        if (QApplication::activePopupWidget() == popup) {
            popup->close();
        }
    }

    void type(const QString& where, QLineEdit* box) {
        watch(box);
        auto* list = qobject_cast<QComboBox*>(box->parentWidget());
        box->setFocus();
        const int mode = rng.below(100);
        if (mode < 50) {
            const QString text = list && rng.chance(50) ? entryLike(list) : randomText(rng);
            note(where + "retype " + nameOf(box) + " " + quoted(text));
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Delete);
            typeText(box, text);
        } else if (mode < 70) {
            const QString text = rng.chance(50) ? randomScribble(rng).left(3) : randomText(rng);
            const int at = rng.below(static_cast<int>(box->text().size()) + 1);
            note(where + QString("type %1 into %2 at %3").arg(quoted(text), nameOf(box)).arg(at));
            box->setCursorPosition(at);
            typeText(box, text);
        } else if (mode < 85) {
            const int at = rng.below(static_cast<int>(box->text().size()) + 1);
            const int times = 1 + rng.below(4);
            const bool backspace = rng.chance(50);
            note(where + QString("%1 x%2 in %3 at %4")
                             .arg(backspace ? "Backspace" : "Delete")
                             .arg(times)
                             .arg(nameOf(box))
                             .arg(at));
            box->setCursorPosition(at);
            for (int i = 0; i < times; ++i) {
                QTest::keyClick(box, backspace ? Qt::Key_Backspace : Qt::Key_Delete);
            }
        } else {
            const QString text = randomText(rng);
            const bool all = rng.chance(70);
            note(where + QString("paste %1 over %2 of %3").arg(quoted(text), all ? "all" : "nothing", nameOf(box)));
            QGuiApplication::clipboard()->setText(text);
            if (all) {
                box->selectAll();
            }
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        }
    }

    // Types like a keyboard: one key press per character. A page of text is pasted instead, as
    // nobody types it, and each key press makes the boxes that rewrite themselves read it all.
    static void typeText(QLineEdit* box, const QString& text) {
        if (text.size() > 500) {
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            return;
        }
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
                QTest::keyClick(box, c.toLatin1());
            } else {
                const qsizetype length = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
                i += length - 1;
            }
        }
    }

    // Chooses an entry as the list's drop-down does: a new entry becomes current, the current one
    // puts its text back into an editable list; either way it is a choice.
    void choose(const QString& where, QComboBox* list) {
        const bool same = rng.chance(25) && list->currentIndex() >= 0;
        const int index = same ? list->currentIndex() : rng.below(list->count());
        note(where + QString("choose %1 in %2%3").arg(quoted(list->itemText(index)), nameOf(list), same ? " again" : ""));
        chosenLists << list->objectName();
        if (index != list->currentIndex()) {
            list->setCurrentIndex(index);
        } else if (list->lineEdit()) {
            list->lineEdit()->setText(list->itemText(index));
        }
        Q_EMIT list->activated(index);
    }

    void pressKey(const QString& where, QWidget* window) {
        struct Key {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            const char* name;
        };
        static const Key kKeys[] = {
            {Qt::Key_Up, {}, "Up"},           {Qt::Key_Down, {}, "Down"},
            {Qt::Key_PageUp, {}, "PageUp"},   {Qt::Key_PageDown, {}, "PageDown"},
            {Qt::Key_Home, {}, "Home"},       {Qt::Key_End, {}, "End"},
            {Qt::Key_Left, {}, "Left"},       {Qt::Key_Right, {}, "Right"},
            {Qt::Key_Backspace, {}, "Backspace"}, {Qt::Key_Delete, {}, "Delete"},
            {Qt::Key_Return, {}, "Return"},   {Qt::Key_Enter, {}, "Enter"},
            {Qt::Key_Escape, {}, "Escape"},   {Qt::Key_Tab, {}, "Tab"},
            {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab"}, {Qt::Key_Space, {}, "Space"},
            {Qt::Key_M, {}, "m"},             {Qt::Key_D, {}, "d"},
            {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"}, {Qt::Key_Y, Qt::ControlModifier, "Ctrl+Y"},
            {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"}, {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},
            {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"}, {Qt::Key_X, Qt::AltModifier, "Alt+X"},
            {Qt::Key_P, Qt::AltModifier, "Alt+P"},      {Qt::Key_T, Qt::AltModifier, "Alt+T"},
            {Qt::Key_A, Qt::AltModifier, "Alt+A"},      {Qt::Key_F4, Qt::AltModifier, "Alt+F4"},
            {Qt::Key_F4, {}, "F4"},                     {Qt::Key_Down, Qt::AltModifier, "Alt+Down"},
        };
        const Key& key = kKeys[rng.below(static_cast<int>(std::size(kKeys)))];
        QList<QWidget*> targets{window};
        for (QWidget* widget : usable<QWidget>(window)) {
            if (widget->focusPolicy() != Qt::NoFocus) {
                targets << widget;
            }
        }
        QWidget* target = rng.chance(30) && window->focusWidget() ? window->focusWidget() : rng.pick(targets);
        if (auto* box = qobject_cast<QLineEdit*>(target)) {
            watch(box);
        }
        // Keys that move through a list choose in it; in an editable list, only the arrows do.
        auto* list = qobject_cast<QComboBox*>(target) ? qobject_cast<QComboBox*>(target)
                                                      : qobject_cast<QComboBox*>(target->parentWidget());
        const bool arrows = key.modifiers == Qt::NoModifier &&
                            (key.key == Qt::Key_Up || key.key == Qt::Key_Down || key.key == Qt::Key_PageUp ||
                             key.key == Qt::Key_PageDown);
        if (list && (arrows || !list->isEditable())) {
            chosenLists << list->objectName();
        }
        note(where + QString("key %1 to %2").arg(key.name, nameOf(target)));
        target->setFocus();
        QTest::keyClick(target, key.key, key.modifiers);
    }

    // Remembers the text a user edit leaves in a box: only there may NaN or infinity be read.
    static void watch(QLineEdit* box) {
        if (!box->property("monkeyWatched").toBool()) {
            box->setProperty("monkeyWatched", true);
            QObject::connect(box, &QLineEdit::textEdited, box,
                             [box](const QString& text) { box->setProperty("monkeyEdited", text); });
        }
    }

    void check() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (host.endlessDialogs) {
            fail("one action kept asking for more than 1000 dialogs");
        }
        checkLifecycle();
        for (QWidget* window : programWindows()) {
            checkTexts(window);
            if (auto* tankWindow = qobject_cast<frmUllex*>(window)) {
                checkUnitLabels(tankWindow);
            }
        }
        if (tank) {
            checkOnlyChoicesConvert();
        }
        if (unchangedWindow) {
            const QStringList after = windowTexts(unchangedWindow);
            for (int i = 0; i < after.size() && i < textsBefore.size(); ++i) {
                if (after[i] != textsBefore[i]) {
                    fail("a command that changes nothing changed " + quoted(textsBefore[i]) + " to " + quoted(after[i]));
                }
            }
        }
        if (host.chosenFileBefore && host.messages.filter("could not be saved").size() > 0) {
            QFile file(host.chosenFileBefore->first);
            if (!file.open(QIODevice::ReadOnly) || file.readAll() != host.chosenFileBefore->second) {
                fail("a chart that could not be saved changed the file that was there: " + file.fileName());
            }
        }
        QMetaObject::invokeMethod(this, &Monkey::step, Qt::QueuedConnection);
    }

    void checkLifecycle() {
        QStringList visible;
        QStringList loaded;
        for (QWidget* window : programWindows()) {
            loaded << window->objectName();
            if (window->isVisible()) {
                visible << window->objectName();
            }
        }
        if (visible.isEmpty()) {
            if (!quitRequested) {
                fail("no window is on screen, yet the program did not end; loaded: " + loaded.join(", "));
            }
            if (!loaded.isEmpty()) {
                fail("the program ended with windows still loaded: " + loaded.join(", "));
            }
            if (shell->pictures().isLoaded()) {
                fail("the program ended with the picture store still loaded");
            }
            note("the program ended");
            quitRequested = false;
            startShell();
            return;
        }
        if (quitRequested) {
            fail("the program asked to end while " + visible.join(", ") + " was on screen");
        }
        const QStringList expectedLoaded =
            visible == QStringList{"frmAbout"} ? QStringList{"frmAbout", "frmBrimwell"} : visible;
        if (visible.size() != 1 || loaded != expectedLoaded) {
            fail("wrong windows: visible " + visible.join(", ") + "; loaded " + loaded.join(", "));
        }
    }

    void checkTexts(QWidget* window) {
        auto bad = [](const QString& text) { return kNotANumberText.match(text).hasMatch(); };
        for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
            // What the user typed, and what a paste may have put in: the clipboard counts as typed.
            const QVariant edited = box->property("monkeyEdited");
            const QString pasted = QGuiApplication::clipboard()->text();
            const bool typed = (edited.isValid() && edited.toString() == box->text()) ||
                               (!pasted.isEmpty() && box->text().contains(pasted));
            if (bad(box->text()) && !typed) {
                fail(QString("%1 shows %2, which the user did not type").arg(nameOf(box), quoted(box->text())));
            }
        }
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (bad(label->text())) {
                fail(QString("%1 shows %2").arg(nameOf(label), quoted(label->text())));
            }
        }
    }

    // What only a choice in the tank window's lists may change: the units its values are shown
    // in (each by its own list) and the coefficient (by the product or temperature list).
    static QStringList tankState(const frmUllex* window) {
        return {window->shownLengthUnit(), window->shownVolumeUnit(), window->shownTemperatureUnit(),
                window->coefficient()};
    }

    void checkOnlyChoicesConvert() {
        const QStringList after = tankState(tank);
        const char* const lists[] = {"cboLengthUnits", "cboVolumeUnits", "cboTempUnits", "cboProductType"};
        for (int i = 0; i < after.size(); ++i) {
            const bool chosen =
                chosenLists.contains(lists[i]) || (i == 3 && chosenLists.contains("cboTempUnits"));
            if (after[i] != tankBefore[i] && !chosen) {
                fail(QString("%1 became %2 although nothing was chosen in %3")
                         .arg(i == 3 ? "the coefficient" : "the unit shown", quoted(after[i]), lists[i]));
            }
        }
    }

    void checkUnitLabels(frmUllex* window) {
        auto expect = [window, this](const char* label, const QString& unit) {
            auto* found = window->findChild<QLabel*>(label);
            if (!found || found->text() != unit) {
                fail(QString("%1 reads %2 while the values are shown in %3")
                         .arg(label, found ? quoted(found->text()) : QString("nothing"), quoted(unit)));
            }
        };
        for (const char* label : {"lbllengths_0", "lbllengths_1", "lbllengths_2"}) {
            expect(label, window->shownLengthUnit());
        }
        for (const char* label : {"lblVolumes_0", "lblVolumes_1", "lblVolumes_2", "lblVolumes_3"}) {
            expect(label, window->shownVolumeUnit());
        }
        expect("lblTemp_0", window->shownTemperatureUnit());
        expect("lblTemp_1", window->shownTemperatureUnit());
        expect("lblTemp_2", "degrees F");
    }

    Random rng;
    quint64 count;
    QTemporaryDir folder;
    MonkeyHost host;
    std::unique_ptr<Shell> shell;
    bool quitRequested = false;
    QSet<QString> chosenLists;  // the lists the last action chose in
    QPointer<frmUllex> tank;    // the tank window the last action was in, and its state before it
    QStringList tankBefore;
    QPointer<QWidget> unchangedWindow;  // the window the last action must have left as it was
    QStringList textsBefore;
    int starts = 0;
    qint64 dialogs = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SEED COUNT [verbose]\n", argv[0]);
        return 2;
    }
    runSeed = std::strtoull(argv[1], nullptr, 10);
    const quint64 count = std::strtoull(argv[2], nullptr, 10);
    verbose = argc > 3 && std::string(argv[3]) == "verbose";

    qputenv("QT_QPA_PLATFORM", "offscreen");
    const brimwell::testing::TemporaryHome home;
    // The seed also picks the user's notation: a decimal point or comma, and group separators and
    // decimal signs that take more than one byte.
    const QLocale locales[] = {QLocale(QLocale::English, QLocale::UnitedStates),
                               QLocale(QLocale::German, QLocale::Germany),
                               QLocale(QLocale::French, QLocale::France),
                               QLocale(QLocale::Arabic, QLocale::Egypt)};
    const QLocale locale = locales[runSeed % std::size(locales)];
    QLocale::setDefault(locale);
    std::printf("monkey seed %llu, %llu actions, locale %s\n", static_cast<unsigned long long>(runSeed),
                static_cast<unsigned long long>(count), qPrintable(locale.name()));
    std::fflush(stdout);
    for (std::size_t i = 0; i < std::size(kCrashSignals); ++i) {
        previousHandlers[i] = std::signal(kCrashSignals[i], onCrash);
    }
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(printTail);
#endif
    qInstallMessageHandler(onQtMessage);

    QApplication app(argc, argv);
    Monkey monkey(runSeed, count);
    startHangWatch();
    QMetaObject::invokeMethod(&monkey, &Monkey::step, Qt::QueuedConnection);
    return QApplication::exec();
}
