#include "host/sqlcompat/translator_impl.h"

#include <algorithm>

// Conditions: comparisons (and the conversions SQL Server makes before comparing), AND
// and OR, IN, LIKE and BETWEEN.

namespace vantik::sqlcompat::detail {

namespace {

// The text of a value compared with a number: SQL Server converts the text to the
// number's type (int, numeric or bit), failing on text that is not one.
Typed textAsNumber(Typed value, SqlType target)
{
    const char* function = target == SqlType::Integer ? "tsql_int(" : (target == SqlType::Bit ? "tsql_bit(" : "tsql_numeric(");
    value.sql = around(std::move(value.sql), function, ")");
    value.prec = Prec::Atom;
    value.type = target;
    value.stringLiteral = nullptr;
    if (target == SqlType::Integer)
        value.range = IntRange{kIntMin, kIntMax};
    return value;
}

SqlType widerNumber(SqlType a, SqlType b)
{
    if (a == SqlType::Decimal || b == SqlType::Decimal)
        return SqlType::Decimal;
    if (a == SqlType::Integer || b == SqlType::Integer)
        return SqlType::Integer;
    return a;
}

// AND and OR chains come out in groups of at most this many, nested: SQLite refuses an
// expression tree deeper than 1000, and a list of a few thousand alternatives is a
// statement support staff do write.
constexpr std::size_t kLogicalGroup = 32;

void joinLogical(std::string& out, std::vector<std::string>& parts, std::size_t from, std::size_t to,
                 std::string_view separator)
{
    const std::size_t count = to - from;
    if (count <= kLogicalGroup) {
        for (std::size_t i = from; i < to; ++i) {
            if (i > from)
                out += separator;
            out += parts[i];
        }
        return;
    }
    const std::size_t chunk = (count + kLogicalGroup - 1) / kLogicalGroup;
    for (std::size_t start = from; start < to; start += chunk) {
        if (start > from)
            out += separator;
        out += '(';
        joinLogical(out, parts, start, std::min(start + chunk, to), separator);
        out += ')';
    }
}

} // namespace

// Brings the two sides of a comparison to one kind, as SQL Server's data type
// precedence does: a string meets a datetime as a datetime, a number as that number.
void Translator::unify(Typed& a, Typed& b)
{
    if (a.type == SqlType::DateTime || b.type == SqlType::DateTime) {
        a = asDateTime(std::move(a));
        b = asDateTime(std::move(b));
    } else if (a.type == SqlType::Text && isNumeric(b.type)) {
        a = textAsNumber(std::move(a), b.type);
    } else if (b.type == SqlType::Text && isNumeric(a.type)) {
        b = textAsNumber(std::move(b), a.type);
    }
}

Typed Translator::compare(Typed a, Typed b, std::string_view op)
{
    unify(a, b);
    Typed out;
    const bool text = mayBeText(a.type) || mayBeText(b.type);
    std::string right = text ? collated(std::move(b)) : operand(std::move(b), Prec::Add);
    out.sql = around(operand(std::move(a), Prec::Add), "", " ", op, " ", right);
    out.prec = op == "=" || op == "<>" ? Prec::Equality : Prec::Relational;
    return out;
}

Typed Translator::logical(const Expr& e, const Scope& scope)
{
    const bool isAnd = e.kind == Expr::Kind::And;
    std::vector<std::string> parts(e.args.size());
    for (std::size_t i = e.args.size(); i-- > 0;)
        parts[i] = operand(expr(*e.args[i], scope), isAnd ? Prec::And : Prec::Or);
    Typed out;
    std::size_t size = 0;
    for (const std::string& part : parts)
        size += part.size() + 5;
    out.sql.reserve(size + size / 8);
    joinLogical(out.sql, parts, 0, parts.size(), isAnd ? " AND " : " OR ");
    out.prec = isAnd ? Prec::And : Prec::Or;
    return out;
}

Typed Translator::inList(const Expr& e, const Scope& scope)
{
    Typed value = expr(*e.args[0], scope);
    Typed out;
    out.prec = Prec::Equality;
    const std::string_view keyword = e.negated ? " NOT IN (" : " IN (";
    if (e.subquery) {
        Typed inner = subquery(e, scope);
        if ((value.type == SqlType::DateTime) != (inner.type == SqlType::DateTime) && value.type != SqlType::Unknown
            && inner.type != SqlType::Unknown)
            unsupported("IN (subquery) comparing a datetime with another kind");
        if (isNumeric(value.type) != isNumeric(inner.type) && value.type != SqlType::Unknown
            && inner.type != SqlType::Unknown)
            unsupported("IN (subquery) comparing a number with a text");
        // SQLite compares with the left operand's collation.
        const bool text = mayBeText(value.type) || mayBeText(inner.type);
        std::string left = text ? collated(std::move(value)) : operand(std::move(value), Prec::Add);
        // inner.sql is already in parentheses: "IN ((SELECT ...))" would be a list of one value.
        out.sql = around(std::move(left), "", e.negated ? " NOT IN " : " IN ", inner.sql);
        return out;
    }
    std::vector<Typed> items;
    items.reserve(e.args.size() - 1);
    bool dates = value.type == SqlType::DateTime;
    bool numbers = false;
    bool texts = false;
    SqlType widest = SqlType::Unknown;
    for (std::size_t i = 1; i < e.args.size(); ++i) {
        items.push_back(expr(*e.args[i], scope));
        const SqlType t = items.back().type;
        dates = dates || t == SqlType::DateTime;
        numbers = numbers || isNumeric(t);
        texts = texts || t == SqlType::Text;
        widest = isNumeric(t) ? widerNumber(widest, t) : widest;
    }
    if (dates) {
        value = asDateTime(std::move(value));
    } else if (value.type == SqlType::Text && numbers) {
        if (texts)
            unsupported("IN list mixing numbers and texts");
        value = textAsNumber(std::move(value), widest);
    }
    bool text = mayBeText(value.type);
    std::size_t size = 0;
    for (Typed& item : items) {
        if (dates)
            item = asDateTime(std::move(item));
        else if (item.type == SqlType::Text && isNumeric(value.type))
            item = textAsNumber(std::move(item), value.type);
        text = text || mayBeText(item.type);
        size += item.sql.size() + 2;
    }
    std::string list;
    list.reserve(size);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i)
            list += ", ";
        list += items[i].sql;
    }
    // SQLite compares an IN list with the left operand's collation.
    std::string left = text ? collated(std::move(value)) : operand(std::move(value), Prec::Add);
    out.sql = around(std::move(left), "", keyword, list, ")");
    return out;
}

