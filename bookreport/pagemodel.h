#pragma once

// A printed document as lines before anything is drawn: which tables, which columns, which rows
// and texts, in what order, each line's height in text lines; and how those lines fall on pages.
// No painter and no font: the drawing (pagepainter.h) turns a text line into device units.

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace brimwell::bookreport {

class OverShortDrawing;

// A table's column: its key letter, its head (lines apart by "\n") and its unit.
struct Column {
    QString key;
    QString head;
    QString unit;
    double width = 1;    // relative to the table's other columns
    bool number = true;  // right-aligned
};

struct Line {
    enum class Kind { Title, Heading, Text, TableHead, Row, Plot, Signature, Space };
    Kind kind = Kind::Text;
    QStringList cells;    // a row's cells, in its table's columns; one text otherwise
    int table = -1;       // the section's table a head or a row belongs to
    bool marked = false;  // a row shaded: a day corrected or missing
    double height = 1;    // in text lines
};

// One tank's pages: they start on a page of their own.
struct Section {
    std::vector<std::vector<Column>> tables;
    std::vector<Line> lines;
    std::shared_ptr<const OverShortDrawing> plot;  // drawn where a Plot line stands
    QString footer;                                // this section's part of each page's footer
};

struct Document {
    QString title;  // the print job's name
    std::vector<Section> sections;
    QString footer;  // every page's: the book's file, the time printed
    double fontPoints = 8;
    double rowScale = 1;  // a table row's height in text lines
};

// The lines of a section on one page: [first, last), after the head of the table it continues
// when `repeatedHead` names one.
struct Page {
    std::size_t section = 0;
    std::size_t first = 0;
    std::size_t last = 0;
    int repeatedHead = -1;  // a line index
};

// The document's pages, `room` text lines tall each. A heading or a table's head stays with the
// line after it; a
// table continued on a new page repeats its head there; a line taller than a page gets one of its
// own. A section without lines still takes a page.
std::vector<Page> paginate(const Document& document, double room);

// A line's height in text lines: a row's is scaled by the document's row scale.
double heightOf(const Document& document, const Line& line);

}  // namespace brimwell::bookreport
