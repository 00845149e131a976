#include "bookwindow/fieldmarks.h"

#include <QWidget>

namespace brimwell {

void markField(QWidget& field, const QString& reason) {
    field.setStyleSheet(QStringLiteral("border: 2px solid #c00000;"));
    field.setToolTip(reason);
    field.setAccessibleDescription(reason);
    field.setProperty("problem", reason);
}

void clearMark(QWidget& field) {
    if (!field.property("problem").isValid()) {
        return;
    }
    field.setStyleSheet({});
    field.setToolTip({});
    field.setAccessibleDescription({});
    field.setProperty("problem", QVariant());
}

}  // namespace brimwell
