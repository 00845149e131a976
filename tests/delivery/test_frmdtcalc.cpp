#include <QLineEdit>
#include <QMenuBar>
#include <QtTest>

#include "delivery/frmdtcalc.h"
#include "tests/support/scriptedhost.h"
#include "host/windowprinting.h"
#include "tests/support/windowtest.h"

using namespace brimwell;

using brimwell::testing::ScriptedHost;

class DeliveryWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedHost> host;
    std::unique_ptr<frmDTCalc> window;

    QLineEdit* box(const QString& name) {
        auto* edit = window->findChild<QLineEdit*>(name);
        if (!edit) {
            qFatal("no box %s", qPrintable(name));
        }
        return edit;
    }
    QStringList results() {
        return {box("txtCVol")->text(), box("txtCTempDelivery")->text(),
                box("txtCTempDiff")->text()};
    }
    // Replaces the whole text in one change, as pasting over a selection does.
    void paste(const QString& name, const QString& text) {
        box(name)->selectAll();
        box(name)->insert(text);
    }
    QAction* barEntry(const QString& name) {
        auto* action = window->findChild<QAction*>(name);
        if (!action || !window->findChild<QMenuBar*>()->actions().contains(action)) {
            qFatal("no menu bar entry %s", qPrintable(name));
        }
        return action;
    }


private Q_SLOTS:
    void init() {
        host = std::make_unique<ScriptedHost>();
        window = std::make_unique<frmDTCalc>(*host);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() {
        window.reset();
        host.reset();
    }

    void opens_with_the_results_of_its_default_inputs() {
        QCOMPARE(window->windowTitle(), QString("Delivery Temperature Calculator"));
        QCOMPARE(results(), QStringList({"6999.89", "78.71", "12.72"}));
        QCOMPARE(barEntry("mnuexit")->text(), QString("E&xit"));
        QCOMPARE(barEntry("mnuPrint")->text(), QString("&Print"));
    }

    void opens_with_its_results_in_a_decimal_comma_notation() {
        const QLocale pinned;
        QLocale::setDefault(brimwell::testing::decimalCommaLocale());
        window = std::make_unique<frmDTCalc>(*host);
        QLocale::setDefault(pinned);
        QCOMPARE(results(), QStringList({"6999,89", "78,71", "12,72"}));
    }

    void results_are_bold_black_on_yellow_and_not_editable_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("volume") << "txtCVol";
        QTest::newRow("temperature") << "txtCTempDelivery";
        QTest::newRow("differential") << "txtCTempDiff";
    }
    void results_are_bold_black_on_yellow_and_not_editable() {
        QFETCH(QString, name);
        QLineEdit* result = box(name);
        QVERIFY(!result->isEnabled());
        QVERIFY(result->font().bold());
        const QImage picture = result->grab().toImage();
        QCOMPARE(picture.pixelColor(picture.width() - 4, picture.height() / 2), QColor(Qt::yellow));
        bool hasBlackText = false;
        for (int x = 0; x < picture.width() && !hasBlackText; ++x) {
            for (int y = 0; y < picture.height() && !hasBlackText; ++y) {
                hasBlackText = picture.pixelColor(x, y).lightness() < 40;
            }
        }
        QVERIFY(hasBlackText);
    }

    void inputs_take_the_tab_order() {
        QStringList order;
        box("txtBVol")->setFocus();
        for (QWidget* w = box("txtBVol"); order.size() < 4; w = w->nextInFocusChain()) {
            if (w->focusPolicy() & Qt::TabFocus && w->isEnabled()) {
                order << w->objectName();
            }
        }
        QCOMPARE(order, QStringList({"txtBVol", "txtBTemp", "txtAVol", "txtATemp"}));
    }

    void clearing_an_input_zeroes_the_results_until_it_is_typed_back_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("before volume") << "txtBVol";
        QTest::newRow("before temperature") << "txtBTemp";
        QTest::newRow("after volume") << "txtAVol";
        QTest::newRow("after temperature") << "txtATemp";
    }
    void clearing_an_input_zeroes_the_results_until_it_is_typed_back() {
        QFETCH(QString, name);
        const QString original = box(name)->text();
        box(name)->setFocus();
        box(name)->selectAll();
        QTest::keyClick(box(name), Qt::Key_Delete);
        QCOMPARE(results(), QStringList({"0", "0", "0"}));
        QTest::keyClicks(box(name), original);
        QCOMPARE(results(), QStringList({"6999.89", "78.71", "12.72"}));
    }

    void one_change_recalculates_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("equal volumes keep the temperatures")
            << "txtAVol" << "2000.99" << QStringList{"0", "78.71", "12.72"};
        QTest::newRow("three decimals before") << "txtBVol" << "2000.994"
                                               << QStringList{"6999.89", "78.71", "12.72"};
        QTest::newRow("word behind the after volume")
            << "txtAVol" << "9000.88 gal" << QStringList{"0", "0", "0"};
        QTest::newRow("colder delivery")
            << "txtATemp" << "60" << QStringList{"6999.89", "58.29", "-7.7"};
    }
    void one_change_recalculates() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        paste(name, text);
        QCOMPARE(results(), expected);
    }

};

BRIMWELL_WINDOW_TEST_MAIN(DeliveryWindowTest)
#include "test_frmdtcalc.moc"
