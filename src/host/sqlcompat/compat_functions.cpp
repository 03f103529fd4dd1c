#include "host/sqlcompat/compat_functions.h"

#include "host/sqlcompat/datetime.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantik::sqlcompat {

namespace {

// ---------------------------------------------------------------------------
// Characters: UTF-8 decoding and the case folding of SQL_Latin1_General_CP1_CI_AS.

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
// Argument helpers.

std::string_view textOf(sqlite3_value* v)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    if (p == nullptr)
        return {};
    return {p, static_cast<std::size_t>(sqlite3_value_bytes(v))};
}

bool isNumeric(int type)
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

enum class DateArg { Null, Ok, Failed };

// Reads an argument as SQL Server converts it to datetime; on failure the error is
// already set on the context.
DateArg readDateTimeArg(sqlite3_context* ctx, sqlite3_value* arg, DateTimeValue& out)
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
    if (auto v = fromStorageText(text)) {
        out = *v;
        return DateArg::Ok;
    }
    if (sqlite3_value_type(arg) != SQLITE_NULL && sqlite3_value_text(arg) == nullptr) {
        sqlite3_result_error_nomem(ctx);
        return DateArg::Failed;
    }
    const DateParseResult r = castStringToDateTime(text);
    if (r.status != DateParseStatus::Ok) {
        sqlite3_result_error(ctx, r.message(), -1);
        return DateArg::Failed;
    }
    out = r.value;
    return DateArg::Ok;
}

