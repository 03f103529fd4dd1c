#include "host/sqlcompat/tsql_parser.h"

#include "host/sqlcompat/catalog.h"
#include "host/sqlcompat/translator.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <list>

namespace vantik::sqlcompat {

std::string unsupportedMessage(std::string_view construct)
{
    return "The embedded database cannot translate the T-SQL construct '" + std::string(construct) + "'.";
}

namespace {

[[noreturn]] void unsupported(std::string_view construct)
{
    throw TranslationError(unsupportedMessage(construct));
}

[[noreturn]] void syntaxError(std::string_view near)
{
    if (near.empty())
        throw TranslationError("Incorrect syntax near the end of the statement.");
    throw TranslationError("Incorrect syntax near '" + std::string(near) + "'.");
}

enum class TokenKind { Word, QuotedName, String, Number, Symbol, End };

// Tokens look into the statement's text (or, for a literal with doubled quotes, into
// the parser's own store), so reading a statement copies no name and no literal.
struct Token {
    TokenKind kind = TokenKind::End;
    bool reserved = false;   // a Word that isReserved()
    std::string_view text;   // word/name: the name; string: the value; symbol/number: as written
    std::size_t begin = 0;
    std::size_t end = 0;
};

constexpr bool isAsciiAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
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
    throw TranslationError("Unclosed quotation mark after the character string '" + excerpt(sql.substr(start)) + "'.");
}

bool isReserved(std::string_view word);

std::vector<Token> tokenize(std::string_view sql, std::list<std::string>& store)
{
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
            const std::size_t close = sql.find("*/", pos + 2);
            if (close == std::string_view::npos)
                throw TranslationError("Missing end comment mark '*/'.");
            pos = close + 2;
            continue;
        }
        // Filled in place: copying a finished token costs more than reading it.
        Token& t = tokens.emplace_back();
        t.begin = pos;
        if (c == '\'' || ((c == 'N' || c == 'n') && pos + 1 < sql.size() && sql[pos + 1] == '\'')) {
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
            t.reserved = isReserved(t.text);
        } else if (isAsciiDigit(c) || (c == '.' && pos + 1 < sql.size() && isAsciiDigit(sql[pos + 1]))) {
            while (pos < sql.size() && isAsciiDigit(sql[pos]))
                ++pos;
            if (pos < sql.size() && sql[pos] == '.') {
                ++pos;
                while (pos < sql.size() && isAsciiDigit(sql[pos]))
                    ++pos;
            }
            if (pos < sql.size() && (isWordStart(sql[pos]) || sql[pos] == '\''))
                syntaxError(sql.substr(t.begin, pos + 1 - t.begin));
            t.kind = TokenKind::Number;
            t.text = sql.substr(t.begin, pos - t.begin);
        } else {
            const char n = pos + 1 < sql.size() ? sql[pos + 1] : '\0';
            const bool twoChar = (c == '<' && (n == '>' || n == '=')) || (c == '>' && n == '=')
                || (c == '!' && (n == '=' || n == '<'));
            if (twoChar) {
                if (n == '<')
                    unsupported("!<");
                pos += 2;
            } else if (isOneCharSymbol(c)) {
                ++pos;
            } else if (c == '&' || c == '|' || c == '^' || c == '~') {
                unsupported("bitwise operator");
            } else if (c == '@') {
                unsupported("@variable");
            } else if (c == '?') {
                unsupported("? parameter");
            } else {
                syntaxError(sql.substr(pos, 1));
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

// Up to the first eight characters, lower-cased, one per byte.
constexpr std::uint64_t packLower(std::string_view word)
{
    std::uint64_t packed = 0;
    for (std::size_t i = 0; i < word.size() && i < 8; ++i)
        packed |= static_cast<std::uint64_t>(static_cast<unsigned char>(lowerAsciiChar(word[i]))) << (8 * i);
    return packed;
}

// Words that end an expression or a name list, so that they are never taken for an alias.
// Asked once for every word of every statement, so it looks only at words of the same length.
bool isReserved(std::string_view word)
{
    constexpr std::size_t longest = 9;  // "intersect"
    if (word.size() < 2 || word.size() > longest)
        return false;
    if (word.size() == longest)
        return equalsIgnoreCase(word, "intersect");
    // Up to eight letters packed in one integer: each candidate costs one comparison.
    const std::uint64_t w = packLower(word);
    auto oneOf = [&](const auto& candidates) {
        return std::find(std::begin(candidates), std::end(candidates), w) != std::end(candidates);
    };
    switch (word.size()) {
    case 2: {
        static constexpr std::uint64_t words[] = {packLower("as"), packLower("by"), packLower("in"), packLower("is"),
                                                  packLower("on"), packLower("or")};
        return oneOf(words);
    }
    case 3: {
        static constexpr std::uint64_t words[] = {packLower("all"), packLower("and"), packLower("any"),
                                                  packLower("asc"), packLower("end"), packLower("for"),
                                                  packLower("not"), packLower("top")};
        return oneOf(words);
    }
    case 4: {
        static constexpr std::uint64_t words[] = {
            packLower("case"), packLower("desc"), packLower("else"), packLower("from"), packLower("full"),
            packLower("into"), packLower("join"), packLower("left"), packLower("like"), packLower("null"),
            packLower("then"), packLower("when"), packLower("with")};
        return oneOf(words);
    }
    case 5: {
        static constexpr std::uint64_t words[] = {packLower("apply"), packLower("cross"), packLower("group"),
                                                  packLower("inner"), packLower("order"), packLower("outer"),
                                                  packLower("pivot"), packLower("right"), packLower("union"),
                                                  packLower("where")};
        return oneOf(words);
    }
    case 6: {
        static constexpr std::uint64_t words[] = {packLower("escape"), packLower("except"), packLower("exists"),
                                                  packLower("having"), packLower("option"), packLower("select")};
        return oneOf(words);
    }
    case 7: {
        static constexpr std::uint64_t words[] = {packLower("between"), packLower("collate"), packLower("compute"),
                                                  packLower("unpivot")};
        return oneOf(words);
    }
    default:
        return w == packLower("distinct");
    }
}

class Parser {
public:
    explicit Parser(std::string_view sql)
        : m_storage(std::make_unique<StatementStorage>())
        , m_tokens(tokenize(sql, m_storage->strings))
    {
    }

    std::unique_ptr<Select> statement()
    {
        if (peek().kind == TokenKind::End)
            throw TranslationError("The statement is empty.");
        if (!isWord("select")) {
            if (peek().kind == TokenKind::Word)
                unsupported(upper(peek().text));
            syntaxError(peek().text);
        }
        auto select = parseSelect();
        if (isWord("union") || isWord("except") || isWord("intersect"))
            unsupported(upper(peek().text));
        if (isWord("option") || isWord("for") || isWord("compute") || isWord("having"))
            unsupported(upper(peek().text));
        if (isSymbol(";"))
            next();
        if (peek().kind != TokenKind::End)
            syntaxError(peek().text);
        select->storage = std::move(m_storage);
        return select;
    }

private:
    const Token& peek(std::size_t ahead = 0) const
    {
        const std::size_t i = std::min(m_pos + ahead, m_tokens.size() - 1);
        return m_tokens[i];
    }
    const Token& next() { return m_tokens[m_pos < m_tokens.size() - 1 ? m_pos++ : m_pos]; }

    bool isWord(std::string_view word, std::size_t ahead = 0) const
    {
        const Token& t = peek(ahead);
        return t.kind == TokenKind::Word && equalsIgnoreCase(t.text, word);
    }
    bool isSymbol(std::string_view symbol, std::size_t ahead = 0) const
    {
        const Token& t = peek(ahead);
        // Symbols are one or two characters.
        return t.kind == TokenKind::Symbol && t.text.size() == symbol.size() && t.text[0] == symbol[0]
            && (symbol.size() == 1 || t.text[1] == symbol[1]);
    }
    bool acceptWord(std::string_view word)
    {
        if (!isWord(word))
            return false;
        next();
        return true;
    }
    bool acceptSymbol(std::string_view symbol)
    {
        if (!isSymbol(symbol))
            return false;
        next();
        return true;
    }
    void expectWord(std::string_view word)
    {
        if (!acceptWord(word))
            syntaxError(peek().text);
    }
    void expectSymbol(std::string_view symbol)
    {
        if (!acceptSymbol(symbol))
            syntaxError(peek().text);
    }
    std::size_t lastEnd() const { return m_pos == 0 ? 0 : m_tokens[m_pos - 1].end; }

    static std::string upper(std::string_view text)
    {
        std::string out(text);
        for (char& c : out)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return out;
    }

    // A name part: a plain word that is not reserved, or a bracketed / double-quoted name.
    bool atName() const
    {
        const Token& t = peek();
        return t.kind == TokenKind::QuotedName || (t.kind == TokenKind::Word && !t.reserved);
    }
    std::string_view name()
    {
        if (!atName())
            syntaxError(peek().text);
        return next().text;
    }

    long long integerLiteral()
    {
        const Token& t = peek();
        long long value = 0;
        if (t.kind != TokenKind::Number
            || std::from_chars(t.text.data(), t.text.data() + t.text.size(), value).ptr != t.text.data() + t.text.size())
            syntaxError(t.text);
        next();
        return value;
    }

    std::unique_ptr<Select> parseSelect()
    {
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
            const bool parenthesized = acceptSymbol("(");
            select->top = integerLiteral();
            if (parenthesized)
                expectSymbol(")");
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
            select->where = parseExpr();
        if (acceptWord("group")) {
            expectWord("by");
            if (isWord("all"))
                unsupported("GROUP BY ALL");
            do {
                select->groupBy.push_back(parseExpr());
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
                item.expr = parseExpr();
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

    SelectItem parseSelectItem()
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
        item.expr = parseExpr();
        if (acceptWord("as")) {
            if (peek().kind == TokenKind::String || peek().kind == TokenKind::QuotedName
                || (peek().kind == TokenKind::Word && !peek().reserved))
                item.alias = next().text;
            else
                syntaxError(peek().text);
            item.hasAlias = true;
        } else if (peek().kind == TokenKind::String || atName()) {
            item.alias = next().text;
            item.hasAlias = true;
        }
        return item;
    }

    void parseFrom(Select& select)
    {
        select.from.push_back(parseTableSource(TableSource::Join::None));
        for (;;) {
            TableSource::Join join;
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
            } else if (isSymbol(",")) {
                unsupported("comma-separated FROM list");
            } else {
                return;
            }
            if (isWord("loop") || isWord("hash") || isWord("merge"))
                unsupported("join hint " + upper(peek().text));
            expectWord("join");
            TableSource source = parseTableSource(join);
            expectWord("on");
            source.on = parseExpr();
            select.from.push_back(std::move(source));
        }
    }

    TableSource parseTableSource(TableSource::Join join)
    {
        TableSource source;
        source.join = join;
        source.begin = peek().begin;
        if (isSymbol("("))
            unsupported("subquery in FROM");
        if (isWord("openquery") || isWord("openrowset") || isWord("opendatasource"))
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
            unsupported("table name without its database (" + std::string(last) + ")");
        }
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
                    syntaxError(peek().text);
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

    ExprPtr make(Expr::Kind kind, std::size_t begin)
    {
        // A statement has fewer nodes than half its tokens, as a rule, so the first block is
        // usually the only one. A block never grows past its reserve, so nodes stay put.
        std::vector<std::vector<Expr>>& blocks = m_storage->exprBlocks;
        if (blocks.empty() || blocks.back().size() == blocks.back().capacity()) {
            const std::size_t reserve = blocks.empty() ? m_tokens.size() / 2 + 8 : 64;
            blocks.emplace_back().reserve(reserve);
        }
        Expr* e = &blocks.back().emplace_back();
        e->kind = kind;
        e->begin = begin;
        return e;
    }
    ExprPtr finish(ExprPtr e)
    {
        e->end = lastEnd();
        return e;
    }

    ExprPtr parseExpr() { return parseOr(); }

    ExprPtr parseOr()
    {
        ExprPtr left = parseAnd();
        while (isWord("or")) {
            next();
            auto e = make(Expr::Kind::Or, left->begin);
            e->args.push_back(std::move(left));
            e->args.push_back(parseAnd());
            left = finish(std::move(e));
        }
        return left;
    }

    ExprPtr parseAnd()
    {
        ExprPtr left = parseNot();
        while (isWord("and")) {
            next();
            auto e = make(Expr::Kind::And, left->begin);
            e->args.push_back(std::move(left));
            e->args.push_back(parseNot());
            left = finish(std::move(e));
        }
        return left;
    }

    ExprPtr parseNot()
    {
        if (isWord("not")) {
            const std::size_t begin = next().begin;
            auto e = make(Expr::Kind::Not, begin);
            e->args.push_back(parseNot());
            return finish(std::move(e));
        }
        return parsePredicate();
    }

    ExprPtr parsePredicate()
    {
        if (isWord("exists")) {
            const std::size_t begin = next().begin;
            auto e = make(Expr::Kind::Exists, begin);
            expectSymbol("(");
            e->subquery = parseSelect();
            expectSymbol(")");
            return finish(std::move(e));
        }
        ExprPtr left = parseAdditive();
        const Token& t = peek();
        if (t.kind == TokenKind::Symbol
            && (t.text == "=" || t.text == "<>" || t.text == "!=" || t.text == "<" || t.text == ">" || t.text == "<="
                || t.text == ">=")) {
            auto e = make(Expr::Kind::Compare, left->begin);
            e->op = next().text;
            if (e->op == "!=")
                e->op = "<>";
            if (isWord("all") || isWord("any") || isWord("some"))
                unsupported(upper(peek().text) + " subquery comparison");
            e->args.push_back(std::move(left));
            e->args.push_back(parseAdditive());
            return finish(std::move(e));
        }
        if (isWord("is")) {
            next();
            auto e = make(Expr::Kind::IsNull, left->begin);
            e->negated = acceptWord("not");
            expectWord("null");
            e->args.push_back(std::move(left));
            return finish(std::move(e));
        }
        const bool negated = isWord("not") && (isWord("in", 1) || isWord("like", 1) || isWord("between", 1));
        if (negated)
            next();
        if (acceptWord("in")) {
            auto e = make(Expr::Kind::InList, left->begin);
            e->negated = negated;
            e->args.push_back(std::move(left));
            expectSymbol("(");
            if (isWord("select"))
                unsupported("IN (subquery)");
            do {
                e->args.push_back(parseAdditive());
            } while (acceptSymbol(","));
            expectSymbol(")");
            return finish(std::move(e));
        }
        if (acceptWord("like")) {
            auto e = make(Expr::Kind::Like, left->begin);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->args.push_back(parseAdditive());
            if (acceptWord("escape"))
                e->args.push_back(parseAdditive());
            return finish(std::move(e));
        }
        if (acceptWord("between")) {
            auto e = make(Expr::Kind::Between, left->begin);
            e->negated = negated;
            e->args.push_back(std::move(left));
            e->args.push_back(parseAdditive());
            expectWord("and");
            e->args.push_back(parseAdditive());
            return finish(std::move(e));
        }
        if (negated)
            syntaxError(peek().text);
        return left;
    }

    ExprPtr parseAdditive()
    {
        ExprPtr left = parseMultiplicative();
        while (isSymbol("+") || isSymbol("-")) {
            auto e = make(Expr::Kind::Arithmetic, left->begin);
            e->op = next().text;
            e->args.push_back(std::move(left));
            e->args.push_back(parseMultiplicative());
            left = finish(std::move(e));
        }
        return left;
    }

    ExprPtr parseMultiplicative()
    {
        ExprPtr left = parseUnary();
        while (isSymbol("*") || isSymbol("/") || isSymbol("%")) {
            auto e = make(Expr::Kind::Arithmetic, left->begin);
            e->op = next().text;
            e->args.push_back(std::move(left));
            e->args.push_back(parseUnary());
            left = finish(std::move(e));
        }
        return left;
    }

    ExprPtr parseUnary()
    {
        if (isSymbol("-") || isSymbol("+")) {
            const bool minus = isSymbol("-");
            const std::size_t begin = next().begin;
            ExprPtr operand = parseUnary();
            if (!minus)
                return operand;
            auto e = make(Expr::Kind::Negate, begin);
            e->args.push_back(std::move(operand));
            return finish(std::move(e));
        }
        ExprPtr e = parsePrimary();
        if (isWord("collate"))
            unsupported("COLLATE");
        return e;
    }

    TypeName parseTypeName()
    {
        if (peek().kind != TokenKind::Word && peek().kind != TokenKind::QuotedName)
            syntaxError(peek().text);
        TypeName type;
        type.name = lowerAscii(next().text);
        if (acceptSymbol("(")) {
            if (acceptWord("max")) {
                type.length = -1;
            } else {
                const long long n = integerLiteral();
                if (n < 1 || n > 8000)
                    throw TranslationError("The size (" + std::to_string(n) + ") given to the type '" + type.name
                                           + "' exceeds the maximum allowed for any data type (8000).");
                type.length = static_cast<int>(n);
            }
            if (acceptSymbol(","))
                integerLiteral();  // scale of decimal(p, s); refused with the type below
            expectSymbol(")");
        }
        return type;
    }

    ExprPtr parsePrimary()
    {
        const Token& t = peek();
        const std::size_t begin = t.begin;
        switch (t.kind) {
        case TokenKind::String: {
            auto e = make(Expr::Kind::String, begin);
            e->text = next().text;
            return finish(std::move(e));
        }
        case TokenKind::Number: {
            auto e = make(Expr::Kind::Number, begin);
            e->text = next().text;
            return finish(std::move(e));
        }
        case TokenKind::Symbol:
            if (t.text == "(") {
                next();
                if (isWord("select")) {
                    auto e = make(Expr::Kind::Subquery, begin);
                    e->subquery = parseSelect();
                    expectSymbol(")");
                    return finish(std::move(e));
                }
                ExprPtr inner = parseExpr();
                expectSymbol(")");
                inner->begin = begin;
                inner->end = lastEnd();
                return inner;
            }
            if (t.text == "*") {
                auto e = make(Expr::Kind::Star, begin);
                next();
                return finish(std::move(e));
            }
            syntaxError(t.text);
        case TokenKind::End:
            syntaxError("");
        case TokenKind::Word:
        case TokenKind::QuotedName:
            break;
        }

        if (t.kind == TokenKind::Word) {
            auto is = [&](std::string_view word) { return equalsIgnoreCase(t.text, word); };
            if (is("null")) {
                next();
                return finish(make(Expr::Kind::Null, begin));
            }
            if (is("case"))
                return parseCase();
            if (is("cast") && isSymbol("(", 1)) {
                next();
                next();
                auto e = make(Expr::Kind::Cast, begin);
                e->args.push_back(parseExpr());
                expectWord("as");
                e->type = parseTypeName();
                expectSymbol(")");
                return finish(std::move(e));
            }
            if (is("convert") && isSymbol("(", 1)) {
                next();
                next();
                auto e = make(Expr::Kind::Cast, begin);
                e->op = "CONVERT";
                e->type = parseTypeName();
                expectSymbol(",");
                e->args.push_back(parseExpr());
                if (acceptSymbol(","))
                    e->style = static_cast<int>(integerLiteral());
                expectSymbol(")");
                return finish(std::move(e));
            }
            if ((is("left") || is("right")) && isSymbol("(", 1))
                return parseFunction(next().begin, t.text);
            if (t.reserved)
                syntaxError(t.text);
        }

        const bool plainWord = t.kind == TokenKind::Word;
        NameParts parts;
        std::size_t count = 1;
        std::string_view last = next().text;
        if (isSymbol("(") && plainWord)
            return parseFunction(begin, last);
        parts.push_back(last);
        while (isSymbol(".")) {
            next();
            if (isSymbol("."))
                unsupported("column name with an omitted part");
            last = name();
            if (++count <= 2)
                parts.push_back(last);
        }
        if (isSymbol("("))
            unsupported("method call " + std::string(last));
        if (count > 2)
            unsupported("column name of " + std::to_string(count) + " parts");
        auto e = make(Expr::Kind::Column, begin);
        e->names = parts;
        return finish(std::move(e));
    }

    ExprPtr parseFunction(std::size_t begin, std::string_view functionName)
    {
        auto e = make(Expr::Kind::Function, begin);
        static constexpr std::array<std::string_view, 9> known = {"COUNT", "DATEDIFF", "MONTH", "YEAR", "SUM",
                                                                  "MIN", "MAX", "AVG", "LEFT"};
        for (std::string_view k : known) {
            if (equalsIgnoreCase(k, functionName)) {
                e->op = k;
                break;
            }
        }
        if (e->op.empty())
            e->op = m_storage->strings.emplace_back(upper(functionName));
        expectSymbol("(");
        if (isWord("distinct") || isWord("all"))
            unsupported(std::string(e->op) + "(" + upper(peek().text) + " ...)");
        if (!isSymbol(")")) {
            do {
                e->args.push_back(parseExpr());
            } while (acceptSymbol(","));
        }
        expectSymbol(")");
        if (isWord("over"))
            unsupported("OVER");
        return finish(std::move(e));
    }

    ExprPtr parseCase()
    {
        auto e = make(Expr::Kind::Case, next().begin);
        if (!isWord("when")) {
            e->hasOperand = true;
            e->args.push_back(parseExpr());
        }
        if (!isWord("when"))
            syntaxError(peek().text);
        while (acceptWord("when")) {
            e->args.push_back(parseExpr());
            expectWord("then");
            e->args.push_back(parseExpr());
        }
        if (acceptWord("else")) {
            e->hasElse = true;
            e->args.push_back(parseExpr());
        }
        expectWord("end");
        return finish(std::move(e));
    }

    std::unique_ptr<StatementStorage> m_storage;
    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
};

} // namespace

std::unique_ptr<Select> parseTsqlSelect(std::string_view tsql)
{
    return Parser(tsql).statement();
}

} // namespace vantik::sqlcompat
