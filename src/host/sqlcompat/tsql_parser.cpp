#include "host/sqlcompat/tsql_parser.h"

#include "host/sqlcompat/catalog.h"
#include "host/sqlcompat/translator.h"
#include "host/sqlcompat/tsql_parser_impl.h"

#include <array>
#include <cctype>
#include <charconv>
#include <limits>

namespace vantik::sqlcompat {

namespace detail {

Parser::Nesting::Nesting(int& depth, int limit, const char* message)
    : m_depth(depth)
{
    if (++m_depth > limit) {
        --m_depth;
        throw TranslationError(message);
    }
}

Parser::Parser(std::string_view sql)
    : m_storage(std::make_unique<StatementStorage>())
    , m_tokens(tokenize(sql, m_storage->strings))
{
}

bool Parser::isWord(std::string_view word, std::size_t ahead) const
{
    const Token& t = peek(ahead);
    return t.kind == TokenKind::Word && equalsIgnoreCase(t.text, word);
}

bool Parser::isSymbol(std::string_view symbol, std::size_t ahead) const
{
    const Token& t = peek(ahead);
    // Symbols are one or two characters.
    return t.kind == TokenKind::Symbol && t.text.size() == symbol.size() && t.text[0] == symbol[0]
        && (symbol.size() == 1 || t.text[1] == symbol[1]);
}

bool Parser::acceptWord(std::string_view word)
{
    if (!isWord(word))
        return false;
    next();
    return true;
}

bool Parser::acceptSymbol(std::string_view symbol)
{
    if (!isSymbol(symbol))
        return false;
    next();
    return true;
}

void Parser::expectWord(std::string_view word)
{
    if (!acceptWord(word))
        syntaxError();
}

void Parser::expectSymbol(std::string_view symbol)
{
    if (!acceptSymbol(symbol))
        syntaxError();
}

std::string Parser::upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// A name part: a plain word that is not reserved, or a bracketed / double-quoted name.
bool Parser::atName() const
{
    const Token& t = peek();
    return t.kind == TokenKind::QuotedName || (t.kind == TokenKind::Word && !t.reserved);
}

std::string_view Parser::name()
{
    if (!atName())
        syntaxError();
    return next().text;
}

std::unique_ptr<Select> Parser::statement()
{
    if (peek().kind == TokenKind::End)
        throw TranslationError("The statement is empty.");
    if (!isWord("select")) {
        if (peek().kind == TokenKind::Word)
            unsupported(upper(peek().text));
        syntaxError();
    }
    auto select = parseSelect();
    if (isWord("union") || isWord("except") || isWord("intersect"))
        unsupported(upper(peek().text));
    if (isWord("option") || isWord("for") || isWord("compute") || isWord("having"))
        unsupported(upper(peek().text));
    if (isSymbol(";"))
        next();
    if (peek().kind != TokenKind::End)
        syntaxError();
    select->storage = std::move(m_storage);
    return select;
}

std::unique_ptr<Select> Parser::parseSelect()
{
    const Nesting nesting(m_depth);
    expectWord("select");
    auto select = std::make_unique<Select>();
    // Room for a usual statement, so that the lists do not grow one step at a time.
    select->items.reserve(8);
    select->from.reserve(4);
    if (acceptWord("distinct"))
        select->distinct = true;
    else
        acceptWord("all");
    if (acceptWord("top")) {
        select->top = parseTop();
        if (isWord("percent"))
            unsupported("TOP PERCENT");
        if (isWord("with"))
            unsupported("TOP WITH TIES");
    }
    do {
        select->items.push_back(parseSelectItem());
    } while (acceptSymbol(","));
    select->selectListEnd = lastEnd();
    if (isWord("into"))
        unsupported("SELECT INTO");
    if (acceptWord("from"))
        parseFrom(*select);
    if (acceptWord("where"))
        select->where = parseCondition();
    if (acceptWord("group")) {
        expectWord("by");
        if (isWord("all"))
            unsupported("GROUP BY ALL");
        do {
            select->groupBy.push_back(parseValue());
        } while (acceptSymbol(","));
        if (isWord("with"))
            unsupported("GROUP BY WITH " + upper(peek(1).text));
    }
    if (isWord("having"))
        unsupported("HAVING");
    if (acceptWord("order")) {
        expectWord("by");
        do {
            OrderItem item;
            item.expr = parseValue();
            if (acceptWord("desc"))
                item.descending = true;
            else
                acceptWord("asc");
            select->orderBy.push_back(std::move(item));
        } while (acceptSymbol(","));
        if (isWord("offset"))
            unsupported("OFFSET");
    }
    return select;
}

// TOP n or TOP (n). The count is a bigint: a larger constant overflows, a fraction or a
// negative count is refused, as SQL Server refuses them.
long long Parser::parseTop()
{
    const bool parenthesized = acceptSymbol("(");
    bool negative = false;
    if (parenthesized) {
        while (isSymbol("-") || isSymbol("+"))
            negative = (next().text == "-") != negative;
    }
    const Token& t = peek();
    if (t.kind != TokenKind::Number) {
        if (parenthesized && (t.kind == TokenKind::Word || t.kind == TokenKind::QuotedName || isSymbol("(")))
            unsupported("TOP with a computed count");
        syntaxError();
    }
    if (t.number != NumberForm::Integer)
        throw TranslationError("The number of rows provided for a TOP or FETCH clauses row count parameter must be "
                               "an integer.");
    long long value = 0;
    const auto [end, error] = std::from_chars(t.text.data(), t.text.data() + t.text.size(), value);
    if (error == std::errc::result_out_of_range)
        throw TranslationError("Arithmetic overflow error converting expression to data type bigint.");
    if (error != std::errc() || end != t.text.data() + t.text.size())
        syntaxError();
    next();
    if (negative && value != 0)
        throw TranslationError("A TOP N or FETCH rows count value may not be negative.");
    if (parenthesized)
        expectSymbol(")");
    return value;
}

SelectItem Parser::parseSelectItem()
{
    SelectItem item;
    if (isSymbol("*")) {
        next();
        item.star = true;
        return item;
    }
    if (atName() && isSymbol(".", 1) && isSymbol("*", 2)) {
        item.star = true;
        item.starQualifier = next().text;
        next();
        next();
        return item;
    }
    if ((atName() || peek().kind == TokenKind::String) && isSymbol("=", 1))
        unsupported("alias = expression");
    item.expr = parseValue();
    if (acceptWord("as")) {
        if (peek().kind == TokenKind::String || atName())
            item.alias = next().text;
        else
            syntaxError();
        item.hasAlias = true;
    } else if (peek().kind == TokenKind::String || atName()) {
        item.alias = next().text;
        item.hasAlias = true;
    }
    return item;
}

void Parser::parseFrom(Select& select)
{
    select.from.push_back(parseTableSource(TableSource::Join::None));
    for (;;) {
        TableSource::Join join;
        if (acceptSymbol(",")) {
            select.from.push_back(parseTableSource(TableSource::Join::Comma));
            continue;
        }
        if (acceptWord("inner")) {
            join = TableSource::Join::Inner;
        } else if (isWord("left")) {
            next();
            acceptWord("outer");
            join = TableSource::Join::Left;
        } else if (isWord("join")) {
            join = TableSource::Join::Inner;
        } else if (isWord("right") || isWord("full") || isWord("cross") || isWord("outer")) {
            unsupported(upper(peek().text) + " JOIN");
        } else {
            return;
        }
        if (isWord("loop") || isWord("hash") || isWord("merge") || isWord("remote"))
            unsupported("join hint " + upper(peek().text));
        expectWord("join");
        TableSource source = parseTableSource(join);
        expectWord("on");
        source.on = parseCondition();
        select.from.push_back(std::move(source));
    }
}

TableSource Parser::parseTableSource(TableSource::Join join)
{
    TableSource source;
    source.join = join;
    source.begin = peek().begin;
    if (isSymbol("("))
        unsupported("subquery in FROM");
    if (isWord("openquery") || isWord("openrowset") || isWord("opendatasource") || isWord("openxml"))
        unsupported(upper(peek().text));
    // database..table or database.owner.table; the owner is the default schema in every HIS database.
    std::array<std::string_view, 3> parts;
    std::size_t count = 0;
    std::string_view last = name();
    parts[count++] = last;
    while (acceptSymbol(".")) {
        last = isSymbol(".") ? std::string_view() : name();
        if (count < parts.size())
            parts[count] = last;
        ++count;
    }
    if (count != 3) {
        if (count == 4)
            unsupported("four-part name (linked server)");
        if (count > 4)
            syntaxError();
        unsupported("table name without its database (" + std::string(last) + ")");
    }
    if (parts[0].empty() || parts[2].empty())
        syntaxError();
    if (!parts[1].empty() && !equalsIgnoreCase(parts[1], "dbo"))
        unsupported("schema " + std::string(parts[1]));
    if (isSymbol("("))
        unsupported("table-valued function");
    source.database = parts[0];
    source.table = parts[2];
    if (acceptWord("as"))
        source.alias = name();
    else if (atName())
        source.alias = name();
    if (acceptWord("with")) {
        expectSymbol("(");
        do {
            if (peek().kind != TokenKind::Word)
                syntaxError();
            const std::string_view hint = peek().text;
            if (!equalsIgnoreCase(hint, "nolock") && !equalsIgnoreCase(hint, "readuncommitted"))
                unsupported("table hint " + upper(peek().text));
            next();
        } while (acceptSymbol(","));
        expectSymbol(")");
    } else if (isSymbol("(")) {
        unsupported("table hint without WITH");
    }
    if (isWord("tablesample"))
        unsupported("TABLESAMPLE");
    source.end = lastEnd();
    return source;
}

} // namespace detail

std::unique_ptr<Select> parseTsqlSelect(std::string_view tsql)
{
    return detail::Parser(tsql).statement();
}

} // namespace vantik::sqlcompat
