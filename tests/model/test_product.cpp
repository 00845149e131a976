#include <QtTest>

#include <cfloat>

#include "model/text/numbertext.h"
#include "model/window/product.h"

using namespace brimwell;

class ProductTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void net_volume_is_corrected_to_the_reference_data() {
        QTest::addColumn<float>("gross");
        QTest::addColumn<float>("T");
        QTest::addColumn<float>("Tref");
        QTest::addColumn<QString>("net");
        QTest::newRow("warmer than reference") << 5076.16f << 70.f << 60.f << "5040.63";
        QTest::newRow("at reference") << 5076.16f << 60.f << 60.f << "5076.16";
        QTest::newRow("colder than reference") << 5076.16f << 50.f << 60.f << "5111.69";
        QTest::newRow("empty") << 0.f << 70.f << 60.f << ".";
    }
    void net_volume_is_corrected_to_the_reference() {
        QFETCH(float, gross);
        QFETCH(float, T);
        QFETCH(float, Tref);
        QFETCH(QString, net);
        const auto v = NetVolume(gross, T, 0.0007f, Tref);
        QVERIFY(v);
        QCOMPARE(QString::fromStdString(formatPattern(*v, "##########.##")), net);
    }

    void net_volume_overflow_is_no_value() {
        QVERIFY(!NetVolume(FLT_MAX, -FLT_MAX, 1.0f, FLT_MAX));
    }

    void product_selection_data() {
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<bool>("changes");
        QTest::addColumn<QString>("cevalue");
        QTest::addColumn<QString>("shown");  // empty: the shown coefficient keeps its text
        QTest::newRow("regular F") << "Regular Unleaded" << "degrees F" << true << "0.0007" << "0.0007";
        QTest::newRow("diesel F") << "Diesel Fuel" << "degrees F" << true << "0.00047" << "0.00047";
        QTest::newRow("kerosene C") << "Kerosene" << "degrees C" << true << "0.000846" << "";
        QTest::newRow("premium C") << "Premium Unleaded" << "degrees C" << true << "0.00126" << "";
        QTest::newRow("typed unit") << "Diesel Fuel" << "kelvin" << false << "" << "";
        QTest::newRow("typed product") << "Jet A" << "degrees F" << false << "" << "";
    }
    void product_selection() {
        QFETCH(QString, product);
        QFETCH(QString, unit);
        QFETCH(bool, changes);
        QFETCH(QString, cevalue);
        QFETCH(QString, shown);
        const auto s = selectProduct(product.toStdString(), parseTempUnit(unit.toStdString()));
        QCOMPARE(s.has_value(), changes);
        if (changes) {
            QCOMPARE(QString::fromStdString(s->cevalue), cevalue);
            QCOMPARE(s->shownCoefficient.has_value(), !shown.isEmpty());
            if (!shown.isEmpty()) {
                QCOMPARE(QString::fromStdString(*s->shownCoefficient), shown);
            }
        }
    }

    void product_selection_writes_the_users_separator() {
        const auto s = selectProduct("Diesel Fuel", TempUnit::DegreesC, ",");
        QCOMPARE(s->cevalue, std::string("0,000846"));
    }
};

QTEST_APPLESS_MAIN(ProductTest)
#include "test_product.moc"
