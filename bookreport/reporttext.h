#pragma once

// Numbers and units as the printed pages write them: in the user's notation (the decimal
// separator given), figures to the places the book's text reports use, units in short.

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "bookreport/pagemodel.h"
#include "model/units/units.h"

namespace brimwell::bookreport {

// `places` decimals, as the book's text reports round them.
QString fixedText(double value, int places, const QString& decimal);
// A reading as it was recorded, in its shortest form; empty for none.
QString readingText(const std::optional<double>& value, const QString& decimal);
// A report line of the book with its decimal points written in the user's notation: a point
// between two digits becomes the separator.
QString localized(const std::string& text, const QString& decimal);
// A time the book recorded (ISO 8601, UTC) to the second, as "2026-03-04 06:15:02"; a text
// that is no such time as it is.
QString recordedTime(const std::string& iso);

QString shortUnit(LengthUnit unit);  // "in"
QString shortUnit(VolumeUnit unit);  // "gal"

// Appends lines to a section.
class SectionWriter {
public:
    int table(std::vector<Column> columns);
    void title(const QString& text) { add(Line::Kind::Title, text, 1.6); }
    void heading(const QString& text) { add(Line::Kind::Heading, text, 1.4); }
    void text(const QString& text) { add(Line::Kind::Text, text); }
    void space(double height = 0.6) { add(Line::Kind::Space, {}, height); }
    void head(int table);
    void row(int table, QStringList cells, bool marked = false);
    void add(Line::Kind kind, const QString& text, double height = 1);
    Section take() { return std::move(section_); }
    Section& section() { return section_; }

private:
    Section section_;
};

}  // namespace brimwell::bookreport
