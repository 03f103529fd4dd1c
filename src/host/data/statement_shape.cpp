#include "host/data/statement_shape.h"

#include <algorithm>
#include <charconv>

namespace vantik {

namespace {

bool isNamePart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '@'
        || c == '#' || c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

// The offset just after a run quoted by `close` that starts at `from` (after its
// opening character); a doubled closing character stays inside. npos when unclosed.
std::size_t skipQuoted(std::string_view text, std::size_t from, char close)
{
    std::size_t pos = from;
    while (pos < text.size()) {
        if (text[pos] == close) {
            if (pos + 1 < text.size() && text[pos + 1] == close) {
                pos += 2;
                continue;
            }
            return pos + 1;
        }
        ++pos;
    }
    return std::string_view::npos;
}

// Block comments nest, as the translator reads them; npos when one is left open.
std::size_t skipBlockComment(std::string_view text, std::size_t from)
{
    std::size_t depth = 0;
    std::size_t pos = from;
    while (pos + 1 < text.size()) {
        if (text[pos] == '/' && text[pos + 1] == '*') {
            ++depth;
            pos += 2;
        } else if (text[pos] == '*' && text[pos + 1] == '/') {
            pos += 2;
            if (--depth == 0)
                return pos;
        } else {
            ++pos;
        }
    }
    return std::string_view::npos;
}

// The characters that stand for literals in a key and in a marked statement.
constexpr char kLiteralMark = '\x01';
constexpr char kMarkerQuote = '\x02';

void appendMarker(std::string& out, std::size_t index)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, index).ptr;
    out += '\'';
    out += kMarkerQuote;
    out.append(digits, end);
    out += kMarkerQuote;
    out += '\'';
}

} // namespace

StatementShape statementShape(std::string_view tsql)
{
    StatementShape shape;
    // A text that holds the characters keys and markers are made of could pass for another;
    // one with a NUL is refused by the translator and must not run as bound parameters.
    if (tsql.find_first_of(std::string_view("\x00\x01\x02", 3)) != std::string_view::npos) {
        shape.complete = false;
        return shape;
    }
    shape.key.reserve(tsql.size());
    std::size_t copied = 0;
    std::size_t pos = 0;
    while (pos < tsql.size()) {
        const char c = tsql[pos];
        const char next = pos + 1 < tsql.size() ? tsql[pos + 1] : '\0';
        std::size_t end = pos + 1;
        if (c == '-' && next == '-') {
            end = tsql.find('\n', pos);
            if (end == std::string_view::npos)
                end = tsql.size();
        } else if (c == '/' && next == '*') {
            end = skipBlockComment(tsql, pos);
        } else if (c == '[') {
            end = skipQuoted(tsql, pos + 1, ']');
        } else if (c == '"') {
            end = skipQuoted(tsql, pos + 1, '"');
        } else if (c == '\'') {
            end = skipQuoted(tsql, pos + 1, '\'');
            // N'...' and a literal glued to a name keep their text in the shape.
            if (end != std::string_view::npos && (pos == 0 || !isNamePart(tsql[pos - 1]))) {
                shape.key.append(tsql.substr(copied, pos - copied));
                shape.key.push_back(kLiteralMark);
                shape.literals.push_back(tsql.substr(pos, end - pos));
                copied = end;
            }
        }
        if (end == std::string_view::npos) {
            shape.complete = false;
            return shape;
        }
        pos = end;
    }
    shape.key.append(tsql.substr(copied));
    return shape;
}

std::string literalValue(std::string_view literal)
{
    std::string value;
    if (literal.size() < 2)
        return value;
    const std::string_view inner = literal.substr(1, literal.size() - 2);
    value.reserve(inner.size());
    for (std::size_t i = 0; i < inner.size(); ++i) {
        value.push_back(inner[i]);
        if (inner[i] == '\'' && i + 1 < inner.size() && inner[i + 1] == '\'')
            ++i;
    }
    return value;
}

std::optional<sqlcompat::Translation> parameterizedTranslation(const StatementShape& shape,
                                                               const sqlcompat::Translation& translated,
                                                               const sqlcompat::Catalog& catalog)
{
    // A statement with more literals than this is no per-row statement worth keeping, and
    // SQLite looks each numbered parameter up among those before it: thousands would make
    // preparing it cost the square of their number.
    constexpr std::size_t kMaxParameters = 999;
    if (!shape.complete || shape.literals.size() > kMaxParameters)
        return std::nullopt;
    // Each literal becomes a marker no statement holds; the markers must come out
    // of the translation as they went in, once each, where the literal was.
    std::string marked;
    marked.reserve(shape.key.size() + shape.literals.size() * 8);
    std::size_t index = 0;
    for (const char c : shape.key) {
        if (c != kLiteralMark) {
            marked.push_back(c);
        } else if (index < shape.literals.size()) {
            appendMarker(marked, index++);
        } else {
            return std::nullopt;
        }
    }
    if (index != shape.literals.size())
        return std::nullopt;

    sqlcompat::Translation withMarkers;
    try {
        withMarkers = sqlcompat::translateTsql(marked, catalog);
    } catch (const sqlcompat::TranslationError&) {
        return std::nullopt;
    }
    if (withMarkers.returnsRows != translated.returnsRows || withMarkers.columnNames != translated.columnNames
        || withMarkers.columnTypes != translated.columnTypes)
        return std::nullopt;

    // One pass over the translation: a statement with a hundred thousand literals (a long
    // IN list) costs as much again as translating it, not the square of it.
    const std::string& sql = withMarkers.sql;
    std::string substituted;
    std::string parameterized;
    substituted.reserve(translated.sql.size());
    parameterized.reserve(sql.size());
    std::vector<unsigned char> seen(shape.literals.size(), 0);
    std::size_t copied = 0;
    std::size_t pos = 0;
    while ((pos = sql.find(kMarkerQuote, pos)) != std::string::npos) {
        std::size_t index = 0;
        const char* digitsEnd = std::from_chars(sql.data() + pos + 1, sql.data() + sql.size(), index).ptr;
        const std::size_t after = static_cast<std::size_t>(digitsEnd - sql.data());
        const bool marker = pos > 0 && sql[pos - 1] == '\'' && after > pos + 1 && after + 1 < sql.size()
            && sql[after] == kMarkerQuote && sql[after + 1] == '\'';
        if (!marker || index >= seen.size() || seen[index]++)
            return std::nullopt;
        const std::string_view before(sql.data() + copied, pos - 1 - copied);
        substituted.append(before).append(shape.literals[index]);
        parameterized.append(before).append("?").append(std::to_string(index + 1));
        copied = pos = after + 2;
    }
    substituted.append(sql, copied);
    parameterized.append(sql, copied);
    if (std::find(seen.begin(), seen.end(), 0) != seen.end())
        return std::nullopt;
    if (substituted != translated.sql)
        return std::nullopt;
    withMarkers.sql = std::move(parameterized);
    return withMarkers;
}

} // namespace vantik
