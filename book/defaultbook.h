#pragma once

#include <QString>

namespace brimwell::book {

// Where the book is kept unless the user names another: book.sqlite in the application's data
// folder.
QString defaultBookPath();

}  // namespace brimwell::book
