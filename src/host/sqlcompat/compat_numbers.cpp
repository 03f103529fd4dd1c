#include "host/sqlcompat/compat_internal.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

// SQL Server's conversions between numbers and texts, for the functions that
// translated statements call: CAST to varchar and nvarchar, CAST to int, the implicit
// conversions of a compared text, and AVG of ints.

namespace vantik::sqlcompat::detail {

namespace {

constexpr sqlite3_int64 kIntMin = std::numeric_limits<int>::min();
constexpr sqlite3_int64 kIntMax = std::numeric_limits<int>::max();

// What tsql_varchar's fourth argument says of its value.
constexpr int kFloat = -2;
constexpr int kWholeOrText = -3;

// Style 0 of a float: at most six significant digits, in scientific notation when the
// exponent is below -4 or above 5, the exponent with three digits ("1.23457e+006").
std::string floatText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    std::string text = buffer;
    const std::size_t e = text.find('e');
    if (e != std::string::npos && e + 2 < text.size()) {
        std::string digits = text.substr(e + 2);
        while (digits.size() < 3)
            digits.insert(0, "0");
        text = text.substr(0, e + 2) + digits;
    }
    return text;
}

std::string fixedText(double value, int scale)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", scale, value);
    return buffer;
}

std::size_t characterCount(std::string_view text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++chars)
        i += static_cast<std::size_t>(decodeUtf8(p + i, p + text.size()).length);
    return chars;
}

void overflow(sqlite3_context* ctx, std::string_view from, bool unicode)
{
    resultError(ctx, "Arithmetic overflow error converting " + std::string(from) + " to data type "
                         + (unicode ? "nvarchar" : "varchar") + ".");
}

} // namespace

// tsql_varchar(x[, n[, unicode, kind]]): CAST(x AS [N]VARCHAR(n)). Text is cut to n characters;
// n = -1 is MAX. A number too long for n is "*" for an int cast to varchar and an error
// otherwise, as the server's table of truncations says. kind tells a decimal's scale
// (>= 0), an unknown scale (-1), a float (-2) or neither (-3); without it integers are ints
// and other numbers decimals of unknown scale.
void tsqlVarchar(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    sqlite3_value* x = argv[0];
    long long limit = 30; // the server's length when none is written
    if (argc > 1) {
        if (sqlite3_value_type(argv[1]) != SQLITE_INTEGER
            || (sqlite3_value_int64(argv[1]) < 1 && sqlite3_value_int64(argv[1]) != -1)) {
            sqlite3_result_error(ctx, "tsql_varchar: the length must be a positive integer or -1 (MAX).", -1);
            return;
        }
        limit = sqlite3_value_int64(argv[1]);
    }
    const bool unicode = argc == 4 && sqlite3_value_int(argv[2]) != 0;
    const int kind = argc == 4 ? sqlite3_value_int(argv[3]) : kWholeOrText;
    const std::size_t maxChars = limit < 0 ? std::numeric_limits<std::size_t>::max() : static_cast<std::size_t>(limit);
    switch (sqlite3_value_type(x)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER: {
        const sqlite3_int64 value = sqlite3_value_int64(x);
        std::string text;
        if (kind >= 0) {
            text = std::to_string(value);
            if (kind > 0)
                text += "." + std::string(static_cast<std::size_t>(kind), '0');
        } else if (kind == kFloat) {
            text = floatText(static_cast<double>(value));
        } else {
            text = std::to_string(value);
        }
        if (text.size() <= maxChars)
            resultText(ctx, text);
        else if (kind == kWholeOrText && !unicode)
            resultText(ctx, "*");
        else
            overflow(ctx, kind == kWholeOrText ? "expression" : (kind == kFloat ? "float" : "numeric"), unicode);
        return;
    }
    case SQLITE_FLOAT: {
        const double value = sqlite3_value_double(x);
        const std::string text = kind >= 0 ? fixedText(value, kind) : (kind == kFloat ? floatText(value) : realToText(value));
        if (text.size() > maxChars)
            overflow(ctx, kind == kFloat ? "float" : "numeric", unicode);
        else
            resultText(ctx, text);
        return;
    }
    default:
        break;
    }
    const std::string_view text = textOf(x);
    if (text.data() == nullptr && sqlite3_value_bytes(x) > 0) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    if (characterCount(text) <= maxChars) {
        resultText(ctx, text);
        return;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t chars = 0;
    std::size_t cut = 0;
    while (cut < text.size() && chars < maxChars) {
        cut += static_cast<std::size_t>(decodeUtf8(p + cut, p + text.size()).length);
        ++chars;
    }
    resultText(ctx, text.substr(0, cut));
}

// tsql_int(x): CAST(x AS int), and the check on an int operation's result. A fraction is
// cut off; text is read as the server reads it ("  12 ", "-", "" are 12, 0, 0).
void tsqlInt(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_value* x = argv[0];
    switch (sqlite3_value_type(x)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER: {
        const sqlite3_int64 value = sqlite3_value_int64(x);
        if (value < kIntMin || value > kIntMax)
            sqlite3_result_error(ctx, "Arithmetic overflow error converting expression to data type int.", -1);
        else
            sqlite3_result_int64(ctx, value);
        return;
    }
    case SQLITE_FLOAT: {
        const double value = std::trunc(sqlite3_value_double(x));
        if (!std::isfinite(value) || value < static_cast<double>(kIntMin) || value > static_cast<double>(kIntMax))
            sqlite3_result_error(ctx, "Arithmetic overflow error converting numeric to data type int.", -1);
        else
            sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(value));
        return;
    }
    default:
        break;
    }
    const std::string_view text = textOf(x);
    bool tooLarge = false;
    const auto value = textToInteger(text, &tooLarge);
    if (tooLarge || (value && (*value < kIntMin || *value > kIntMax))) {
        resultError(ctx, "The conversion of the varchar value '" + std::string(text) + "' overflowed an int column.");
        return;
    }
    if (!value) {
        resultError(ctx, "Conversion failed when converting the varchar value '" + std::string(text)
                             + "' to data type int.");
        return;
    }
    sqlite3_result_int64(ctx, *value);
}

