#pragma once

// Marks a field whose text does not read: a red frame, the reason as its tool tip and its
// accessible description; and clears the mark.

#include <QString>

class QWidget;

namespace brimwell {

void markField(QWidget& field, const QString& reason);
void clearMark(QWidget& field);

}  // namespace brimwell
