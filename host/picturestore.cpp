#include "host/picturestore.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStringList>

namespace brimwell {

namespace {

bool isTankPicture(const QString& name) {
    static const QStringList names = [] {
        QStringList all;
        for (const char* family : {"ftank", "ctank", "vtank"}) {
            for (const int percent : {0, 10, 25, 50, 75, 90, 100}) {
                all.append(QStringLiteral("%1%2").arg(QLatin1String(family)).arg(percent));
            }
        }
        return all;
    }();
    return names.contains(name);
}

// Each picture is drawn at 1, 2 and 4 times its size. On a screen of ratio 1.5 or more the drawing
// of twice the pixels is handed out at a device pixel ratio of 2, so the picture keeps its size
// and stays sharp; lower ratios (1.25) get the plain drawing.
struct Variant {
    QString file;
    int pixelRatio;
};

Variant variantFor(const QString& name, PictureStore::Size size) {
    const int pixelRatio = qGuiApp && qGuiApp->devicePixelRatio() >= 1.5 ? 2 : 1;
    const int scale = pixelRatio * (size == PictureStore::Size::Double ? 2 : 1);
    const QString suffix = scale == 1 ? QString() : QStringLiteral("_x%1").arg(scale);
    return {name + suffix, pixelRatio};
}

}  // namespace

QPixmap PictureStore::picture(const QString& name, Size size) {
    if (!isTankPicture(name)) {
        return {};
    }
    const Variant variant = variantFor(name, size);
    auto cached = pictures_.constFind(variant.file);
    if (cached != pictures_.constEnd()) {
        return *cached;
    }

    QPixmap loaded(QStringLiteral(":/pictures/%1.png").arg(variant.file));
    loaded.setDevicePixelRatio(variant.pixelRatio);
    pictures_.insert(variant.file, loaded);
    return loaded;
}

void PictureStore::show(QLabel* label, const QString& name, Size size) {
    label->setPixmap(picture(name, size));
    label->setProperty("picture", name);
}

void PictureStore::release() { pictures_.clear(); }

}  // namespace brimwell
