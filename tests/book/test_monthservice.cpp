// The month service on a real book: a tank's month, the day before it and the tank's last day,
// read as one, whichever month is asked.

#include <QTemporaryDir>
#include <QtTest>

#include "book/booktank.h"
#include "book/monthservice.h"
#include "book/store.h"

using namespace brimwell;
using namespace brimwell::book;

class MonthServiceTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private Q_SLOTS:
    void a_month_comes_with_the_day_before_it_and_the_last_day_data() {
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QString>("asked");  // empty: the last day's month
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("last");
        const QStringList dates{"2026-02-27", "2026-03-02", "2026-03-09", "2026-04-01"};
        QTest::newRow("a month between") << dates << "2026-03" << "2026-03" << "2026-02-27" << 2 << "2026-04-01";
        QTest::newRow("the last day's month") << dates << "" << "2026-04" << "2026-03-09" << 1 << "2026-04-01";
        QTest::newRow("a month without days") << dates << "2026-01" << "2026-01" << "" << 0 << "2026-04-01";
        QTest::newRow("the book's last possible day") << QStringList{"2026-03-02", "9999-12-31"} << ""
                                                       << "9999-12" << "2026-03-02" << 1 << "9999-12-31";
        QTest::newRow("no day yet") << QStringList{} << "" << "" << "" << 0 << "";
    }
    void a_month_comes_with_the_day_before_it_and_the_last_day() {
        QFETCH(QStringList, dates);
        QFETCH(QString, asked);
        QFETCH(QString, month);
        QFETCH(QString, before);
        QFETCH(int, days);
        QFETCH(QString, last);
        const auto store = Store::open(dir_.filePath(QTest::currentDataTag()));
        QVERIFY(store);
        TankSettings tank;
        tank.name = "T1";
        tank.shape.vertical = true;
        tank.shape.diameter = 120;
        tank.shape.length = 120;
        tank.openingLevel = 50;
        QVERIFY((*store)->addTank(tank));
        // Another tank's days, before the month and after the last day, are none of T1's.
        TankSettings other = tank;
        other.name = "T2";
        QVERIFY((*store)->addTank(other));
        for (const char* date : {"2026-02-28", "2026-05-01"}) {
            Day day;
            day.date = date;
            day.closingLevel = 80;
            day.pumped = 0;
            QVERIFY((*store)->recordDay("T2", day));
        }
        for (const QString& date : dates) {
            Day day;
            day.date = date.toStdString();
            day.closingLevel = 40;
            day.pumped = 10;
            QVERIFY((*store)->recordDay("T1", day));
        }
        const auto gauged = gaugedTank(tank);
        QVERIFY(gauged);
        const auto read = readTankMonth(**store, tank, *gauged,
                                        asked.isEmpty() ? std::nullopt
                                                        : std::optional(asked.toStdString()));
        QVERIFY2(read, read ? "" : read.error().c_str());
        QCOMPARE(QString::fromStdString(read->month), month);
        QCOMPARE(QString::fromStdString(read->records.before ? read->records.before->date : ""), before);
        QCOMPARE(static_cast<int>(read->records.days.size()), days);
        QCOMPARE(QString::fromStdString(read->lastDay ? read->lastDay->date : ""), last);
        QCOMPARE(read->report.has_value(), true);
    }
};

QTEST_GUILESS_MAIN(MonthServiceTest)
#include "test_monthservice.moc"
