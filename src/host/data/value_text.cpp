#include "host/data/value_text.h"

#include "host/sqlcompat/datetime.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QTime>

#include <charconv>
#include <cmath>

namespace vantik {

namespace {

QString dateTimeText(const QDateTime& dt)
{
    sqlcompat::DateTimeValue v;
    v.year = dt.date().year();
    v.month = dt.date().month();
    v.day = dt.date().day();
    v.hour = dt.time().hour();
    v.minute = dt.time().minute();
    v.second = dt.time().second();
    v.millisecond = dt.time().msec();
    return QString::fromStdString(sqlcompat::formatDisplayText(v));
}

// A date and time as text: the embedded engine's storage form, ISO 8601, or what
// SQL Server's style 121 gives for a datetime2 (up to seven decimals, cut here to
// the millisecond) and a datetimeoffset (its offset, " +08:00", in offset).
std::optional<sqlcompat::DateTimeValue> dateTimeOfText(const QString& text, QString* offset = nullptr)
{
    QString local = text;
    static const QRegularExpression zone(QStringLiteral(" ?[+-]\\d\\d:\\d\\d$"));
    const QRegularExpressionMatch zoneMatch = zone.match(local);
    if (zoneMatch.hasMatch() && local.size() > 19) {
        if (offset)
            *offset = zoneMatch.captured().trimmed();
        local.chop(zoneMatch.capturedLength());
    }
    // Decimals beyond the millisecond: the engine's form holds three.
    if (local.size() > 23 && local.size() <= 27 && local.at(19) == QLatin1Char('.'))
        local.truncate(23);
    const QByteArray utf8 = local.toUtf8();
    return sqlcompat::fromStorageText(std::string_view(utf8.constData(), utf8.size()));
}

QString textAsDateTime(const QString& text)
{
    QString offset;
    if (const auto v = dateTimeOfText(text, &offset)) {
        const QString shown = QString::fromStdString(sqlcompat::formatDisplayText(*v));
        return offset.isEmpty() ? shown : shown + QLatin1Char(' ') + offset;
    }
    return text;
}

QString bitText(bool set)
{
    return set ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

QString decimalText(double value)
{
    if (std::isnan(value) || std::isinf(value))
        return QString::number(value);
    if (value == 0.0)
        return QStringLiteral("0");
    char buffer[64];
    // Fixed notation keeps amounts readable; the shortest round-trip digits keep them exact.
    const auto fixed = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (fixed.ec == std::errc() && fixed.ptr - buffer <= 40)
        return QString::fromLatin1(buffer, fixed.ptr - buffer);
    const auto general = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, general.ptr - buffer);
}

QString trimDecimalText(QString text)
{
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0 || text.contains(QLatin1Char('e'), Qt::CaseInsensitive))
        return text;
    qsizetype end = text.size();
    while (end > dot + 1 && text.at(end - 1) == QLatin1Char('0'))
        --end;
    if (end == dot + 1)
        --end;
    text.truncate(end);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

QDateTime valueDateTime(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.isNull() || !value.isValid())
        return QDateTime();
    const QByteArray utf8 = value.toString().toUtf8();
    const std::string_view view(utf8.constData(), utf8.size());
    std::optional<sqlcompat::DateTimeValue> v = dateTimeOfText(value.toString());
    if (!v) {
        const auto parsed = sqlcompat::parseSqlServerDateTime(view);
        if (parsed.status != sqlcompat::DateParseStatus::Ok)
            return QDateTime();
        v = parsed.value;
    }
    return QDateTime(QDate(v->year, v->month, v->day), QTime(v->hour, v->minute, v->second, v->millisecond));
}

QString valueText(const QVariant& value, SqlType type)
{
    if (value.isNull() || !value.isValid())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return bitText(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        if (type == SqlType::Bit)
            return bitText(value.toLongLong() != 0);
        return QString::number(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        if (type == SqlType::Bit)
            return bitText(value.toDouble() != 0.0);
        return decimalText(value.toDouble());
    case QMetaType::QDateTime:
        return dateTimeText(value.toDateTime());
    case QMetaType::QDate:
        return dateTimeText(QDateTime(value.toDate(), QTime(0, 0)));
    case QMetaType::QByteArray:
        if (type == SqlType::Text)
            return QString::fromUtf8(value.toByteArray());
        return QStringLiteral("0x") + QString::fromLatin1(value.toByteArray().toHex().toUpper());
    default:
        break;
    }
    const QString text = value.toString();
    switch (type) {
    case SqlType::DateTime:
        return textAsDateTime(text);
    case SqlType::Decimal:
        return trimDecimalText(text);
    case SqlType::Bit:
        if (text == QLatin1String("1"))
            return bitText(true);
        if (text == QLatin1String("0"))
            return bitText(false);
        return text;
    default:
        return text;
    }
}

} // namespace vantik
