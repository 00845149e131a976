#include <QtTest>

#include "shell/tankanimation.h"

using brimwell::TankAnimation;

class TankAnimationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void each_tick_shows_and_stores_the_next_level_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("after");
        QTest::newRow("0") << "0" << "ftank" << "ftank10" << "10";
        QTest::newRow("10") << "10" << "ftank" << "ftank25" << "25";
        QTest::newRow("25") << "25" << "ftank" << "ftank50" << "50";
        QTest::newRow("50") << "50" << "ftank" << "ftank75" << "75";
        QTest::newRow("75") << "75" << "ftank" << "ftank90" << "90";
        QTest::newRow("90") << "90" << "ftank" << "ftank100" << "100";
        QTest::newRow("100 wraps to the empty tank") << "100" << "ftank" << "ftank0" << "0";
        QTest::newRow("cylindrical series") << "50" << "ctank" << "ctank75" << "75";
        QTest::newRow("unknown level") << "5" << "ftank" << "" << "5";
        QTest::newRow("empty level") << "" << "ctank" << "" << "";
        QTest::newRow("level with blanks") << " 0" << "ftank" << "" << " 0";
    }
    void each_tick_shows_and_stores_the_next_level() {
        QFETCH(QString, before);
        QFETCH(QString, family);
        QFETCH(QString, picture);
        QFETCH(QString, after);
        TankAnimation animation(before);
        QCOMPARE(animation.advance(family), picture);
        QCOMPARE(animation.level(), after);
    }
};

QTEST_APPLESS_MAIN(TankAnimationTest)
#include "test_tankanimation.moc"