// SQL Server ignores the trailing blanks of the matched text for varchar, but not when
// any side is nvarchar (an N'' literal, a CAST AS NVARCHAR): that case has its own function.
Typed Translator::like(const Expr& e, const Scope& scope)
{
    Typed value = expr(*e.args[0], scope);
    // SQL Server matches a datetime by its style-0 text.
    if (value.type == SqlType::DateTime) {
        value.sql = around(std::move(value.sql), "tsql_style0(", ")");
        value.prec = Prec::Atom;
    }
    Typed pattern = expr(*e.args[1], scope);
    std::optional<Typed> escape;
    if (e.args.size() > 2)
        escape = expr(*e.args[2], scope);
    Typed out;
    if (value.unicode || pattern.unicode || (escape && escape->unicode)) {
        out.sql = around(std::move(pattern.sql), e.negated ? "NOT tsql_nlike(" : "tsql_nlike(", ", ", value.sql);
        if (escape) {
            out.sql += ", ";
            out.sql += escape->sql;
        }
        out.sql += ")";
        out.prec = e.negated ? Prec::Not : Prec::Atom;
        return out;
    }
    out.sql = around(operand(std::move(value), Prec::Add), "", e.negated ? " NOT LIKE " : " LIKE ",
                     operand(std::move(pattern), Prec::Add));
    if (escape) {
        out.sql += " ESCAPE ";
        out.sql += operand(std::move(*escape), Prec::Add);
    }
    out.prec = Prec::Equality;
    return out;
}

Typed Translator::between(const Expr& e, const Scope& scope)
{
    Typed value = expr(*e.args[0], scope);
    Typed low = expr(*e.args[1], scope);
    Typed high = expr(*e.args[2], scope);
    if (value.type == SqlType::DateTime || low.type == SqlType::DateTime || high.type == SqlType::DateTime) {
        value = asDateTime(std::move(value));
        low = asDateTime(std::move(low));
        high = asDateTime(std::move(high));
    } else {
        unify(value, low);
        unify(value, high);
        unify(value, low);
    }
    const bool text = mayBeText(value.type) || mayBeText(low.type) || mayBeText(high.type);
    Typed out;
    std::string left = text ? collated(std::move(value)) : operand(std::move(value), Prec::Add);
    out.sql = around(std::move(left), "", e.negated ? " NOT BETWEEN " : " BETWEEN ",
                     operand(std::move(low), Prec::Add), " AND ", operand(std::move(high), Prec::Add));
    out.prec = Prec::Equality;
    return out;
}

} // namespace vantik::sqlcompat::detail