// tsql_numeric(x): a text compared with a decimal is read as a number.
void tsqlNumeric(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_value* x = argv[0];
    if (sqlite3_value_type(x) != SQLITE_TEXT && sqlite3_value_type(x) != SQLITE_BLOB) {
        sqlite3_result_value(ctx, x);
        return;
    }
    const auto value = textToReal(textOf(x));
    if (!value) {
        sqlite3_result_error(ctx, "Error converting data type varchar to numeric.", -1);
        return;
    }
    sqlite3_result_double(ctx, *value);
}

// tsql_bit(x): a text compared with a bit: 'TRUE' and 'FALSE' in any case, or a number
// (any other than 0 is 1).
void tsqlBit(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_value* x = argv[0];
    switch (sqlite3_value_type(x)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        sqlite3_result_int(ctx, sqlite3_value_double(x) != 0.0 ? 1 : 0);
        return;
    default:
        break;
    }
    const std::string_view text = textOf(x);
    std::size_t b = text.find_first_not_of(' ');
    const std::size_t e = text.find_last_not_of(' ');
    const std::string_view word = b == std::string_view::npos ? std::string_view() : text.substr(b, e - b + 1);
    auto is = [&](std::string_view w) {
        if (word.size() != w.size())
            return false;
        for (std::size_t i = 0; i < w.size(); ++i) {
            if ((word[i] | 0x20) != w[i])
                return false;
        }
        return true;
    };
    if (is("true")) {
        sqlite3_result_int(ctx, 1);
        return;
    }
    if (is("false")) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    if (const auto number = textToInteger(text)) {
        sqlite3_result_int(ctx, *number != 0 ? 1 : 0);
        return;
    }
    resultError(ctx, "Conversion failed when converting the varchar value '" + std::string(text)
                         + "' to data type bit.");
}

namespace {

struct IntAverage {
    sqlite3_int64 sum = 0;
    sqlite3_int64 count = 0;
};

} // namespace

// AVG of an int is an int: the sum (an int, so it can overflow) divided by the count,
// the fraction cut off.
void tsqlAvgIntStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return;
    auto* state = static_cast<IntAverage*>(sqlite3_aggregate_context(ctx, sizeof(IntAverage)));
    if (state == nullptr) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    sqlite3_int64 value = sqlite3_value_int64(argv[0]);
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        const auto converted = textToInteger(textOf(argv[0]));
        if (!converted) {
            resultError(ctx, "Conversion failed when converting the varchar value '" + std::string(textOf(argv[0]))
                                 + "' to data type int.");
            return;
        }
        value = *converted;
    }
    if (!addWithoutOverflow(state->sum, value, state->sum)) {
        sqlite3_result_error(ctx, "Arithmetic overflow error converting expression to data type int.", -1);
        return;
    }
    ++state->count;
}

void tsqlAvgIntFinal(sqlite3_context* ctx)
{
    auto* state = static_cast<IntAverage*>(sqlite3_aggregate_context(ctx, 0));
    if (state == nullptr || state->count == 0) {
        sqlite3_result_null(ctx);
        return;
    }
    if (state->sum < kIntMin || state->sum > kIntMax) {
        sqlite3_result_error(ctx, "Arithmetic overflow error converting expression to data type int.", -1);
        return;
    }
    sqlite3_result_int64(ctx, state->sum / state->count);
}

} // namespace vantik::sqlcompat::detail
