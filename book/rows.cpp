#include "book/rows.h"

#include <QDateTime>

namespace brimwell::book {
namespace {

std::string listed(const Cells& cells, std::string_view each) {
    std::string list;
    for (const auto& [column, value] : cells) {
        list.append(list.empty() ? "" : ", ").append(column).append(each);
    }
    return list;
}

}  // namespace

std::string placeholders(std::size_t count) {
    std::string marks;
    for (std::size_t i = 0; i < count; ++i) {
        marks.append(i == 0 ? "?" : ", ?");
    }
    return marks;
}

std::string insertInto(std::string_view table, const Cells& cells) {
    return std::string("INSERT INTO ")
        .append(table)
        .append(" (")
        .append(columnsOf(cells))
        .append(") VALUES (")
        .append(placeholders(cells.size()))
        .append(")");
}

std::string assignments(const Cells& cells) {
    return listed(cells, " = ?");
}

std::string columnsOf(const Cells& cells) {
    return listed(cells, "");
}

QVariantList valuesOf(const Cells& cells) {
    QVariantList values;
    for (const auto& [column, value] : cells) {
        values << value;
    }
    return values;
}

QVariant optional(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<double>());
}

QVariant optional(const std::optional<std::string>& value) {
    return value ? QVariant(text(*value)) : QVariant(QMetaType::fromType<QString>());
}

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

std::string now() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toStdString();
}

std::optional<double> optionalNumber(const QSqlQuery& row, const char* column) {
    const QVariant value = row.value(QString::fromLatin1(column));
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

double number(const QSqlQuery& row, const char* column) {
    return row.value(QString::fromLatin1(column)).toDouble();
}

long long integer(const QSqlQuery& row, const char* column) {
    return row.value(QString::fromLatin1(column)).toLongLong();
}

std::string textIn(const QSqlQuery& row, const char* column) {
    return row.value(QString::fromLatin1(column)).toString().toStdString();
}

std::optional<std::string> optionalText(const QSqlQuery& row, const char* column) {
    const QVariant value = row.value(QString::fromLatin1(column));
    return value.isNull() ? std::nullopt : std::optional(value.toString().toStdString());
}

}  // namespace brimwell::book
