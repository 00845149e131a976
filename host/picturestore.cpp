#include "picturestore.h"

#include <QLabel>

namespace brimwell {

QPixmap PictureStore::picture(const QString&, Size) { return {}; }

void PictureStore::show(QLabel* label, const QString& name, Size size) {
    label->setPixmap(picture(name, size));
    label->setProperty("picture", name);
}

void PictureStore::release() { pictures_.clear(); }

}  // namespace brimwell
