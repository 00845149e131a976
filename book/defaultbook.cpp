#include "book/defaultbook.h"

#include <QStandardPaths>

namespace brimwell::book {

QString defaultBookPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/book.sqlite");
}

}  // namespace brimwell::book
