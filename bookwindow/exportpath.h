#pragma once

// Where the window writes an exported month: the chosen name as a CSV file, never over the book.

#include <QString>

namespace brimwell {

// The chosen name with ".csv" added when it has no extension of its own; a suffix without a
// letter ("48.5") is part of the name.
QString csvPath(const QString& chosen);

// The file beside `path` whose name adds the word before its extension: "T1 2026-02.csv" and
// "totals" give "T1 2026-02 totals.csv".
QString besidePath(const QString& path, const QString& word);

// Whether writing `path` would replace the book at `book` or a file SQLite keeps beside it,
// through a link too. Looks at names only: neither file is opened.
bool isBookFile(const QString& path, const QString& book);

}  // namespace brimwell
