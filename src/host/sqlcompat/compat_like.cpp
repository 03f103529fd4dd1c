#include "host/sqlcompat/compat_internal.h"

#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vantik::sqlcompat::detail {

namespace {

// LIKE with the server's rules: % _ [abc] [a-c] [^abc], letter case ignored as in the
// collation, trailing blanks of the matched text ignored (but not those of the pattern)
// unless a side is Unicode.

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
// matches when the pattern is used up and only blanks are left of the text (nothing at
// all when its trailing blanks count).
bool likeMatches(const LikePattern& pattern, std::string_view text, bool trailingBlanksCount)
{
    if (!pattern.valid)
        return false;
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t blankTail = n;
    while (!trailingBlanksCount && blankTail > 0 && s[blankTail - 1] == ' ')
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
void matchLike(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool trailingBlanksCount)
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
        const bool matched = likeMatches(*fresh, text, trailingBlanksCount);
        sqlite3_set_auxdata(ctx, 0, fresh.release(), deletePattern); // deletes it at once if it cannot keep it
        sqlite3_result_int(ctx, matched ? 1 : 0);
        return;
    }
    sqlite3_result_int(ctx, likeMatches(*compiled, text, trailingBlanksCount) ? 1 : 0);
}

} // namespace

void tsqlLike(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    matchLike(ctx, argc, argv, false);
}

// LIKE where one side is nvarchar: the trailing blanks of the matched text count.
void tsqlUnicodeLike(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    matchLike(ctx, argc, argv, true);
}

} // namespace vantik::sqlcompat::detail
