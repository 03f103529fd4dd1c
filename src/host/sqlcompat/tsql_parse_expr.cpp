#include "host/sqlcompat/catalog.h"
#include "host/sqlcompat/translator.h"
#include "host/sqlcompat/tsql_parser_impl.h"

#include <array>
#include <charconv>
#include <limits>

namespace vantik::sqlcompat::detail {

namespace {

// Precision as SQL Server counts it for a constant: the digits without the leading zeros
// of the whole part (0.05 is decimal(2,2), 007 is int).
std::size_t precisionOf(std::string_view number)
{
    std::size_t digits = 0;
    bool leading = true;
    bool fraction = false;
    for (const char c : number) {
        if (c == '.') {
            fraction = true;
            continue;
        }
        if (c == 'e' || c == 'E')
            break;
        if (leading && c == '0' && !fraction)
            continue;
        leading = false;
        ++digits;
    }
    return digits;
}

std::size_t significantDigits(std::string_view number)
{
    std::size_t digits = 0;
    std::size_t trailingZeros = 0;
    bool started = false;
    for (const char c : number) {
        if (c == 'e' || c == 'E')
            break;
        if (c == '.')
            continue;
        if (!started && c == '0')
            continue;
        started = true;
        ++digits;
        trailingZeros = c == '0' ? trailingZeros + 1 : 0;
    }
    return digits - trailingZeros;
}

} // namespace

ExprPtr Parser::make(Expr::Kind kind, std::size_t begin)
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

ExprPtr Parser::finish(ExprPtr e)
{
    e->end = lastEnd();
    return e;
}

// A condition where a value belongs ("SELECT a = b", "(x LIKE 'a') + 1") is a syntax
// error at the condition's operator, as on the server.
ExprPtr Parser::requireValue(ExprPtr e) const
{
    if (e->isCondition())
        syntaxErrorAt(m_tokens[e->opToken]);
    return e;
}

ExprPtr Parser::requireCondition(ExprPtr e) const
{
    if (!e->isCondition()) {
        const Token& near = peek().kind == TokenKind::End && m_pos > 0 ? m_tokens[m_pos - 1] : peek();
        throw TranslationError("An expression of non-boolean type specified in a context where a condition is "
                               "expected, near '"
                               + std::string(near.text) + "'.");
    }
    return e;
}

ExprPtr Parser::parseExpr()
{
    const Nesting nesting(m_depth);
    return parseOr();
}

ExprPtr Parser::parseOr()
{
    ExprPtr left = parseAnd();
    if (!isWord("or"))
        return left;
    auto e = make(Expr::Kind::Or, left->begin);
    e->opToken = m_pos;
    e->op = peek().text;
    e->args.push_back(requireCondition(left));
    while (acceptWord("or"))
        e->args.push_back(requireCondition(parseAnd()));
    return finish(e);
}

ExprPtr Parser::parseAnd()
{
    ExprPtr left = parseNot();
    if (!isWord("and"))
        return left;
    auto e = make(Expr::Kind::And, left->begin);
    e->opToken = m_pos;
    e->op = peek().text;
    e->args.push_back(requireCondition(left));
    while (acceptWord("and"))
        e->args.push_back(requireCondition(parseNot()));
    return finish(e);
}

ExprPtr Parser::parseNot()
{
    if (!isWord("not"))
        return parsePredicate();
    const Nesting nesting(m_depth);
    auto e = make(Expr::Kind::Not, peek().begin);
    e->opToken = m_pos;
    e->op = next().text;
    e->args.push_back(requireCondition(parseNot()));
    return finish(e);
}

ExprPtr Parser::parsePredicate()
{
    if (isWord("exists")) {
        auto e = make(Expr::Kind::Exists, peek().begin);
        e->opToken = m_pos;
        e->op = next().text;
        expectSymbol("(");
        if (!isWord("select"))
            syntaxError();
        e->subquery = parseSelect();
        expectSymbol(")");
        return finish(e);
    }
    ExprPtr left = parseAdditive();
    const Token& t = peek();
    if (t.kind == TokenKind::Symbol
        && (t.text == "=" || t.text == "<>" || t.text == "!=" || t.text == "<" || t.text == ">" || t.text == "<="
            || t.text == ">=")) {
        auto e = make(Expr::Kind::Compare, left->begin);
        e->opToken = m_pos;
        e->op = next().text;
        if (e->op == "!=")
            e->op = "<>";
        if (isWord("all") || isWord("any") || isWord("some"))
            unsupported(upper(peek().text) + " subquery comparison");
        e->args.push_back(requireValue(left));
        e->args.push_back(requireValue(parseAdditive()));
        return finish(e);
    }
    if (isWord("is")) {
        auto e = make(Expr::Kind::IsNull, left->begin);
        e->opToken = m_pos;
        e->op = next().text;
        e->negated = acceptWord("not");
        expectWord("null");
        e->args.push_back(requireValue(left));
        return finish(e);
    }
    const bool negated = isWord("not") && (isWord("in", 1) || isWord("like", 1) || isWord("between", 1));
    if (negated)
        next();
    const std::size_t keyword = m_pos;
    if (acceptWord("in"))
        return parseInList(left, negated, keyword);
    if (acceptWord("like")) {
        auto e = make(Expr::Kind::Like, left->begin);
        e->opToken = keyword;
        e->op = m_tokens[keyword].text;
        e->negated = negated;
        e->args.push_back(requireValue(left));
        e->args.push_back(requireValue(parseAdditive()));
        if (acceptWord("escape"))
            e->args.push_back(requireValue(parseAdditive()));
        return finish(e);
    }
    if (acceptWord("between")) {
        auto e = make(Expr::Kind::Between, left->begin);
        e->opToken = keyword;
        e->op = m_tokens[keyword].text;
        e->negated = negated;
        e->args.push_back(requireValue(left));
        e->args.push_back(requireValue(parseAdditive()));
        expectWord("and");
        e->args.push_back(requireValue(parseAdditive()));
        return finish(e);
    }
    if (negated)
        syntaxError();
    return left;
}

ExprPtr Parser::parseInList(ExprPtr left, bool negated, std::size_t keyword)
{
    auto e = make(Expr::Kind::InList, left->begin);
    e->opToken = keyword;
    e->op = m_tokens[keyword].text;
    e->negated = negated;
    e->args.push_back(requireValue(left));
    expectSymbol("(");
    if (isWord("select")) {
        e->subquery = parseSelect();
    } else {
        do {
            e->args.push_back(requireValue(parseAdditive()));
        } while (acceptSymbol(","));
    }
    expectSymbol(")");
    return finish(e);
}

// a + b - c as one node: long chains (a name built of many parts) then cost no
// recursion, here or in the translator.
ExprPtr Parser::parseAdditive()
{
    ExprPtr first = parseMultiplicative();
    if (!isSymbol("+") && !isSymbol("-"))
        return first;
    auto e = make(Expr::Kind::Arithmetic, first->begin);
    std::string& ops = m_storage->strings.emplace_back();
    e->args.push_back(requireValue(first));
    while (isSymbol("+") || isSymbol("-")) {
        ops += next().text[0];
        e->args.push_back(requireValue(parseMultiplicative()));
    }
    e->op = ops;
    return finish(e);
}

ExprPtr Parser::parseMultiplicative()
{
    ExprPtr first = parseUnary();
    if (!isSymbol("*") && !isSymbol("/") && !isSymbol("%"))
        return first;
    auto e = make(Expr::Kind::Arithmetic, first->begin);
    std::string& ops = m_storage->strings.emplace_back();
    e->args.push_back(requireValue(first));
    while (isSymbol("*") || isSymbol("/") || isSymbol("%")) {
        ops += next().text[0];
        e->args.push_back(requireValue(parseUnary()));
    }
    e->op = ops;
    return finish(e);
}

ExprPtr Parser::parseUnary()
{
    if (isSymbol("-") || isSymbol("+")) {
        const Nesting nesting(m_depth);
        const bool minus = isSymbol("-");
        const std::size_t begin = next().begin;
        ExprPtr operand = requireValue(parseUnary());
        if (!minus)
            return operand;
        auto e = make(Expr::Kind::Negate, begin);
        e->args.push_back(operand);
        return finish(e);
    }
    ExprPtr e = parsePrimary();
    if (isWord("collate"))
        unsupported("COLLATE");
    return e;
}

ExprPtr Parser::parsePrimary()
{
    const Token& t = peek();
    const std::size_t begin = t.begin;
    switch (t.kind) {
    case TokenKind::String: {
        auto e = make(Expr::Kind::String, begin);
        e->unicode = t.unicode;
        e->text = next().text;
        return finish(e);
    }
    case TokenKind::Number:
        return parseNumber();
    case TokenKind::Symbol:
        if (t.text == "(") {
            next();
            if (isWord("select")) {
                auto e = make(Expr::Kind::Subquery, begin);
                e->subquery = parseSelect();
                expectSymbol(")");
                return finish(e);
            }
            ExprPtr inner = parseExpr();
            expectSymbol(")");
            inner->begin = begin;
            inner->end = lastEnd();
            return inner;
        }
        syntaxError();
    case TokenKind::End:
        syntaxError();
    case TokenKind::Word:
    case TokenKind::QuotedName:
        break;
    }
    return parseColumnOrFunction();
}

ExprPtr Parser::parseNumber()
{
    const Token& t = peek();
    if (precisionOf(t.text) > 38)
        throw TranslationError("The number '" + std::string(t.text)
                               + "' is out of the range for numeric representation (maximum precision 38).");
    if (t.number == NumberForm::Integer) {
        long long value = 0;
        if (std::from_chars(t.text.data(), t.text.data() + t.text.size(), value).ec != std::errc())
            unsupported("whole number beyond 9223372036854775807");
    } else if (t.number == NumberForm::Decimal && significantDigits(t.text) > 15) {
        // Decimals are held as doubles in the embedded database: more digits would be rounded.
        unsupported("decimal constant of more than 15 significant digits");
    }
    auto e = make(Expr::Kind::Number, t.begin);
    e->number = t.number;
    e->text = next().text;
    return finish(e);
}

ExprPtr Parser::parseColumnOrFunction()
{
    const Token& t = peek();
    const std::size_t begin = t.begin;
    if (t.kind == TokenKind::Word) {
        auto is = [&](std::string_view word) { return equalsIgnoreCase(t.text, word); };
        if (is("null")) {
            next();
            return finish(make(Expr::Kind::Null, begin));
        }
        if (is("case"))
            return parseCase();
        const bool call = isSymbol("(", 1);
        if (is("cast") && call)
            return parseCast(begin);
        if (is("convert") && call)
            return parseConvert(begin);
        if (t.reserved) {
            // Keywords that are functions to SQL Server: named in the message, not a syntax error.
            if (call && (is("left") || is("right") || is("coalesce") || is("nullif") || is("try_convert")))
                return parseFunction(next().begin, t.text);
            if (is("current_timestamp") || is("current_user") || is("session_user") || is("system_user")
                || is("user") || is("current_date") || is("current_time"))
                unsupported(upper(t.text));
            syntaxError();
        }
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
    return finish(e);
}

ExprPtr Parser::parseFunction(std::size_t begin, std::string_view functionName)
{
    const Nesting nesting(m_depth);
    auto e = make(Expr::Kind::Function, begin);
    static constexpr std::array<std::string_view, 9> known = {"COUNT", "DATEDIFF", "MONTH", "YEAR", "SUM",
                                                              "MIN",   "MAX",      "AVG",   "LEFT"};
    for (std::string_view k : known) {
        if (equalsIgnoreCase(k, functionName)) {
            e->op = k;
            break;
        }
    }
    if (e->op.empty())
        e->op = m_storage->strings.emplace_back(upper(functionName));
    expectSymbol("(");
    const bool aggregate = e->op == "COUNT" || e->op == "SUM" || e->op == "MIN" || e->op == "MAX" || e->op == "AVG";
    if (isWord("distinct") || isWord("all")) {
        if (!aggregate)
            unsupported(std::string(e->op) + "(" + upper(peek().text) + " ...)");
        e->distinct = isWord("distinct");
        next();
        e->args.push_back(parseValue());
    } else if (isSymbol("*") && isSymbol(")", 1)) {
        e->args.push_back(finish(make(Expr::Kind::Star, next().begin)));
    } else if (!isSymbol(")")) {
        do {
            e->args.push_back(parseValue());
        } while (acceptSymbol(","));
    }
    expectSymbol(")");
    if (isWord("over"))
        unsupported("OVER");
    if (isWord("within"))
        unsupported("WITHIN GROUP");
    return finish(e);
}

ExprPtr Parser::parseCast(std::size_t begin)
{
    const Nesting nesting(m_depth);
    next();
    next();
    auto e = make(Expr::Kind::Cast, begin);
    e->args.push_back(parseValue());
    expectWord("as");
    e->type = parseTypeName();
    expectSymbol(")");
    return finish(e);
}

ExprPtr Parser::parseConvert(std::size_t begin)
{
    const Nesting nesting(m_depth);
    next();
    next();
    auto e = make(Expr::Kind::Cast, begin);
    e->op = "CONVERT";
    e->type = parseTypeName();
    expectSymbol(",");
    e->args.push_back(parseValue());
    if (acceptSymbol(","))
        parseConvertStyle(*e);
    expectSymbol(")");
    return finish(e);
}

// The style is an int: a constant, possibly signed or in parentheses, or NULL (which
// makes the result NULL). A computed style would need the row to be known.
void Parser::parseConvertStyle(Expr& convert)
{
    int parentheses = 0;
    while (acceptSymbol("("))
        ++parentheses;
    bool negative = false;
    while (isSymbol("-") || isSymbol("+"))
        negative = (next().text == "-") != negative;
    const Token& t = peek();
    if (t.kind == TokenKind::Word && equalsIgnoreCase(t.text, "null") && !negative) {
        next();
        convert.styleNull = true;
    } else if (t.kind == TokenKind::Number) {
        if (t.number != NumberForm::Integer)
            unsupported("CONVERT style that is not a whole number");
        long long value = 0;
        const auto [end, error] = std::from_chars(t.text.data(), t.text.data() + t.text.size(), value);
        const long long limit = negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                         : std::numeric_limits<int>::max();
        if (error != std::errc() || value > limit)
            throw TranslationError("Arithmetic overflow error converting expression to data type int.");
        next();
        convert.style = static_cast<int>(negative ? -value : value);
    } else if (t.kind == TokenKind::Word || t.kind == TokenKind::QuotedName || t.kind == TokenKind::String) {
        unsupported("CONVERT with a computed style");
    } else {
        syntaxError();
    }
    while (parentheses-- > 0)
        expectSymbol(")");
}

TypeName Parser::parseTypeName()
{
    if (peek().kind != TokenKind::Word && peek().kind != TokenKind::QuotedName)
        syntaxError();
    TypeName type;
    type.name = lowerAscii(next().text);
    if (acceptSymbol("(")) {
        if (acceptWord("max")) {
            type.length = -1;
        } else {
            const Token& t = peek();
            long long n = 0;
            if (t.kind != TokenKind::Number || t.number != NumberForm::Integer)
                syntaxError();
            const auto [end, error] = std::from_chars(t.text.data(), t.text.data() + t.text.size(), n);
            if (error != std::errc() || n < 1 || n > 8000)
                throw TranslationError("The size (" + std::string(t.text) + ") given to the type '" + type.name
                                       + "' exceeds the maximum allowed for any data type (8000).");
            next();
            type.length = static_cast<int>(n);
        }
        if (acceptSymbol(",")) {
            if (peek().kind != TokenKind::Number)
                syntaxError();
            next();  // scale of decimal(p, s); refused with the type
        }
        expectSymbol(")");
    }
    return type;
}

ExprPtr Parser::parseCase()
{
    const Nesting nesting(m_depth);
    const Nesting caseNesting(m_caseDepth, kMaxCaseNesting, "Case expressions may only be nested to level 10.");
    auto e = make(Expr::Kind::Case, next().begin);
    if (!isWord("when")) {
        e->hasOperand = true;
        e->args.push_back(parseValue());
    }
    if (!isWord("when"))
        syntaxError();
    while (acceptWord("when")) {
        e->args.push_back(e->hasOperand ? parseValue() : parseCondition());
        expectWord("then");
        e->args.push_back(parseValue());
    }
    if (acceptWord("else")) {
        e->hasElse = true;
        e->args.push_back(parseValue());
    }
    expectWord("end");
    return finish(e);
}

} // namespace vantik::sqlcompat::detail
