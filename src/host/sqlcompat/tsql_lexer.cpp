#include "host/sqlcompat/tsql_lexer.h"

#include "host/sqlcompat/catalog.h"
#include "host/sqlcompat/translator.h"

#include <algorithm>
#include <array>

namespace vantik::sqlcompat {

std::string unsupportedMessage(std::string_view construct)
{
    return "The embedded database cannot translate the T-SQL construct '" + std::string(construct) + "'.";
}

void unsupported(std::string_view construct)
{
    throw TranslationError(unsupportedMessage(construct));
}

namespace {

// SQL Server's reserved keywords, lower case and sorted, so that a word is found by
// binary search.
constexpr std::string_view kReservedKeywords[] = {
    "add", "all", "alter", "and", "any", "as", "asc", "authorization", "backup", "begin", "between", "break",
    "browse", "bulk", "by", "cascade", "case", "check", "checkpoint", "close", "clustered", "coalesce", "collate",
    "column", "commit", "compute", "constraint", "contains", "containstable", "continue", "convert", "create",
    "cross", "current", "current_date", "current_time", "current_timestamp", "current_user", "cursor", "database",
    "dbcc", "deallocate", "declare", "default", "delete", "deny", "desc", "disk", "distinct", "distributed",
    "double", "drop", "dump", "else", "end", "errlvl", "escape", "except", "exec", "execute", "exists", "exit",
    "external", "fetch", "file", "fillfactor", "for", "foreign", "freetext", "freetexttable", "from", "full",
    "function", "goto", "grant", "group", "having", "holdlock", "identity", "identity_insert", "identitycol", "if",
    "in", "index", "inner", "insert", "intersect", "into", "is", "join", "key", "kill", "left", "like", "lineno",
    "load", "merge", "national", "nocheck", "nonclustered", "not", "null", "nullif", "of", "off", "offsets", "on",
    "open", "opendatasource", "openquery", "openrowset", "openxml", "option", "or", "order", "outer", "over",
    "percent", "pivot", "plan", "precision", "primary", "print", "proc", "procedure", "public", "raiserror", "read",
    "readtext", "reconfigure", "references", "replication", "restore", "restrict", "return", "revert", "revoke",
    "right", "rollback", "rowcount", "rowguidcol", "rule", "save", "schema", "securityaudit", "select",
    "semantickeyphrasetable", "semanticsimilaritydetailstable", "semanticsimilaritytable", "session_user", "set",
    "setuser", "shutdown", "some", "statistics", "system_user", "table", "tablesample", "textsize", "then", "to",
    "top", "tran", "transaction", "trigger", "truncate", "try_convert", "tsequal", "union", "unique", "unpivot",
    "update", "updatetext", "use", "user", "values", "varying", "view", "waitfor", "when", "where", "while", "with",
    "writetext"};

constexpr bool sortedKeywords()
{
    for (std::size_t i = 1; i < std::size(kReservedKeywords); ++i) {
        if (!(kReservedKeywords[i - 1] < kReservedKeywords[i]))
            return false;
    }
    return true;
}
static_assert(sortedKeywords(), "the keyword table is searched by bisection");

constexpr bool isAsciiAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr bool isHexDigit(char c)
{
    return isAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isOneCharSymbol(char c)
{
    switch (c) {
    case '(': case ')': case ',': case '.': case '*': case '+': case '-': case '/': case '%': case '=': case '<':
    case '>': case ';':
        return true;
    default:
        return false;
    }
}

// Character classes by table: the tokenizer asks for every character of every statement.
enum CharClass : unsigned char { kWordStart = 1, kWordChar = 2 };

constexpr std::array<unsigned char, 256> makeCharClasses()
{
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        if (isAsciiAlpha(ch) || ch == '_' || ch == '#')
            classes[c] |= kWordStart;
        if (isAsciiAlpha(ch) || isAsciiDigit(ch) || ch == '_' || ch == '#' || ch == '$' || ch == '@')
            classes[c] |= kWordChar;
    }
    return classes;
}

constexpr std::array<unsigned char, 256> kCharClasses = makeCharClasses();

bool isWordStart(char c)
{
    return kCharClasses[static_cast<unsigned char>(c)] & kWordStart;
}

bool isWordChar(char c)
{
    return kCharClasses[static_cast<unsigned char>(c)] & kWordChar;
}

[[noreturn]] void syntaxErrorNear(std::string_view near)
{
    throw TranslationError("Incorrect syntax near '" + std::string(near) + "'.");
}

std::string excerpt(std::string_view text)
{
    return std::string(text.substr(0, 60));
}

// Reads a literal or a quoted name closed by `close`, where a doubled `close` stands for itself.
// The value is a view into the statement unless a doubled `close` had to be undone; then it
// lives in `store`.
std::string_view readQuoted(std::string_view sql, std::size_t& pos, char close, std::list<std::string>& store)
{
    const std::size_t start = pos;
    std::string* value = nullptr;
    while (pos < sql.size()) {
        const std::size_t found = sql.find(close, pos);
        if (found == std::string_view::npos)
            break;
        if (found + 1 < sql.size() && sql[found + 1] == close) {
            if (!value)
                value = &store.emplace_back();
            value->append(sql.substr(pos, found + 1 - pos));
            pos = found + 2;
            continue;
        }
        const std::string_view tail = sql.substr(pos, found - pos);
        pos = found + 1;
        if (!value)
            return tail;
        value->append(tail);
        return *value;
    }
    pos = sql.size();
    if (close == '\'')
        throw TranslationError("Unclosed quotation mark after the character string '" + excerpt(sql.substr(start))
                               + "'.");
    throw TranslationError("Unclosed quotation mark before the character string '" + excerpt(sql.substr(start - 1))
                           + "'.");
}

// Block comments nest in T-SQL: "/* a /* b */ c */" is one comment. Returns the offset
// just after the comment that opens at `pos`.
std::size_t skipBlockComment(std::string_view sql, std::size_t pos)
{
    std::size_t depth = 0;
    while (pos + 1 < sql.size()) {
        if (sql[pos] == '/' && sql[pos + 1] == '*') {
            ++depth;
            pos += 2;
        } else if (sql[pos] == '*' && sql[pos + 1] == '/') {
            pos += 2;
            if (--depth == 0)
                return pos;
        } else {
            ++pos;
        }
    }
    throw TranslationError("Missing end comment mark '*/'.");
}

// A numeric constant: digits with at most one point, then an optional exponent.
void readNumber(std::string_view sql, std::size_t& pos, Token& t)
{
    if (sql[pos] == '0' && pos + 1 < sql.size() && (sql[pos + 1] == 'x' || sql[pos + 1] == 'X')) {
        pos += 2;
        while (pos < sql.size() && isHexDigit(sql[pos]))
            ++pos;
        unsupported("binary constant " + excerpt(sql.substr(t.begin, pos - t.begin)));
    }
    t.number = NumberForm::Integer;
    while (pos < sql.size() && isAsciiDigit(sql[pos]))
        ++pos;
    if (pos < sql.size() && sql[pos] == '.') {
        t.number = NumberForm::Decimal;
        ++pos;
        while (pos < sql.size() && isAsciiDigit(sql[pos]))
            ++pos;
    }
    if (pos < sql.size() && (sql[pos] == 'e' || sql[pos] == 'E')) {
        std::size_t exponent = pos + 1;
        if (exponent < sql.size() && (sql[exponent] == '+' || sql[exponent] == '-'))
            ++exponent;
        const std::size_t digits = exponent;
        while (exponent < sql.size() && isAsciiDigit(sql[exponent]))
            ++exponent;
        if (exponent == digits)
            syntaxErrorNear(sql.substr(t.begin, exponent - t.begin));
        t.number = NumberForm::Float;
        pos = exponent;
    }
    // "1abc" and "1'x'" mean "1 AS abc" to SQL Server; nobody writes that on purpose.
    if (pos < sql.size() && (isWordChar(sql[pos]) || sql[pos] == '\'' || sql[pos] == '.'))
        syntaxErrorNear(sql.substr(t.begin, pos + 1 - t.begin));
}

} // namespace

bool isReservedKeyword(std::string_view word)
{
    constexpr std::size_t longest = 30;  // "semanticsimilaritydetailstable"
    if (word.size() < 2 || word.size() > longest)
        return false;
    std::array<char, longest> buffer;
    for (std::size_t i = 0; i < word.size(); ++i)
        buffer[i] = lowerAsciiChar(word[i]);
    const std::string_view lower(buffer.data(), word.size());
    return std::binary_search(std::begin(kReservedKeywords), std::end(kReservedKeywords), lower);
}

void syntaxErrorAt(const Token& token)
{
    if (token.kind == TokenKind::End)
        throw TranslationError("Incorrect syntax near the end of the statement.");
    if (token.kind == TokenKind::Word && token.reserved)
        throw TranslationError("Incorrect syntax near the keyword '" + std::string(token.text) + "'.");
    syntaxErrorNear(token.text);
}

std::vector<Token> tokenize(std::string_view sql, std::list<std::string>& store)
{
    // SQLite reads a statement only up to its first NUL: whatever followed would be lost.
    if (sql.find('\0') != std::string_view::npos)
        throw TranslationError("The statement contains a NUL character (code 0); remove it and try again.");
    std::vector<Token> tokens;
    tokens.reserve(sql.size() / 4 + 2);
    std::size_t pos = 0;
    while (pos < sql.size()) {
        const char c = sql[pos];
        if (isAsciiSpace(c)) {
            ++pos;
            continue;
        }
        if (c == '-' && pos + 1 < sql.size() && sql[pos + 1] == '-') {
            while (pos < sql.size() && sql[pos] != '\n')
                ++pos;
            continue;
        }
        if (c == '/' && pos + 1 < sql.size() && sql[pos + 1] == '*') {
            pos = skipBlockComment(sql, pos);
            continue;
        }
        // Filled in place: copying a finished token costs more than reading it.
        Token& t = tokens.emplace_back();
        t.begin = pos;
        if (c == '\'' || ((c == 'N' || c == 'n') && pos + 1 < sql.size() && sql[pos + 1] == '\'')) {
            t.unicode = c != '\'';
            pos += c == '\'' ? 1 : 2;
            t.kind = TokenKind::String;
            t.text = readQuoted(sql, pos, '\'', store);
        } else if (c == '[') {
            ++pos;
            t.kind = TokenKind::QuotedName;
            t.text = readQuoted(sql, pos, ']', store);
        } else if (c == '"') {
            ++pos;
            t.kind = TokenKind::QuotedName;
            t.text = readQuoted(sql, pos, '"', store);
        } else if (isWordStart(c)) {
            while (pos < sql.size() && isWordChar(sql[pos]))
                ++pos;
            t.kind = TokenKind::Word;
            t.text = sql.substr(t.begin, pos - t.begin);
            t.reserved = isReservedKeyword(t.text);
        } else if (isAsciiDigit(c) || (c == '.' && pos + 1 < sql.size() && isAsciiDigit(sql[pos + 1]))) {
            readNumber(sql, pos, t);
            t.kind = TokenKind::Number;
            t.text = sql.substr(t.begin, pos - t.begin);
        } else {
            const char n = pos + 1 < sql.size() ? sql[pos + 1] : '\0';
            const bool twoChar = (c == '<' && (n == '>' || n == '=')) || (c == '>' && n == '=')
                || (c == '!' && (n == '=' || n == '<' || n == '>'));
            if (twoChar) {
                if (c == '!' && (n == '<' || n == '>'))
                    unsupported(std::string(1, c) + n);
                pos += 2;
            } else if (isOneCharSymbol(c)) {
                ++pos;
            } else if (c == '&' || c == '|' || c == '^' || c == '~') {
                unsupported("bitwise operator");
            } else if (c == '@') {
                unsupported("@variable");
            } else if (c == '?') {
                unsupported("? parameter");
            } else if (c == '$' && (isAsciiDigit(n) || n == '.' || n == '-' || n == '+')) {
                unsupported("money constant");
            } else {
                // A whole UTF-8 sequence, so that the message stays readable text.
                std::size_t length = 1;
                while (pos + length < sql.size() && length < 4
                       && (static_cast<unsigned char>(sql[pos + length]) & 0xC0) == 0x80)
                    ++length;
                syntaxErrorNear(sql.substr(pos, length));
            }
            t.kind = TokenKind::Symbol;
            t.text = sql.substr(t.begin, pos - t.begin);
        }
        t.end = pos;
    }
    Token end;
    end.begin = end.end = sql.size();
    tokens.push_back(end);
    return tokens;
}

} // namespace vantik::sqlcompat
