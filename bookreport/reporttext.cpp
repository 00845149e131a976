#include "bookreport/reporttext.h"

#include <QDateTime>

#include <array>

#include "model/text/numbertext.h"

namespace brimwell::bookreport {

QString fixedText(double value, int places, const QString& decimal) {
    std::string text;
    appendFixed(text, value, places);
    return localized(text, decimal);
}

QString readingText(const std::optional<double>& value, const QString& decimal) {
    return value ? localized(plainText(*value), decimal) : QString();
}

QString localized(const std::string& text, const QString& decimal) {
    QString out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool between = i > 0 && i + 1 < text.size() && std::isdigit(text[i - 1]) != 0 &&
                             std::isdigit(text[i + 1]) != 0;
        out += text[i] == '.' && between ? decimal : QString(QChar::fromLatin1(text[i]));
    }
    return out;
}

QString recordedTime(const std::string& iso) {
    const QString text = QString::fromStdString(iso);
    const QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    return time.isValid() ? time.toUTC().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : text;
}

QString shortUnit(LengthUnit unit) {
    static const std::array<const char*, 5> words{"in", "ft", "mm", "cm", "m"};
    return QString::fromLatin1(words.at(static_cast<std::size_t>(unit)));
}

QString shortUnit(VolumeUnit unit) {
    static const std::array<const char*, 4> words{"gal", "L", "m³", "mL"};
    return QString::fromUtf8(words.at(static_cast<std::size_t>(unit)));
}

int SectionWriter::table(std::vector<Column> columns) {
    section_.tables.push_back(std::move(columns));
    return static_cast<int>(section_.tables.size()) - 1;
}

void SectionWriter::head(int table) {
    Line line{Line::Kind::TableHead, {}, table, false, 4};
    section_.lines.push_back(std::move(line));
}

void SectionWriter::row(int table, QStringList cells, bool marked) {
    section_.lines.push_back({Line::Kind::Row, std::move(cells), table, marked, 1});
}

void SectionWriter::add(Line::Kind kind, const QString& text, double height) {
    section_.lines.push_back(
        {kind, text.isNull() ? QStringList() : QStringList{text}, -1, false, height});
}

}  // namespace brimwell::bookreport
