#include "host/data/select_where.h"

#include "host/sqlcompat/catalog.h"

namespace vantik {

namespace {

bool isWordChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '@'
        || c == '#' || c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

// Whether the word at i (at a word start) is the keyword.
bool keywordAt(std::string_view s, std::size_t i, std::string_view keyword)
{
    if (i + keyword.size() > s.size() || !sqlcompat::equalsIgnoreCase(s.substr(i, keyword.size()), keyword))
        return false;
    return i + keyword.size() == s.size() || !isWordChar(s[i + keyword.size()]);
}

std::size_t skipBlanks(std::string_view s, std::size_t i)
{
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n'))
        ++i;
    return i;
}

// The end of a quoted part that opens at i with the given closing character,
// which is doubled inside it.
std::size_t skipQuoted(std::string_view s, std::size_t i, char close)
{
    for (++i; i < s.size(); ++i) {
        if (s[i] == close) {
            if (i + 1 < s.size() && s[i + 1] == close)
                ++i;
            else
                return i + 1;
        }
    }
    return s.size();
}

} // namespace

QString selectWhereClause(std::string_view s, std::size_t fromOffset)
{
    // The clause goes inside other statements (an EXISTS check): comments become
    // blanks, so that none can swallow what follows it there.
    std::string clause;
    bool inClause = false;
    int depth = 0;
    std::size_t i = fromOffset;
    auto copy = [&](std::size_t from, std::size_t to) {
        if (inClause)
            clause.append(s.substr(from, to - from));
    };
    while (i < s.size()) {
        const char c = s[i];
        const std::size_t start = i;
        if (c == '\'') {
            i = skipQuoted(s, i, '\'');
        } else if (c == '[') {
            i = skipQuoted(s, i, ']');
        } else if (c == '"') {
            i = skipQuoted(s, i, '"');
        } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
            while (i < s.size() && s[i] != '\n')
                ++i;
            if (inClause)
                clause += ' ';
            continue;
        } else if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
            const std::size_t close = s.find("*/", i + 2);
            i = close == std::string_view::npos ? s.size() : close + 2;
            if (inClause)
                clause += ' ';
            continue;
        } else if (c == '(' || c == ')') {
            depth += c == '(' ? 1 : -1;
            ++i;
        } else if (isWordChar(c)) {
            const bool wordStart = i == 0 || !isWordChar(s[i - 1]);
            if (wordStart && depth == 0) {
                if (!inClause && keywordAt(s, i, "WHERE")) {
                    inClause = true;
                } else if (inClause
                           && ((keywordAt(s, i, "ORDER") && keywordAt(s, skipBlanks(s, i + 5), "BY"))
                               || keywordAt(s, i, "OPTION"))) {
                    break;
                }
            }
            while (i < s.size() && isWordChar(s[i]))
                ++i;
        } else {
            ++i;
        }
        copy(start, i);
    }
    while (!clause.empty() && (clause.back() == ' ' || clause.back() == '\t' || clause.back() == '\r'
                               || clause.back() == '\n' || clause.back() == ';'))
        clause.pop_back();
    return QString::fromStdString(clause);
}

} // namespace vantik
