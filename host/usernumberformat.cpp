#include "host/usernumberformat.h"

#include <QLocale>

namespace brimwell {

NumberFormat userNumberFormat() {
    const QLocale locale;
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

std::optional<double> readStrictText(const QString& text) {
    return readStrict(text.toStdString(), userNumberFormat());
}

QString patternText(double value, std::string_view pattern) {
    return QString::fromStdString(formatPattern(value, pattern, userNumberFormat().decimal));
}

QString generalText(double value) {
    return QString::fromStdString(formatGeneral(value, userNumberFormat().decimal));
}

}  // namespace brimwell
