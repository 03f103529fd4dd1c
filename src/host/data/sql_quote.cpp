#include "host/data/sql_quote.h"

namespace vantik {

QString sqlQuote(const QString& text)
{
    if (!text.contains(QLatin1Char('\'')))
        return text;
    QString out = text;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}

QString sqlTextLiteral(const QString& text, const sqlcompat::ColumnInfo& column)
{
    const bool national = column.typeName == "nchar" || column.typeName == "nvarchar" || column.typeName == "ntext";
    return (national ? QStringLiteral("N'") : QStringLiteral("'")) + sqlQuote(text) + QLatin1Char('\'');
}

QString sqlDateLiteral(const QDate& date)
{
    return date.toString(QStringLiteral("yyyyMMdd"));
}

QString sqlDateTimeLiteral(const QDateTime& value)
{
    return value.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
}

QString sqlBracket(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char(']'), QLatin1String("]]"));
    return QLatin1Char('[') + quoted + QLatin1Char(']');
}

} // namespace vantik
