#include "host/data/column_value.h"

#include "host/data/database_error.h"

#include <cmath>
#include <limits>

namespace vantik {

namespace {

using sqlcompat::ColumnInfo;
using sqlcompat::SqlType;

QString columnName(const ColumnInfo& column)
{
    return QString::fromStdString(column.name);
}

struct NumberParts {
    bool negative = false;
    QString whole;    // without leading zeros
    QString fraction; // without trailing zeros
    bool point = false;
};

// Digits with at most one sign in front and one decimal point: nothing else, not
// even a blank, so that "1e5", "nan" and "12abc" never become numbers.
std::optional<NumberParts> readNumber(const QString& text)
{
    NumberParts parts;
    qsizetype i = 0;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        parts.negative = text[i] == QLatin1Char('-');
        ++i;
    }
    bool digits = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            (parts.point ? parts.fraction : parts.whole) += c;
            digits = true;
        } else if (c == QLatin1Char('.') && !parts.point) {
            parts.point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    while (parts.whole.startsWith(QLatin1Char('0')))
        parts.whole.remove(0, 1);
    while (parts.fraction.endsWith(QLatin1Char('0')))
        parts.fraction.chop(1);
    return parts;
}

qlonglong integerLimit(const std::string& typeName)
{
    if (typeName == "tinyint")
        return 255;
    if (typeName == "smallint")
        return 32767;
    if (typeName == "int")
        return 2147483647;
    return std::numeric_limits<qlonglong>::max();
}

ColumnValue checkInteger(const QString& text, const ColumnInfo& column)
{
    const auto parts = readNumber(text);
    if (!parts || parts->point)
        throw DatabaseError(QStringLiteral("%1 takes a whole number; '%2' is not one.").arg(columnName(column), text));
    bool ok = false;
    ColumnValue value;
    value.kind = SqlType::Integer;
    value.integer = text.toLongLong(&ok);
    const qlonglong limit = integerLimit(column.typeName);
    const qlonglong lowest = column.typeName == "tinyint" ? 0 : -limit - 1;
    if (!ok || value.integer > limit || value.integer < lowest)
        throw DatabaseError(QStringLiteral("'%1' is outside the range of whole numbers %2 holds.").arg(text, columnName(column)));
    return value;
}

ColumnValue checkDecimal(const QString& text, const ColumnInfo& column)
{
    const auto parts = readNumber(text);
    if (!parts)
        throw DatabaseError(QStringLiteral("%1 takes a number (digits, a sign, one decimal point); '%2' is not one.")
                                .arg(columnName(column), text));
    if (column.precision > 0) {
        const int wholeDigits = column.precision - column.scale;
        if (parts->whole.size() > wholeDigits || parts->fraction.size() > column.scale)
            throw DatabaseError(
                QStringLiteral("'%1' does not fit %2, which holds %3 digits before the decimal point and %4 after it.")
                    .arg(text, columnName(column))
                    .arg(wholeDigits)
                    .arg(column.scale));
    }
    ColumnValue value;
    value.kind = SqlType::Decimal;
    value.number = text.toDouble();
    if (!std::isfinite(value.number))
        throw DatabaseError(QStringLiteral("'%1' is too large for %2.").arg(text, columnName(column)));
    value.text = text.startsWith(QLatin1Char('+')) ? text.mid(1) : text;
    return value;
}

ColumnValue checkBit(const QString& text, const ColumnInfo& column)
{
    const QString t = text.trimmed();
    ColumnValue value;
    value.kind = SqlType::Bit;
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || t == QLatin1String("1"))
        value.integer = 1;
    else if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || t == QLatin1String("0"))
        value.integer = 0;
    else
        throw DatabaseError(QStringLiteral("Conversion failed when converting the varchar value '%1' to data type bit "
                                           "(column %2).")
                                .arg(text, columnName(column)));
    return value;
}

ColumnValue checkDateTime(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const std::string_view view(utf8.constData(), utf8.size());
    ColumnValue value;
    value.kind = SqlType::DateTime;
    // The storage form and ISO 8601 with a T are read as they stand; anything
    // else as SQL Server reads a string under us_english.
    if (const auto stored = sqlcompat::fromStorageText(view)) {
        value.dateTime = *stored;
        return value;
    }
    const sqlcompat::DateParseResult parsed = sqlcompat::parseSqlServerDateTime(view);
    if (parsed.status != sqlcompat::DateParseStatus::Ok)
        throw DatabaseError(QString::fromUtf8(parsed.message()));
    value.dateTime = parsed.value;
    return value;
}

} // namespace

ColumnValue checkColumnValue(const QString& text, const ColumnInfo& column)
{
    if (text.contains(QChar(0)))
        throw DatabaseError(
            QStringLiteral("The text for %1 holds a NUL character, which cannot be saved.").arg(columnName(column)));
    switch (column.type) {
    case SqlType::Integer:
        return checkInteger(text, column);
    case SqlType::Decimal:
        return checkDecimal(text, column);
    case SqlType::Bit:
        return checkBit(text, column);
    case SqlType::DateTime:
        return checkDateTime(text);
    default:
        break;
    }
    if (column.length > 0 && text.size() > column.length)
        throw DatabaseError(QStringLiteral("String or binary data would be truncated. %1 holds at most %2 characters.")
                                .arg(columnName(column))
                                .arg(column.length));
    ColumnValue value;
    value.kind = column.type;
    value.text = text;
    return value;
}

} // namespace vantik
