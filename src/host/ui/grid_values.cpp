#include "host/ui/grid_values.h"

#include "host/ui/flex_grid.h"

#include <QRegularExpression>

namespace vantik {

using sqlcompat::SqlType;

namespace {

bool holdsBlank(QStringView text)
{
    for (const QChar character : text) {
        if (character.isSpace())
            return true;
    }
    return false;
}

int monthOfName(QStringView name)
{
    static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};
    for (int month = 0; month < 12; ++month) {
        if (name.compare(QLatin1String(kMonths[month]), Qt::CaseInsensitive) == 0)
            return month + 1;
    }
    return 0;
}

/// 12-hour clock to 24-hour; -1 when out of range.
int hourOf(int hour, QStringView meridiem)
{
    if (hour < 1 || hour > 12)
        return -1;
    const bool pm = meridiem.compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0;
    return hour % 12 + (pm ? 12 : 0);
}

std::optional<QDateTime> dateTimeOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                                    int millisecond = 0)
{
    const QDate date(year, month, day);
    const QTime time(hour, minute, second, millisecond);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    // The texts carry no zone; UTC keeps them as written and spares a zone lookup per value.
    return QDateTime(date, time, Qt::UTC);
}

} // namespace

std::vector<int> shownColumns(const FlexGrid& grid)
{
    std::vector<int> columns;
    const int rows = grid.rowCount();
    for (int column = 0; column < grid.columnCount(); ++column) {
        if (grid.columnWidth(column) <= 0)
            continue;
        bool carries = !grid.text(0, column).isEmpty();
        for (int row = 1; !carries && row < rows; ++row)
            carries = !grid.text(row, column).isEmpty();
        if (carries)
            columns.push_back(column);
    }
    return columns;
}

std::optional<QDateTime> parseShownDateTime(QStringView text)
{
    // "Nov  9 2026 10:30AM", "Jul 22 1974 12:00AM": SQL Server's convert style 0.
    static const QRegularExpression styleZero(
        QStringLiteral("^([A-Za-z]{3}) {1,2}(\\d{1,2}) (\\d{4}) {1,2}(\\d{1,2}):(\\d{2})([AaPp][Mm])$"));
    // "1/5/2024 9:07:00 AM", "1/5/2024", "01/05/2024".
    static const QRegularExpression american(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})(?: (\\d{1,2}):(\\d{2})(?::(\\d{2}))? ?([AaPp][Mm]))?$"));
    // "2024-01-05", "2024-01-05 09:07:00.000".
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:[ T](\\d{2}):(\\d{2})(?::(\\d{2})(?:\\.(\\d{1,3}))?)?)?$"));

    if (text.isEmpty() || text.size() > 30)
        return std::nullopt;
    QRegularExpressionMatch match = styleZero.match(text);
    if (match.hasMatch()) {
        const int month = monthOfName(match.capturedView(1));
        const int hour = hourOf(match.capturedView(4).toInt(), match.capturedView(6));
        if (month == 0 || hour < 0)
            return std::nullopt;
        return dateTimeOf(match.capturedView(3).toInt(), month, match.capturedView(2).toInt(), hour,
                          match.capturedView(5).toInt());
    }
    match = american.match(text);
    if (match.hasMatch()) {
        int hour = 0;
        if (match.hasCaptured(4)) {
            hour = hourOf(match.capturedView(4).toInt(), match.capturedView(7));
            if (hour < 0)
                return std::nullopt;
        }
        return dateTimeOf(match.capturedView(3).toInt(), match.capturedView(1).toInt(),
                          match.capturedView(2).toInt(), hour, match.capturedView(5).toInt(),
                          match.capturedView(6).toInt());
    }
    match = iso.match(text);
    if (match.hasMatch()) {
        const QString fraction = match.captured(7).leftJustified(3, QLatin1Char('0'));
        return dateTimeOf(match.capturedView(1).toInt(), match.capturedView(2).toInt(),
                          match.capturedView(3).toInt(), match.capturedView(4).toInt(),
                          match.capturedView(5).toInt(), match.capturedView(6).toInt(), fraction.toInt());
    }
    return std::nullopt;
}

std::optional<double> parsePlainNumber(QStringView text)
{
    static const QRegularExpression plain(QStringLiteral("^-?(?:0|[1-9][0-9]*)(?:\\.[0-9]+)?$"));
    if (text.isEmpty() || text.size() > 17 || !plain.match(text).hasMatch())
        return std::nullopt;
    int digits = 0;
    for (const QChar character : text)
        digits += character.isDigit() ? 1 : 0;
    if (digits > 15)
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

bool isIdentifierName(QStringView header)
{
    static const QRegularExpression identifier(QStringLiteral("(?:id|num|no|nr|code|number)$"),
                                               QRegularExpression::CaseInsensitiveOption);
    QString letters;
    for (const QChar character : header) {
        if (character.isLetterOrNumber())
            letters.append(character);
    }
    return identifier.match(letters).hasMatch();
}

ColumnValues describeColumn(const FlexGrid& grid, int column)
{
    const SqlType type = grid.columnType(column);
    const bool declaredNumber = type == SqlType::Integer || type == SqlType::Decimal;
    bool any = false;
    bool blank = false;
    bool allDates = type != SqlType::Bit && !declaredNumber;
    bool allNumbers = declaredNumber || (type == SqlType::Unknown && !isIdentifierName(grid.text(0, column)));
    ColumnValues values;
    const int rows = grid.rowCount();
    for (int row = 1; row < rows; ++row) {
        const QString text = grid.text(row, column);
        if (text.isEmpty())
            continue;
        any = true;
        if (allDates) {
            const auto date = parseShownDateTime(text);
            allDates = date.has_value();
            if (date && date->time() != QTime(0, 0))
                values.withTime = true;
        }
        if (allNumbers)
            allNumbers = parsePlainNumber(text).has_value();
        if (!blank)
            blank = holdsBlank(text);
    }
    if (any && allDates)
        values.kind = ValueKind::Date;
    else if (any && allNumbers)
        values.kind = ValueKind::Number;
    values.singleWords = values.kind != ValueKind::Text || !blank;
    if (values.kind != ValueKind::Date)
        values.withTime = false;
    return values;
}

} // namespace vantik
