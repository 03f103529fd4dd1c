#pragma once

// What the SQLite functions of compat_functions.h share: UTF-8 reading, the case folding
// of the default collation, argument and result helpers, SQL Server's number and date
// conversions. Internal to the sqlcompat library.

#include "host/sqlcompat/datetime.h"

#include <sqlite3.h>

#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantik::sqlcompat::detail {

struct Decoded {
    char32_t codePoint;
    int length;
};

// A byte that does not start a well-formed sequence stands for the Latin-1 character
// of its value, so that text written by a Latin-1 client still compares sensibly and
// every byte string has exactly one reading.
inline Decoded decodeUtf8(const unsigned char* p, const unsigned char* end)
{
    const unsigned char b = p[0];
    if (b < 0x80)
        return {b, 1};
    auto continuation = [&](int i) { return p + i < end && (p[i] & 0xC0) == 0x80; };
    if (b >= 0xC2 && b <= 0xDF && continuation(1))
        return {static_cast<char32_t>(((b & 0x1F) << 6) | (p[1] & 0x3F)), 2};
    if (b >= 0xE0 && b <= 0xEF && continuation(1) && continuation(2))
        return {static_cast<char32_t>(((b & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F)), 3};
    if (b >= 0xF0 && b <= 0xF4 && continuation(1) && continuation(2) && continuation(3))
        return {static_cast<char32_t>(((b & 0x07) << 18) | ((p[1] & 0x3F) << 12) | ((p[2] & 0x3F) << 6)
                                      | (p[3] & 0x3F)),
                4};
    return {b, 1};
}

// The letters of code page 1252: ASCII, Latin-1 (not × and ÷) and Š Œ Ž Ÿ.
// Accented letters keep their accent: the collation is accent-sensitive.
inline char32_t foldCase(char32_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    switch (c) {
    case 0x160:
        return 0x161;
    case 0x152:
        return 0x153;
    case 0x17D:
        return 0x17E;
    case 0x178:
        return 0xFF;
    default:
        return c;
    }
}

/// a + b into sum; false, and sum untouched, when the result does not fit in 64 bits.
/// Plain arithmetic rather than a compiler's built-in, which not every compiler has.
inline bool addWithoutOverflow(sqlite3_int64 a, sqlite3_int64 b, sqlite3_int64& sum)
{
    constexpr sqlite3_int64 kMax = std::numeric_limits<sqlite3_int64>::max();
    constexpr sqlite3_int64 kMin = std::numeric_limits<sqlite3_int64>::min();
    if (b > 0 ? a > kMax - b : a < kMin - b)
        return false;
    sum = a + b;
    return true;
}

std::vector<char32_t> decodeAll(std::string_view text);

std::string_view textOf(sqlite3_value* v);
bool isNumericValue(int type);
void resultText(sqlite3_context* ctx, std::string_view text);
void resultError(sqlite3_context* ctx, const std::string& message);

/// Decimal text without trailing zeros ("12.5", "12", "0.3").
std::string realToText(double value);

/// The server's int conversion of a string: blanks around, an optional sign, digits;
/// an empty or blank string, or a sign alone, is 0. nullopt when it is no number;
/// `overflow` is set when it is one too large for 64 bits.
std::optional<sqlite3_int64> textToInteger(std::string_view s, bool* overflow = nullptr);
/// A decimal number: blanks around, sign, digits with at most one point, optional exponent.
std::optional<double> textToReal(std::string_view s);

enum class DateArg { Null, Ok, Failed };
/// How a text argument is read: as a datetime column's stored value or a string cast to
/// datetime (StoredOrDateTime), as datetime2 (StoredOrDateTime2), or only as a string cast
/// to datetime, rounded to its clock even when it looks like a stored value (DateTime).
enum class DateRules { StoredOrDateTime, StoredOrDateTime2, DateTime };

/// Reads an argument as SQL Server converts it to datetime (or datetime2); on failure the
/// error is already set on the context.
DateArg readDateTimeArg(sqlite3_context* ctx, sqlite3_value* arg, DateTimeValue& out,
                        DateRules rules = DateRules::StoredOrDateTime);

// The functions registered by registerSqlServerCompat, by file.
void tsqlLike(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void tsqlUnicodeLike(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void tsqlVarchar(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void tsqlInt(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void tsqlNumeric(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void tsqlBit(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void tsqlAvgIntStep(sqlite3_context* ctx, int argc, sqlite3_value** argv);
void tsqlAvgIntFinal(sqlite3_context* ctx);

} // namespace vantik::sqlcompat::detail
