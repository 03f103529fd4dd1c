#include "host/claimforms/claim_form_input.h"

#include "host/claimforms/claim_form_requirements.h"

#include <QRegularExpression>

namespace vantik {

namespace {

InputCheck accepted(const QString& value)
{
    return InputCheck{value, QString()};
}

InputCheck refused(const QString& message)
{
    return InputCheck{QString(), message};
}

// A plain decimal number in its canonical form: digits, at most one point; no
// sign, exponent, thousands separator or unit, so that what is stored is a number
// every reader of the table takes the same way. Leading zeros, trailing zeros of
// the fraction and a trailing point are dropped ("058.40" is "58.4", "72." is
// "72"); what still has more decimals than the field allows is refused.
std::optional<QString> canonicalNumber(const QString& text, int decimals)
{
    static const QRegularExpression shape(QStringLiteral("^([0-9]*)(?:\\.([0-9]*))?$"));
    const QRegularExpressionMatch match = shape.match(text);
    if (!match.hasMatch() || text == QLatin1String(".") || text.isEmpty())
        return std::nullopt;
    QString whole = match.captured(1);
    QString fraction = match.captured(2);
    qsizetype firstDigit = 0;
    while (firstDigit < whole.size() && whole.at(firstDigit) == QLatin1Char('0'))
        ++firstDigit;
    whole = firstDigit == whole.size() ? QStringLiteral("0") : whole.mid(firstDigit);
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    if (fraction.size() > decimals)
        return std::nullopt;
    return fraction.isEmpty() ? whole : whole + QLatin1Char('.') + fraction;
}

InputCheck checkNumber(const QString& typed, const QString& field, double lowest, double highest, int decimals,
                       const QString& form)
{
    const std::optional<QString> canonical = canonicalNumber(typed.trimmed(), decimals);
    bool ok = false;
    const double value = canonical ? canonical->toDouble(&ok) : 0;
    if (!ok || value < lowest || value > highest)
        return refused(QStringLiteral("%1: type %2.").arg(field, form));
    return accepted(*canonical);
}

} // namespace

InputCheck checkBloodPressure(const QString& typed)
{
    const QString form = QStringLiteral("Blood pressure: type it as systolic/diastolic, for example 120/80 (systolic "
                                        "40–300 over diastolic 10–200, the systolic the higher).");
    static const QRegularExpression shape(QStringLiteral("^\\s*([0-9]+)\\s*/\\s*([0-9]+)\\s*$"));
    const QRegularExpressionMatch match = shape.match(typed);
    if (!match.hasMatch())
        return refused(form);
    // Leading zeros are a long form of the same pressure ("0120/080"), not a refusal.
    bool systolicRead = false;
    bool diastolicRead = false;
    const int systolic = match.captured(1).toInt(&systolicRead);
    const int diastolic = match.captured(2).toInt(&diastolicRead);
    if (!systolicRead || !diastolicRead || systolic < 40 || systolic > 300 || diastolic < 10 || diastolic > 200
        || systolic <= diastolic)
        return refused(form);
    return accepted(QStringLiteral("%1/%2").arg(systolic).arg(diastolic));
}

InputCheck checkTemperature(const QString& typed)
{
    return checkNumber(typed, QStringLiteral("Temperature"), 30, 45, 1,
                       QStringLiteral("degrees Celsius from 30 to 45, for example 37.2"));
}

InputCheck checkPulseRate(const QString& typed)
{
    return checkNumber(typed, QStringLiteral("Pulse"), 20, 250, 0,
                       QStringLiteral("the beats per minute, a whole number from 20 to 250"));
}

InputCheck checkRespiratoryRate(const QString& typed)
{
    return checkNumber(typed, QStringLiteral("Respiratory rate"), 5, 80, 0,
                       QStringLiteral("the breaths per minute, a whole number from 5 to 80"));
}

InputCheck checkHeight(const QString& typed)
{
    return checkNumber(typed, QStringLiteral("Height (cm)"), 20, 250, 1,
                       QStringLiteral("centimetres from 20 to 250, for example 162.5"));
}

InputCheck checkWeight(const QString& typed)
{
    return checkNumber(typed, QStringLiteral("Weight (kg)"), 0.3, 350, 2,
                       QStringLiteral("kilograms from 0.3 to 350, for example 58.4"));
}

InputCheck checkTakenOn(const QString& field, const QDateTime& when, const QDateTime& admitted,
                        const QDateTime& discharged, const QDateTime& now)
{
    if (!when.isValid())
        return refused(QStringLiteral("%1: type a date and time as mm/dd/yyyy hh:mm AM.").arg(field));
    if (when > now)
        return refused(QStringLiteral("%1: the date and time cannot be in the future.").arg(field));
    if (admitted.isValid() && when < admitted) {
        return refused(QStringLiteral("%1: the date and time cannot be before the admission (%2).")
                           .arg(field, admitted.toString(QStringLiteral("MM/dd/yyyy h:mm AP"))));
    }
    if (discharged.isValid() && when > discharged) {
        return refused(QStringLiteral("%1: the date and time cannot be after the discharge (%2).")
                           .arg(field, discharged.toString(QStringLiteral("MM/dd/yyyy h:mm AP"))));
    }
    return accepted(when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
}

InputCheck checkCount(const QString& field, const QString& typed)
{
    return checkNumber(typed, field, 0, 99, 0, QStringLiteral("a whole number from 0 to 99"));
}

InputCheck checkLastPeriod(const QDate& date, const QDateTime& admitted, const QDateTime& now)
{
    const QString field = QStringLiteral("Last menstrual period");
    if (!date.isValid())
        return refused(QStringLiteral("%1: type a date as mm/dd/yyyy.").arg(field));
    if (date > now.date())
        return refused(QStringLiteral("%1: the date cannot be in the future.").arg(field));
    if (admitted.isValid() && date > admitted.date()) {
        return refused(QStringLiteral("%1: the date cannot be after the admission (%2).")
                           .arg(field, admitted.toString(QStringLiteral("MM/dd/yyyy"))));
    }
    return accepted(date.toString(QStringLiteral("yyyy-MM-ddT00:00:00")));
}

InputCheck checkLength(const QString& field, const QString& value, int maxLength)
{
    // Counted as the data layer counts a text against its column, so that what
    // passes here is never refused there.
    if (maxLength > 0 && value.size() > maxLength)
        return refused(QStringLiteral("%1: %2 characters; at most %3.").arg(field).arg(value.size()).arg(maxLength));
    return accepted(value);
}

InputCheck checkText(const QString& field, const QString& typed, bool refusePlaceholders, int maxLength)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return refused(QStringLiteral("%1: type a text.").arg(field));
    if (refusePlaceholders && !isMeaningfulHistory(text))
        return refused(QStringLiteral("%1: \"%2\" does not count; type what the patient came with.").arg(field, text));
    if (text.contains(QChar(0)))
        return refused(QStringLiteral("%1: the text holds a NUL character, which cannot be stored.").arg(field));
    return checkLength(field, text, maxLength);
}

} // namespace vantik