// Decimal text without trailing zeros ("12.5", "12", "0.3").
std::string realToText(double value)
{
    if (value == 0.0)
        return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

std::string integerToText(sqlite3_int64 value)
{
    return std::to_string(value);
}

// ---------------------------------------------------------------------------
// Scalar functions.

void tsqlStyle0(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_value* x = argv[0];
    switch (sqlite3_value_type(x)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
        resultText(ctx, integerToText(sqlite3_value_int64(x)));
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

void tsqlDateDiffDay(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    DateTimeValue a;
    DateTimeValue b;
    const DateArg ra = readDateTimeArg(ctx, argv[0], a);
    if (ra == DateArg::Failed)
        return;
    const DateArg rb = readDateTimeArg(ctx, argv[1], b);
    if (rb == DateArg::Failed)
        return;
    if (ra == DateArg::Null || rb == DateArg::Null) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, dateDiffDays(a, b));
}

// MONTH(x) and YEAR(x): one part of the date, NULL for NULL.
template <int DateTimeValue::*Part>
void tsqlDatePart(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    DateTimeValue v;
    switch (readDateTimeArg(ctx, argv[0], v)) {
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

void tsqlDateTime(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    DateTimeValue v;
    if (readDateTimeArg(ctx, argv[0], v) == DateArg::Ok)
        resultText(ctx, toStorageText(v));
    else if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(ctx);
}

// CAST(x AS VARCHAR(n)). As on the server, an integer too long for n becomes "*" and
// a decimal number too long is an error; text is cut to n characters. n = -1 is VARCHAR(MAX).
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
    const std::size_t maxChars = limit < 0 ? std::numeric_limits<std::size_t>::max() : static_cast<std::size_t>(limit);
    switch (sqlite3_value_type(x)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER: {
        const std::string text = integerToText(sqlite3_value_int64(x));
        resultText(ctx, text.size() <= maxChars ? std::string_view(text) : std::string_view("*"));
        return;
    }
    case SQLITE_FLOAT: {
        const std::string text = realToText(sqlite3_value_double(x));
        if (text.size() > maxChars)
            sqlite3_result_error(ctx, "Arithmetic overflow error converting numeric to data type varchar.", -1);
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
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t chars = 0;
    std::size_t cut = 0;
    while (cut < text.size() && chars < maxChars) {
        cut += static_cast<std::size_t>(decodeUtf8(p + cut, p + text.size()).length);
        ++chars;
    }
    resultText(ctx, text.substr(0, cut));
}

// The server's int conversion of a string: blanks around, an optional sign, digits;
// an empty or blank string is 0.
std::optional<sqlite3_int64> textToInteger(std::string_view s)
{
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
    if (b == e)
        return std::nullopt;
    unsigned long long magnitude = 0;
    for (std::size_t i = b; i < e; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + static_cast<unsigned>(s[i] - '0');
        if (magnitude > 9223372036854775808ULL)
            return std::nullopt;
    }
    if (!negative && magnitude > 9223372036854775807ULL)
        return std::nullopt;
    if (negative)
        return magnitude == 9223372036854775808ULL ? std::numeric_limits<sqlite3_int64>::min()
                                                   : -static_cast<sqlite3_int64>(magnitude);
    return static_cast<sqlite3_int64>(magnitude);
}

// A decimal number: blanks around, sign, digits with at most one point, optional exponent.
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
    return std::strtod(body.c_str(), nullptr);
}

void addIntegers(sqlite3_context* ctx, sqlite3_int64 a, sqlite3_int64 b)
{
    sqlite3_int64 sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
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
    if (!isNumeric(ta) && !isNumeric(tb)) {
        const std::string_view a = textOf(argv[0]);
        const std::string_view b = textOf(argv[1]);
        std::string joined;
        joined.reserve(a.size() + b.size());
        joined.append(a).append(b);
        resultText(ctx, joined);
        return;
    }
    if (isNumeric(ta) && isNumeric(tb)) {
        if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER)
            addIntegers(ctx, sqlite3_value_int64(argv[0]), sqlite3_value_int64(argv[1]));
        else
            sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) + sqlite3_value_double(argv[1]));
        return;
    }
    sqlite3_value* number = isNumeric(ta) ? argv[0] : argv[1];
    const std::string_view text = textOf(isNumeric(ta) ? argv[1] : argv[0]);
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

// ---------------------------------------------------------------------------
// LIKE with the server's rules: % _ [abc] [a-c] [^abc], letter case ignored as in the
// collation, trailing blanks of the matched text ignored (but not those of the pattern).

struct LikeToken {
    enum class Kind : unsigned char { Literal, AnyOne, AnyRun, Set };
    Kind kind = Kind::Literal;
    bool negated = false;
    char32_t literal = 0; // folded
    std::vector<std::pair<char32_t, char32_t>> ranges; // as written; folded bounds are checked too
};

struct LikePattern {
    std::string source;
    std::string escape;
    bool valid = true; // false when the pattern ends in the escape character: it matches nothing
    std::vector<LikeToken> tokens;
};

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

LikePattern compileLike(std::string_view pattern, std::string_view escape)
{
    LikePattern compiled;
    compiled.source = pattern;
    compiled.escape = escape;
    const std::vector<char32_t> cps = decodeAll(pattern);
    const std::vector<char32_t> escapeCps = decodeAll(escape);
    const bool hasEscape = !escapeCps.empty();
    const char32_t escapeChar = hasEscape ? escapeCps[0] : 0;

    for (std::size_t i = 0; i < cps.size(); ++i) {
        const char32_t c = cps[i];
        LikeToken token;
        if (hasEscape && c == escapeChar) {
            if (i + 1 == cps.size()) {
                compiled.valid = false;
                break;
            }
            token.literal = foldCase(cps[++i]);
        } else if (c == '%') {
            if (!compiled.tokens.empty() && compiled.tokens.back().kind == LikeToken::Kind::AnyRun)
                continue;
            token.kind = LikeToken::Kind::AnyRun;
        } else if (c == '_') {
            token.kind = LikeToken::Kind::AnyOne;
        } else if (c == '[') {
            std::size_t k = i + 1;
            const bool negated = k < cps.size() && cps[k] == '^';
            if (negated)
                ++k;
            std::size_t close = k;
            while (close < cps.size() && cps[close] != ']')
                ++close;
            if (close == cps.size()) {
                token.literal = '[';
            } else {
                token.kind = LikeToken::Kind::Set;
                token.negated = negated;
                for (std::size_t m = k; m < close; ++m) {
                    if (m + 2 < close && cps[m + 1] == '-') {
                        token.ranges.emplace_back(cps[m], cps[m + 2]);
                        m += 2;
                    } else {
                        token.ranges.emplace_back(cps[m], cps[m]);
                    }
                }
                i = close;
            }
        } else {
            token.literal = foldCase(c);
        }
        compiled.tokens.push_back(std::move(token));
    }
    return compiled;
}

bool tokenMatches(const LikeToken& token, char32_t c)
{
    switch (token.kind) {
    case LikeToken::Kind::AnyOne:
        return true;
    case LikeToken::Kind::Literal:
        return token.literal == foldCase(c);
    case LikeToken::Kind::Set: {
        const char32_t folded = foldCase(c);
        bool inSet = false;
        for (const auto& [low, high] : token.ranges) {
            if ((c >= low && c <= high) || (folded >= foldCase(low) && folded <= foldCase(high))) {
                inSet = true;
                break;
            }
        }
        return inSet != token.negated;
    }
    case LikeToken::Kind::AnyRun:
        break;
    }
    return false;
}

// Greedy matching with one backtrack point per '%': every other token takes exactly one
// character, so the leftmost match of each segment is always the one to keep. The text
// matches when the pattern is used up and only blanks are left of the text.
bool likeMatches(const LikePattern& pattern, std::string_view text)
{
    if (!pattern.valid)
        return false;
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t blankTail = n;
    while (blankTail > 0 && s[blankTail - 1] == ' ')
        --blankTail;
    const std::vector<LikeToken>& tokens = pattern.tokens;
    const std::size_t m = tokens.size();
    constexpr std::size_t none = std::numeric_limits<std::size_t>::max();

    std::size_t ti = 0;
    std::size_t pi = 0;
    std::size_t starToken = none;
    std::size_t starText = 0;
    while (true) {
        if (pi == m && ti >= blankTail)
            return true;
        if (ti < n) {
            if (pi < m && tokens[pi].kind == LikeToken::Kind::AnyRun) {
                starToken = pi++;
                starText = ti;
                continue;
            }
            if (pi < m) {
                const Decoded d = decodeUtf8(s + ti, s + n);
                if (tokenMatches(tokens[pi], d.codePoint)) {
                    ++pi;
                    ti += static_cast<std::size_t>(d.length);
                    continue;
                }
            }
        } else {
            while (pi < m && tokens[pi].kind == LikeToken::Kind::AnyRun)
                ++pi;
            if (pi == m)
                return true;
        }
        if (starToken == none || starText >= n)
            return false;
        starText += static_cast<std::size_t>(decodeUtf8(s + starText, s + n).length);
        ti = starText;
        pi = starToken + 1;
    }
}

void deletePattern(void* p)
{
    delete static_cast<LikePattern*>(p);
}

// like(pattern, text[, escape]): SQLite calls it for "text LIKE pattern [ESCAPE e]".
void tsqlLike(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    }
    const std::string_view pattern = textOf(argv[0]);
    const std::string_view text = textOf(argv[1]);
    std::string_view escape;
    if (argc == 3) {
        escape = textOf(argv[2]);
        if (decodeAll(escape).size() != 1) {
            resultError(ctx, "The invalid escape character \"" + std::string(escape)
                                 + "\" was specified in a LIKE predicate.");
            return;
        }
    }
    // The pattern is usually a constant: compile it once per statement.
    auto* compiled = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 0));
    if (compiled == nullptr || compiled->source != pattern || compiled->escape != escape) {
        auto fresh = std::make_unique<LikePattern>(compileLike(pattern, escape));
        const bool matched = likeMatches(*fresh, text);
        sqlite3_set_auxdata(ctx, 0, fresh.release(), deletePattern); // deletes it at once if it cannot keep it
        sqlite3_result_int(ctx, matched ? 1 : 0);
        return;
    }
    sqlite3_result_int(ctx, likeMatches(*compiled, text) ? 1 : 0);
}

} // namespace

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
        {"tsql_datetime", 1, tsqlDateTime},
        {"tsql_add", 2, tsqlAdd},
        {"like", 2, tsqlLike},
        {"like", 3, tsqlLike},
    };
    bool ok = sqlite3_create_collation_v2(db, kCollationName, SQLITE_UTF8, nullptr, compareTsql, nullptr) == SQLITE_OK;
    for (const Function& f : functions) {
        ok = sqlite3_create_function_v2(db, f.name, f.argumentCount, flags, nullptr, f.call, nullptr, nullptr, nullptr)
                == SQLITE_OK
            && ok;
    }
    return ok;
}

} // namespace vantik::sqlcompat
