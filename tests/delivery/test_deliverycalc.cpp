#include <QtTest>

#include "delivery/deliverycalc.h"

using namespace brimwell;

class DeliveryCalcTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The result boxes showed "was1", "was2" and "was3"; the steps replace them or not.
    void results_follow_the_steps_data() {
        QTest::addColumn<QString>("notation");
        QTest::addColumn<QStringList>("inputs");  // volume and temperature before, then after
        QTest::addColumn<QStringList>("results");
        const QStringList defaults{"2000.99", "65.99", "9000.88", "75.88"};
        auto with = [&defaults](int index, const QString& text) {
            QStringList inputs = defaults;
            inputs[index] = text;
            return inputs;
        };
        auto row = [](const char* name, const QStringList& inputs, const QStringList& results) {
            QTest::newRow(name) << QString("point") << inputs << results;
        };
        const QStringList zeros{"0", "0", "0"};
        const QStringList kept{"was1", "was2", "was3"};
        row("defaults", defaults, {"6999.89", "78.71", "12.72"});
        row("before volume rounded only for the delivered volume", with(0, "2000.994"),
            {"6999.89", "78.71", "12.72"});
        row("before volume rounds ties to even", with(0, "1000.125"),
            {"8000.76", "77.12", "11.13"});
        row("colder delivery", with(3, "60"), {"6999.89", "58.29", "-7.7"});
        row("equal volumes keep both temperatures", with(2, "2000.99"), {"0", "was2", "was3"});
        row("word behind the after volume", with(2, "9000.88 gal"), zeros);
        row("grouped after volume", with(2, "9,000.88"), {"6999.89", "78.71", "12.72"});
        row("empty before volume", with(0, ""), zeros);
        row("empty after volume", with(2, ""), zeros);
        row("temperature no number", with(1, "warm"), zeros);
        row("blanks around numbers", with(0, " 2000.99 "), {"6999.89", "78.71", "12.72"});
        row("tiny delivery in exponent form", {"0", "0", "5.4E-06", "75.88"},
            {"5.4E-06", "75.88", "75.88"});
        row("overflowing lenient after volume keeps all", with(2, "1e400"), kept);
        row("overflowing product stops after the volume", {"0", "0", "1e308", "1e308"},
            {"1E+308", "was2", "was3"});
        row("overflowing differential stops there", {"0", "-1e308", "1", "1e308"},
            {"1", "1E+308", "was3"});
        QTest::newRow("decimal comma") << QString("comma")
                                       << QStringList{"2000,99", "65,99", "9000,88", "75,88"}
                                       << QStringList{"6999,89", "78,71", "12,72"};
    }
    void results_follow_the_steps() {
        QFETCH(QString, notation);
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, results);
        const NumberFormat format =
            notation == "comma" ? NumberFormat{",", "."} : NumberFormat{".", ","};
        const auto out = delivery::calculateDelivery(
            {inputs[0].toStdString(), inputs[1].toStdString(), inputs[2].toStdString(),
             inputs[3].toStdString()},
            {"was1", "was2", "was3"}, format);
        QCOMPARE(QStringList({QString::fromStdString(out.deliveredVolume),
                              QString::fromStdString(out.deliveryTemperature),
                              QString::fromStdString(out.temperatureDifferential)}),
                 results);
    }
};

QTEST_APPLESS_MAIN(DeliveryCalcTest)
#include "test_deliverycalc.moc"
