#include <QtTest>

#include <QGuiApplication>
#include <QImage>
#include <QLabel>

#include "host/picturestore.h"

using brimwell::PictureStore;

namespace {

const char* const kFamilies[] = {"ftank", "ctank", "vtank"};
const int kPercents[] = {0, 10, 25, 50, 75, 90, 100};

bool isProductOrange(const QColor& c) {
    return c.hsvHue() >= 15 && c.hsvHue() <= 45 && c.hsvSaturation() > 128 && c.value() > 150;
}

// The share of the picture's pixels showing product.
double orangeShare(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage();
    qint64 orange = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            orange += isProductOrange(image.pixelColor(x, y)) ? 1 : 0;
    return static_cast<double>(orange) / (image.width() * image.height());
}

QString pictureName(const char* family, int percent) {
    return QStringLiteral("%1%2").arg(QLatin1String(family)).arg(percent);
}

}  // namespace

class PictureStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void every_picture_loads_at_its_size_and_the_screen_density_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<PictureStore::Size>("size");
        QTest::addColumn<QSize>("logicalSize");
        for (const char* family : kFamilies) {
            for (const int percent : kPercents) {
                const QString name = pictureName(family, percent);
                QTest::addRow("%s normal", qPrintable(name))
                    << name << PictureStore::Size::Normal << QSize(120, 75);
                QTest::addRow("%s double", qPrintable(name))
                    << name << PictureStore::Size::Double << QSize(240, 150);
            }
        }
    }
    void every_picture_loads_at_its_size_and_the_screen_density() {
        QFETCH(QString, name);
        QFETCH(PictureStore::Size, size);
        QFETCH(QSize, logicalSize);
        PictureStore store;
        const QPixmap pixmap = store.picture(name, size);
        QVERIFY(!pixmap.isNull());
        QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(logicalSize));
        const qreal screenRatio = qGuiApp->devicePixelRatio();
        QCOMPARE(pixmap.devicePixelRatio(), screenRatio);
        QCOMPARE(pixmap.size(), logicalSize * screenRatio);
    }

    void names_outside_the_set_give_no_picture_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QString();
        QTest::newRow("family alone") << "ftank";
        QTest::newRow("percent not drawn") << "ftank5";
        QTest::newRow("unknown family") << "xtank50";
        QTest::newRow("capitals") << "FTANK50";
        QTest::newRow("file of a larger drawing") << "ftank50_x2";
        QTest::newRow("file name") << "ftank50.png";
    }
    void names_outside_the_set_give_no_picture() {
        QFETCH(QString, name);
        PictureStore store;
        QVERIFY(store.picture(name).isNull());
        QVERIFY(store.picture(name, PictureStore::Size::Double).isNull());
        QVERIFY(!store.isLoaded());
    }

    void release_forgets_the_pictures_and_the_next_use_loads_again() {
        PictureStore store;
        QVERIFY(!store.isLoaded());
        QVERIFY(!store.picture("ctank25").isNull());
        QVERIFY(store.isLoaded());
        store.release();
        QVERIFY(!store.isLoaded());
        QVERIFY(!store.picture("ctank25").isNull());
        QVERIFY(store.isLoaded());
    }

    void product_grows_with_the_percentage_at_both_sizes_data() {
        QTest::addColumn<QString>("family");
        for (const char* family : kFamilies)
            QTest::newRow(family) << QString::fromLatin1(family);
    }
    void product_grows_with_the_percentage_at_both_sizes() {
        QFETCH(QString, family);
        PictureStore store;
        double previous = -1;
        for (const int percent : kPercents) {
            const QString name = family + QString::number(percent);
            const double normal = orangeShare(store.picture(name));
            const double doubled = orangeShare(store.picture(name, PictureStore::Size::Double));
            if (percent == 0)
                QCOMPARE(normal, 0.0);
            QVERIFY2(normal > previous, qPrintable(name));
            QVERIFY2(qAbs(doubled - normal) < 0.02, qPrintable(name));
            previous = normal;
        }
    }

    void show_puts_the_picture_in_the_label_under_its_name() {
        PictureStore store;
        QLabel label;
        store.show(&label, "vtank90", PictureStore::Size::Double);
        QCOMPARE(label.property("picture").toString(), QStringLiteral("vtank90"));
        QCOMPARE(label.pixmap().deviceIndependentSize(), QSizeF(240, 150));
    }
};

QTEST_MAIN(PictureStoreTest)
#include "test_picturestore.moc"
