#include "host/data/statement_shape.h"

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

} // namespace

StatementShape statementShape(std::string_view tsql)
{
    StatementShape shape;
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
            end = tsql.find("*/", pos + 2);
            if (end != std::string_view::npos)
                end += 2;
        } else if (c == '[') {
            end = skipQuoted(tsql, pos + 1, ']');
        } else if (c == '"') {
            end = skipQuoted(tsql, pos + 1, '"');
        } else if (c == '\'') {
            end = skipQuoted(tsql, pos + 1, '\'');
            // N'...' and a literal glued to a name keep their text in the shape.
            if (end != std::string_view::npos && (pos == 0 || !isNamePart(tsql[pos - 1]))) {
                shape.key.append(tsql.substr(copied, pos - copied));
                shape.key.push_back('\x01');
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
    if (!shape.complete)
        return std::nullopt;
    // Each literal becomes a marker no statement holds; the markers must come out
    // of the translation as they went in, once each, where the literal was.
    auto marker = [](std::size_t i) { return "'\x02" + std::to_string(i) + "\x02'"; };
    std::string marked;
    marked.reserve(shape.key.size() + shape.literals.size() * 6);
    std::size_t index = 0;
    for (const char c : shape.key) {
        if (c != '\x01') {
            marked.push_back(c);
        } else if (index < shape.literals.size()) {
            marked += marker(index++);
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

    std::string substituted = withMarkers.sql;
    std::string parameterized = withMarkers.sql;
    for (std::size_t i = 0; i < shape.literals.size(); ++i) {
        const std::string m = marker(i);
        const std::size_t at = substituted.find(m);
        if (at == std::string::npos || substituted.find(m, at + 1) != std::string::npos)
            return std::nullopt;
        substituted.replace(at, m.size(), shape.literals[i]);
        const std::size_t atParameter = parameterized.find(m);
        parameterized.replace(atParameter, m.size(), "?" + std::to_string(i + 1));
    }
    if (substituted != translated.sql)
        return std::nullopt;
    withMarkers.sql = std::move(parameterized);
    return withMarkers;
}

} // namespace vantik
