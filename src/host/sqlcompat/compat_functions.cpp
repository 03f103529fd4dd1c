#include "host/sqlcompat/compat_functions.h"

#include "host/sqlcompat/compat_internal.h"
#include "host/sqlcompat/datetime.h"
#include "host/sqlcompat/tsql_lexer.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace vantik::sqlcompat {

namespace detail {

std::vector<char32_t> decodeAll(std::string_view text)
{
    std::vector<char32_t> out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        const Decoded d = decodeUtf8(p + i, p + text.size());
        out.push_back(d.codePoint);
        i += static_cast<std::size_t>(d.length);
    }
    return out;
}

std::string_view textOf(sqlite3_value* v)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    if (p == nullptr)
        return {};
    return {p, static_cast<std::size_t>(sqlite3_value_bytes(v))};
}

bool isNumericValue(int type)
{
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

void resultText(sqlite3_context* ctx, std::string_view text)
{
    sqlite3_result_text64(ctx, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void resultError(sqlite3_context* ctx, const std::string& message)
{
    sqlite3_result_error(ctx, message.c_str(), static_cast<int>(message.size()));
}

std::string realToText(double value)
{
    if (value == 0.0)
        return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

std::optional<sqlite3_int64> textToInteger(std::string_view s, bool* overflow)
{
    if (overflow)
        *overflow = false;
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    if (b == e)
        return 0;
    bool negative = false;
    if (s[b] == '+' || s[b] == '-') {
        negative = s[b] == '-';
        ++b;
    }
    // SQL Server reads a sign alone as 0.
    if (b == e)
        return 0;
    unsigned long long magnitude = 0;
    bool tooLarge = false;
    for (std::size_t i = b; i < e; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
        if (!tooLarge) {
            magnitude = magnitude * 10 + static_cast<unsigned>(s[i] - '0');
            tooLarge = magnitude > 9223372036854775808ULL;
        }
    }
    if (tooLarge || (!negative && magnitude > 9223372036854775807ULL)) {
        if (overflow)
            *overflow = true;
        return std::nullopt;
    }
    if (negative)
        return magnitude == 9223372036854775808ULL ? std::numeric_limits<sqlite3_int64>::min()
                                                   : -static_cast<sqlite3_int64>(magnitude);
    return static_cast<sqlite3_int64>(magnitude);
}

std::optional<double> textToReal(std::string_view s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    const std::string body(s.substr(b, e - b));
    std::size_t i = 0;
    if (i < body.size() && (body[i] == '+' || body[i] == '-'))
        ++i;
    std::size_t digits = 0;
    bool point = false;
    for (; i < body.size(); ++i) {
        if (body[i] >= '0' && body[i] <= '9')
            ++digits;
        else if (body[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        ++i;
        if (i < body.size() && (body[i] == '+' || body[i] == '-'))
            ++i;
        const std::size_t start = i;
        while (i < body.size() && body[i] >= '0' && body[i] <= '9')
            ++i;
        if (i == start)
            return std::nullopt;
    }
    if (i != body.size())
        return std::nullopt;
    const double value = std::strtod(body.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {

// A number read as a datetime counts days from 1900-01-01, the fraction being the time.
std::optional<DateTimeValue> dateTimeFromDays(double days)
{
    if (!std::isfinite(days))
        return std::nullopt;
    const double whole = std::floor(days);
    const long long first = daysFromCivil(1753, 1, 1) - daysFromCivil(1900, 1, 1);
    const long long last = daysFromCivil(9999, 12, 31) - daysFromCivil(1900, 1, 1);
    if (whole < static_cast<double>(first) || whole > static_cast<double>(last))
        return std::nullopt;
    // datetime's clock runs in 1/300 s.
    long long ticks = std::llround((days - whole) * 86400.0 * 300.0);
    long long dayCount = static_cast<long long>(whole);
    if (ticks >= 86400LL * 300) {
        ticks -= 86400LL * 300;
        ++dayCount;
        if (dayCount > last)
            return std::nullopt;
    }
    DateTimeValue v = addDays(DateTimeValue{}, static_cast<int>(dayCount));
    const long long seconds = ticks / 300;
    v.hour = static_cast<int>(seconds / 3600);
    v.minute = static_cast<int>(seconds / 60 % 60);
    v.second = static_cast<int>(seconds % 60);
    v.millisecond = static_cast<int>((ticks % 300 * 10 + 1) / 3);
    return v;
}

} // namespace

DateArg readDateTimeArg(sqlite3_context* ctx, sqlite3_value* arg, DateTimeValue& out, DateRules rules)
{
    switch (sqlite3_value_type(arg)) {
    case SQLITE_NULL:
        return DateArg::Null;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        if (auto v = dateTimeFromDays(sqlite3_value_double(arg))) {
            out = *v;
            return DateArg::Ok;
        }
        sqlite3_result_error(ctx, "Arithmetic overflow error converting expression to data type datetime.", -1);
        return DateArg::Failed;
    default:
        break;
    }
    const std::string_view text = textOf(arg);
    if (sqlite3_value_text(arg) == nullptr) {
        sqlite3_result_error_nomem(ctx);
        return DateArg::Failed;
    }
    if (rules != DateRules::DateTime) {
        if (auto v = fromStorageText(text)) {
            out = *v;
            return DateArg::Ok;
        }
    }
    const DateParseResult r =
        rules == DateRules::StoredOrDateTime2 ? parseSqlServerDateTime2(text) : castStringToDateTime(text);
    if (r.status != DateParseStatus::Ok) {
        sqlite3_result_error(ctx, r.message(), -1);
        return DateArg::Failed;
    }
    out = r.value;
    return DateArg::Ok;
}

} // namespace detail

namespace {

using namespace detail;

// ---------------------------------------------------------------------------
// Collation TSQL: case-insensitive, and the shorter string compares as if padded with
// blanks (so trailing blanks never count), otherwise code point order of the folded text.

int compareTsql(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    const auto* pa = static_cast<const unsigned char*>(a);
    const auto* pb = static_cast<const unsigned char*>(b);
    std::size_t na = lengthA > 0 ? static_cast<std::size_t>(lengthA) : 0;
    std::size_t nb = lengthB > 0 ? static_cast<std::size_t>(lengthB) : 0;
    while (na > 0 && pa[na - 1] == ' ')
        --na;
    while (nb > 0 && pb[nb - 1] == ' ')
        --nb;

    std::size_t i = 0;
    std::size_t j = 0;
    while (i < na && j < nb) {
        char32_t ca;
        char32_t cb;
        if ((pa[i] | pb[j]) < 0x80) {
            ca = foldCase(pa[i++]);
            cb = foldCase(pb[j++]);
        } else {
            const Decoded da = decodeUtf8(pa + i, pa + na);
            const Decoded db = decodeUtf8(pb + j, pb + nb);
            i += static_cast<std::size_t>(da.length);
            j += static_cast<std::size_t>(db.length);
            ca = foldCase(da.codePoint);
            cb = foldCase(db.codePoint);
        }
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    while (i < na) {
        const Decoded d = decodeUtf8(pa + i, pa + na);
        i += static_cast<std::size_t>(d.length);
        if (d.codePoint != ' ')
            return d.codePoint < ' ' ? -1 : 1;
    }
    while (j < nb) {
        const Decoded d = decodeUtf8(pb + j, pb + nb);
        j += static_cast<std::size_t>(d.length);
        if (d.codePoint != ' ')
            return d.codePoint < ' ' ? 1 : -1;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Scalar functions of dates and of '+'.

void tsqlStyle0(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_value* x = argv[0];
    switch (sqlite3_value_type(x)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
        resultText(ctx, std::to_string(sqlite3_value_int64(x)));
        return;
    case SQLITE_FLOAT:
        resultText(ctx, realToText(sqlite3_value_double(x)));
        return;
    default:
        break;
    }
    const std::string_view text = textOf(x);
    if (auto v = fromStorageText(text))
        resultText(ctx, formatStyle0(*v));
    else
        sqlite3_result_value(ctx, x);
}

// DATEDIFF reads a string as datetime2, so '...23:59:59.9999999' stays in its day.
void tsqlDateDiffDay(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    DateTimeValue a;
    DateTimeValue b;
    const DateArg ra = readDateTimeArg(ctx, argv[0], a, DateRules::StoredOrDateTime2);
    if (ra == DateArg::Failed)
        return;
    const DateArg rb = readDateTimeArg(ctx, argv[1], b, DateRules::StoredOrDateTime2);
    if (rb == DateArg::Failed)
        return;
    if (ra == DateArg::Null || rb == DateArg::Null) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, dateDiffDays(a, b));
}

// MONTH(x) and YEAR(x): one part of the date, NULL for NULL; strings read as datetime2.
template <int DateTimeValue::*Part>
void tsqlDatePart(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    DateTimeValue v;
    switch (readDateTimeArg(ctx, argv[0], v, DateRules::StoredOrDateTime2)) {
    case DateArg::Null:
        sqlite3_result_null(ctx);
        break;
    case DateArg::Ok:
        sqlite3_result_int(ctx, v.*Part);
        break;
    case DateArg::Failed:
        break;
    }
}

// CAST(text AS datetime): the text is rounded to datetime's clock even in the storage form.
void tsqlDateTime(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    DateTimeValue v;
    if (readDateTimeArg(ctx, argv[0], v, DateRules::DateTime) == DateArg::Ok)
        resultText(ctx, toStorageText(v));
    else if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(ctx);
}

void addIntegers(sqlite3_context* ctx, sqlite3_int64 a, sqlite3_int64 b)
{
    sqlite3_int64 sum = 0;
    if (!addWithoutOverflow(a, b, sum))
        sqlite3_result_error(ctx, "Arithmetic overflow error converting expression to data type bigint.", -1);
    else
        sqlite3_result_int64(ctx, sum);
}

// '+' when the kinds are known only at run time: text + text concatenates, numbers add,
// and text + number converts the text to the number's type, as the server does.
void tsqlAdd(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int ta = sqlite3_value_type(argv[0]);
    const int tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (!isNumericValue(ta) && !isNumericValue(tb)) {
        const std::string_view a = textOf(argv[0]);
        const std::string_view b = textOf(argv[1]);
        std::string joined;
        joined.reserve(a.size() + b.size());
        joined.append(a).append(b);
        resultText(ctx, joined);
        return;
    }
    if (isNumericValue(ta) && isNumericValue(tb)) {
        if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER)
            addIntegers(ctx, sqlite3_value_int64(argv[0]), sqlite3_value_int64(argv[1]));
        else
            sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) + sqlite3_value_double(argv[1]));
        return;
    }
    sqlite3_value* number = isNumericValue(ta) ? argv[0] : argv[1];
    const std::string_view text = textOf(isNumericValue(ta) ? argv[1] : argv[0]);
    if (sqlite3_value_type(number) == SQLITE_INTEGER) {
        const auto converted = textToInteger(text);
        if (!converted) {
            resultError(ctx, "Conversion failed when converting the varchar value '" + std::string(text)
                                 + "' to data type int.");
            return;
        }
        addIntegers(ctx, *converted, sqlite3_value_int64(number));
        return;
    }
    const auto converted = textToReal(text);
    if (!converted) {
        sqlite3_result_error(ctx, "Error converting data type varchar to numeric.", -1);
        return;
    }
    sqlite3_result_double(ctx, *converted + sqlite3_value_double(number));
}

} // namespace

std::string preparedStatementMessage(std::string_view sqliteMessage)
{
    if (sqliteMessage.find("parser stack overflow") != std::string_view::npos
        || sqliteMessage.find("Expression tree is too large") != std::string_view::npos)
        return kNestedTooDeeplyMessage;
    return std::string(sqliteMessage);
}

bool registerSqlServerCompat(sqlite3* db)
{
    if (db == nullptr)
        return false;
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    struct Function {
        const char* name;
        int argumentCount;
        void (*call)(sqlite3_context*, int, sqlite3_value**);
    };
    static constexpr Function functions[] = {
        {"tsql_style0", 1, tsqlStyle0},
        {"tsql_datediff_day", 2, tsqlDateDiffDay},
        {"tsql_month", 1, tsqlDatePart<&DateTimeValue::month>},
        {"tsql_year", 1, tsqlDatePart<&DateTimeValue::year>},
        {"tsql_varchar", 1, tsqlVarchar},
        {"tsql_varchar", 2, tsqlVarchar},
        {"tsql_varchar", 4, tsqlVarchar},
        {"tsql_datetime", 1, tsqlDateTime},
        {"tsql_add", 2, tsqlAdd},
        {"tsql_int", 1, tsqlInt},
        {"tsql_numeric", 1, tsqlNumeric},
        {"tsql_bit", 1, tsqlBit},
        {"like", 2, tsqlLike},
        {"like", 3, tsqlLike},
        {"tsql_nlike", 2, tsqlUnicodeLike},
        {"tsql_nlike", 3, tsqlUnicodeLike},
    };
    bool ok = sqlite3_create_collation_v2(db, kCollationName, SQLITE_UTF8, nullptr, compareTsql, nullptr) == SQLITE_OK;
    for (const Function& f : functions) {
        ok = sqlite3_create_function_v2(db, f.name, f.argumentCount, flags, nullptr, f.call, nullptr, nullptr, nullptr)
                == SQLITE_OK
            && ok;
    }
    ok = sqlite3_create_function_v2(db, "tsql_avg_int", 1, flags, nullptr, nullptr, tsqlAvgIntStep, tsqlAvgIntFinal,
                                    nullptr)
            == SQLITE_OK
        && ok;
    return ok;
}

} // namespace vantik::sqlcompat
