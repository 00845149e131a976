#pragma once

#include <QString>

#include "model/text/numbertext.h"

namespace brimwell {

// The number notation of the user's locale (QLocale(), which tests may pin with setDefault).
NumberFormat userNumberFormat();

// Shorthands for the windows: the number rules applied with the user's notation.
std::optional<double> readStrictText(const QString& text);
QString patternText(double value, std::string_view pattern);
QString generalText(double value);

}  // namespace brimwell
