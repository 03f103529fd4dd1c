#include "host/sqlcompat/tsql_parser.h"

#include "host/sqlcompat/catalog.h"
#include "host/sqlcompat/translator.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

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

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;   // word/name: the name; string: the value; symbol/number: as written
    std::size_t begin = 0;
    std::size_t end = 0;
};

bool isWordStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '#';
}

bool isWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '#' || c == '$' || c == '@';
}

std::string excerpt(std::string_view text)
{
    return std::string(text.substr(0, 60));
}

// Reads a literal or a quoted name closed by `close`, where a doubled `close` stands for itself.
std::string readQuoted(std::string_view sql, std::size_t& pos, char close)
{
    const std::size_t start = pos;
    std::string value;
    while (pos < sql.size()) {
        if (sql[pos] == close) {
            if (pos + 1 < sql.size() && sql[pos + 1] == close) {
                value += close;
                pos += 2;
                continue;
            }
            ++pos;
            return value;
        }
        value += sql[pos++];
    }
    throw TranslationError("Unclosed quotation mark after the character string '" + excerpt(sql.substr(start)) + "'.");
}

std::vector<Token> tokenize(std::string_view sql)
{
    std::vector<Token> tokens;
    std::size_t pos = 0;
    while (pos < sql.size()) {
        const char c = sql[pos];
        if (std::isspace(static_cast<unsigned char>(c))) {
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
        Token t;
        t.begin = pos;
        if (c == '\'' || ((c == 'N' || c == 'n') && pos + 1 < sql.size() && sql[pos + 1] == '\'')) {
            pos += c == '\'' ? 1 : 2;
            t.kind = TokenKind::String;
            t.text = readQuoted(sql, pos, '\'');
        } else if (c == '[') {
            ++pos;
            t.kind = TokenKind::QuotedName;
            t.text = readQuoted(sql, pos, ']');
        } else if (c == '"') {
            ++pos;
            t.kind = TokenKind::QuotedName;
            t.text = readQuoted(sql, pos, '"');
        } else if (isWordStart(c)) {
            while (pos < sql.size() && isWordChar(sql[pos]))
                ++pos;
            t.kind = TokenKind::Word;
            t.text = std::string(sql.substr(t.begin, pos - t.begin));
        } else if (std::isdigit(static_cast<unsigned char>(c))
                   || (c == '.' && pos + 1 < sql.size() && std::isdigit(static_cast<unsigned char>(sql[pos + 1])))) {
            while (pos < sql.size() && std::isdigit(static_cast<unsigned char>(sql[pos])))
                ++pos;
            if (pos < sql.size() && sql[pos] == '.') {
                ++pos;
                while (pos < sql.size() && std::isdigit(static_cast<unsigned char>(sql[pos])))
                    ++pos;
            }
            if (pos < sql.size() && (isWordStart(sql[pos]) || sql[pos] == '\''))
                syntaxError(sql.substr(t.begin, pos + 1 - t.begin));
            t.kind = TokenKind::Number;
            t.text = std::string(sql.substr(t.begin, pos - t.begin));
        } else {
            static constexpr std::array<std::string_view, 5> twoChar = {"<>", "!=", "<=", ">=", "!<"};
            const std::string_view two = sql.substr(pos, 2);
            if (std::find(twoChar.begin(), twoChar.end(), two) != twoChar.end()) {
                if (two == "!<")
                    unsupported("!<");
                pos += 2;
            } else if (std::string_view("(),.*+-/%=<>;").find(c) != std::string_view::npos) {
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
            t.text = std::string(sql.substr(t.begin, pos - t.begin));
        }
        t.end = pos;
        tokens.push_back(std::move(t));
    }
    Token end;
    end.begin = end.end = sql.size();
    tokens.push_back(end);
    return tokens;
}

// Words that end an expression or a name list, so that they are never taken for an alias.
bool isReserved(std::string_view word)
{
    static constexpr std::array<std::string_view, 44> words = {
        "all", "and", "any", "as", "asc", "between", "by", "case", "collate", "compute", "cross", "desc",
        "distinct", "else", "end", "escape", "except", "exists", "for", "from", "full", "group", "having",
        "in", "inner", "intersect", "into", "is", "join", "left", "like", "not", "null", "on", "option",
        "or", "order", "outer", "right", "select", "then", "union", "when", "where"};
    const std::string lower = lowerAscii(word);
    return std::find(words.begin(), words.end(), lower) != words.end() || lower == "with" || lower == "top"
        || lower == "apply" || lower == "pivot" || lower == "unpivot";
}

class Parser {
public:
    explicit Parser(std::string_view sql)
        : m_tokens(tokenize(sql))
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
        return t.kind == TokenKind::Word && lowerAscii(t.text) == word;
    }
    bool isSymbol(std::string_view symbol, std::size_t ahead = 0) const
    {
        const Token& t = peek(ahead);
        return t.kind == TokenKind::Symbol && t.text == symbol;
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
        return t.kind == TokenKind::QuotedName || (t.kind == TokenKind::Word && !isReserved(t.text));
    }
    std::string name()
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
                || (peek().kind == TokenKind::Word && !isReserved(peek().text)))
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
        std::vector<std::string> parts;
        parts.push_back(name());
        while (acceptSymbol(".")) {
            if (isSymbol(".")) {
                parts.emplace_back();
                continue;
            }
            parts.push_back(name());
        }
        if (parts.size() != 3) {
            if (parts.size() == 4)
                unsupported("four-part name (linked server)");
            unsupported("table name without its database (" + parts.back() + ")");
        }
        if (!parts[1].empty() && lowerAscii(parts[1]) != "dbo")
            unsupported("schema " + parts[1]);
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
                const std::string hint = lowerAscii(peek().text);
                if (hint != "nolock" && hint != "readuncommitted")
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
        auto e = std::make_unique<Expr>();
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
            const std::string word = lowerAscii(t.text);
            if (word == "null") {
                next();
                return finish(make(Expr::Kind::Null, begin));
            }
            if (word == "case")
                return parseCase();
            if (word == "cast" && isSymbol("(", 1)) {
                next();
                next();
                auto e = make(Expr::Kind::Cast, begin);
                e->args.push_back(parseExpr());
                expectWord("as");
                e->type = parseTypeName();
                expectSymbol(")");
                return finish(std::move(e));
            }
            if (word == "convert" && isSymbol("(", 1)) {
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
            if ((word == "left" || word == "right") && isSymbol("(", 1))
                return parseFunction(next().begin, word);
            if (isReserved(word))
                syntaxError(t.text);
        }

        const bool plainWord = t.kind == TokenKind::Word;
        std::vector<std::string> parts;
        parts.push_back(next().text);
        if (isSymbol("(") && plainWord)
            return parseFunction(begin, parts.front());
        while (isSymbol(".")) {
            next();
            if (isSymbol("."))
                unsupported("column name with an omitted part");
            parts.push_back(name());
        }
        if (isSymbol("("))
            unsupported("method call " + parts.back());
        if (parts.size() > 2)
            unsupported("column name of " + std::to_string(parts.size()) + " parts");
        auto e = make(Expr::Kind::Column, begin);
        e->names = std::move(parts);
        return finish(std::move(e));
    }

    ExprPtr parseFunction(std::size_t begin, const std::string& functionName)
    {
        auto e = make(Expr::Kind::Function, begin);
        e->op = upper(functionName);
        expectSymbol("(");
        if (isWord("distinct") || isWord("all"))
            unsupported(e->op + "(" + upper(peek().text) + " ...)");
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

    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
};

} // namespace

std::unique_ptr<Select> parseTsqlSelect(std::string_view tsql)
{
    return Parser(tsql).statement();
}

} // namespace vantik::sqlcompat
