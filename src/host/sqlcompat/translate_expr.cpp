#include "host/sqlcompat/compat_functions.h"
#include "host/sqlcompat/datetime.h"
#include "host/sqlcompat/translator_impl.h"

#include <algorithm>
#include <charconv>

namespace vantik::sqlcompat::detail {

void appendQuoted(std::string& out, std::string_view text, char quote)
{
    out += quote;
    std::size_t from = 0;
    for (std::size_t at = text.find(quote); at != std::string_view::npos; at = text.find(quote, from)) {
        out.append(text.substr(from, at + 1 - from));
        out += quote;
        from = at + 1;
    }
    out.append(text.substr(from));
    out += quote;
}

void appendName(std::string& out, std::string_view name)
{
    appendQuoted(out, name, '`');
}

std::string quoteString(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    appendQuoted(out, text, '\'');
    return out;
}

bool isNumeric(SqlType t)
{
    return t == SqlType::Integer || t == SqlType::Decimal || t == SqlType::Bit;
}

bool mayBeText(SqlType t)
{
    return t == SqlType::Text || t == SqlType::Unknown;
}

std::string_view collateIf(bool text)
{
    static const std::string clause = std::string(" COLLATE ") + kCollationName;
    return text ? std::string_view(clause) : std::string_view();
}

std::string operand(Typed&& value, Prec needed)
{
    if (value.prec >= needed)
        return std::move(value.sql);
    return around(std::move(value.sql), "(", ")");
}

std::string collated(Typed&& value)
{
    const bool text = mayBeText(value.type);
    if (!text)
        return std::move(value.sql);
    return operand(std::move(value), Prec::Unary) + std::string(collateIf(true));
}

std::string_view typeName(SqlType type)
{
    switch (type) {
    case SqlType::Text: return "varchar";
    case SqlType::Integer: return "int";
    case SqlType::Decimal: return "numeric";
    case SqlType::Bit: return "bit";
    case SqlType::DateTime: return "datetime";
    case SqlType::Unknown: break;
    }
    return "sql_variant";
}

namespace {

// SQL Server reads a string as datetime; an empty or blank string is the zero date 1900-01-01.
// Read as datetime2 (DATEDIFF, MONTH, YEAR) the string keeps its fraction: it is cut to
// the millisecond, never rounded into the next day.
std::string storageLiteral(std::string_view text, bool datetime2)
{
    const DateParseResult parsed = datetime2 ? parseSqlServerDateTime2(text) : castStringToDateTime(text);
    if (parsed.status != DateParseStatus::Ok)
        throw TranslationError(parsed.message());
    return quoteString(toStorageText(parsed.value));
}

// How many digits follow the point of a decimal constant.
int scaleOf(std::string_view number)
{
    const std::size_t point = number.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(number.size() - point - 1);
}

} // namespace

Typed Translator::expr(const Expr& e, const Scope& scope)
{
    // A select-list expression that is one of the GROUP BY expressions may use its columns freely.
    const bool grouped = m_groupCheck && m_groupedDepth == 0 && m_groupCheck->scope == &scope
        && e.kind != Expr::Kind::String && e.kind != Expr::Kind::Number && e.kind != Expr::Kind::Null
        && isGroupedExpression(e);
    m_groupedDepth += grouped ? 1 : 0;
    Typed out;
    switch (e.kind) {
    case Expr::Kind::Column:
        out = column(e, scope);
        break;
    case Expr::Kind::String:
        out.sql = quoteString(e.text);
        out.type = SqlType::Text;
        out.stringLiteral = &e;
        out.unicode = e.unicode;
        break;
    case Expr::Kind::Number:
        out = number(e);
        break;
    case Expr::Kind::Null:
        out.sql = "NULL";
        break;
    case Expr::Kind::Star:
        throw TranslationError("Incorrect syntax near '*'.");
    case Expr::Kind::Negate:
        out = negate(e, scope);
        break;
    case Expr::Kind::Arithmetic:
        out = arithmetic(e, scope);
        break;
    // Comparisons, AND, OR and DATEDIFF translate their right operand first, as they
    // always have, so that a statement with two faults keeps reporting the same one.
    case Expr::Kind::Compare: {
        Typed b = expr(*e.args[1], scope);
        Typed a = expr(*e.args[0], scope);
        out = compare(std::move(a), std::move(b), e.op);
        break;
    }
    case Expr::Kind::And:
    case Expr::Kind::Or:
        out = logical(e, scope);
        break;
    case Expr::Kind::Not:
        out.sql = "NOT " + operand(expr(*e.args[0], scope), Prec::Not);
        out.prec = Prec::Not;
        break;
    case Expr::Kind::IsNull:
        out.sql = operand(expr(*e.args[0], scope), Prec::Add);
        out.sql += e.negated ? " IS NOT NULL" : " IS NULL";
        out.prec = Prec::Equality;
        break;
    case Expr::Kind::InList:
        out = inList(e, scope);
        break;
    case Expr::Kind::Like:
        out = like(e, scope);
        break;
    case Expr::Kind::Between:
        out = between(e, scope);
        break;
    case Expr::Kind::Function:
        out = function(e, scope);
        break;
    case Expr::Kind::Cast:
        out = cast(e, scope);
        break;
    case Expr::Kind::Case:
        out = caseExpr(e, scope);
        break;
    case Expr::Kind::Subquery:
        out = subquery(e, scope);
        break;
    case Expr::Kind::Exists:
        out = subquery(e, scope);
        out.sql = around(std::move(out.sql), "EXISTS ");
        out.type = SqlType::Unknown;
        break;
    }
    m_groupedDepth -= grouped ? 1 : 0;
    return out;
}

Typed Translator::column(const Expr& e, const Scope& scope)
{
    const Resolved resolved = *resolve(e, scope);
    checkGroupedColumn(e, resolved);
    Typed out;
    out.type = resolved.type;
    if (out.type == SqlType::Integer)
        out.range = IntRange{kIntMin, kIntMax};
    else if (out.type == SqlType::Bit)
        out.range = IntRange{0, 1};
    if (m_qualifyColumns && e.names.size() == 1 && resolved.table) {
        appendName(out.sql, resolved.table->exposed);
        out.sql += '.';
        appendName(out.sql, e.names.front());
        return out;
    }
    out.sql.reserve(e.names.size() == 2 ? e.names[0].size() + e.names[1].size() + 5 : e.names[0].size() + 2);
    for (std::size_t i = 0; i < e.names.size(); ++i) {
        if (i)
            out.sql += '.';
        appendName(out.sql, e.names[i]);
    }
    return out;
}

// SQL Server types a constant by its form: an int when it fits, a decimal with the
// written scale, a float when it has an exponent. A whole number past the int range is
// a decimal of scale 0.
Typed Translator::number(const Expr& e)
{
    Typed out;
    out.sql = e.text;
    switch (e.number) {
    case NumberForm::Integer: {
        std::int64_t value = 0;
        std::from_chars(e.text.data(), e.text.data() + e.text.size(), value);
        if (value <= kIntMax) {
            out.type = SqlType::Integer;
            out.range = IntRange{value, value};
        } else {
            out.type = SqlType::Decimal;
        }
        out.scale = 0;
        break;
    }
    case NumberForm::Decimal:
        out.type = SqlType::Decimal;
        out.scale = scaleOf(e.text);
        break;
    case NumberForm::Float:
        out.type = SqlType::Decimal;
        out.isFloat = true;
        break;
    }
    return out;
}

Typed Translator::negate(const Expr& e, const Scope& scope)
{
    Typed value = expr(*e.args[0], scope);
    if (!isNumeric(value.type) && value.type != SqlType::Unknown)
        unsupported("unary minus on a non-number");
    std::string inner = operand(std::move(value), Prec::Unary);
    // "--" would start a comment in the SQLite text.
    value.sql = around(std::move(inner), inner.empty() || inner.front() != '-' ? "-" : "- ");
    value.prec = Prec::Unary;
    value.stringLiteral = nullptr;
    if (value.range) {
        const IntRange r = *value.range;
        return checkedInt(std::move(value), -r.high, -r.low);
    }
    return value;
}

// An operand that SQL Server converts to datetime.
Typed Translator::asDateTime(Typed value, bool datetime2)
{
    if (value.stringLiteral) {
        value.sql = storageLiteral(value.stringLiteral->text, datetime2);
        value.stringLiteral = nullptr;
        value.prec = Prec::Atom;
    } else if (value.type == SqlType::Text && !datetime2) {
        value.sql = around(std::move(value.sql), "tsql_datetime(", ")");
        value.prec = Prec::Atom;
    } else if (isNumeric(value.type) && !datetime2) {
        unsupported("number used as datetime");
    }
    value.type = SqlType::DateTime;
    value.range.reset();
    return value;
}

Typed Translator::arithmetic(const Expr& e, const Scope& scope)
{
    Typed result = expr(*e.args[0], scope);
    for (std::size_t i = 1; i < e.args.size(); ++i)
        result = binary(std::move(result), e.op[i - 1], expr(*e.args[i], scope));
    return result;
}

Typed Translator::binary(Typed a, char op, Typed b)
{
    if (a.type == SqlType::DateTime || b.type == SqlType::DateTime)
        unsupported("datetime arithmetic");
    if (op == '/' || op == '%')
        unsupported(std::string(1, op));  // SQLite gives NULL where SQL Server stops with "Divide by zero"
    Typed out;
    if (op == '+' && a.type == SqlType::Text && b.type == SqlType::Text) {
        out.unicode = a.unicode || b.unicode;
        out.sql = around(operand(std::move(a), Prec::Concat), "", " || ", operand(std::move(b), Prec::Unary));
        out.type = SqlType::Text;
        out.prec = Prec::Concat;
        return out;
    }
    if (op == '+' && !(isNumeric(a.type) && isNumeric(b.type))) {
        out.sql = around(std::move(a.sql), "tsql_add(", ", ", b.sql, ")");
        return out;
    }
    if (a.type == SqlType::Text || b.type == SqlType::Text)
        unsupported(std::string(1, op) + " on text");
    const bool known = isNumeric(a.type) && isNumeric(b.type);
    out.type = !known ? SqlType::Unknown
                      : (a.type == SqlType::Decimal || b.type == SqlType::Decimal ? SqlType::Decimal : SqlType::Integer);
    out.isFloat = a.isFloat || b.isFloat;
    if (out.type == SqlType::Decimal && !out.isFloat && a.scale && b.scale)
        out.scale = std::min(op == '*' ? *a.scale + *b.scale : std::max(*a.scale, *b.scale), 38);
    const std::optional<IntRange> ra = a.range;
    const std::optional<IntRange> rb = b.range;
    const bool multiply = op == '*';
    out.prec = multiply ? Prec::Mul : Prec::Add;
    out.sql = around(operand(std::move(a), out.prec), "", multiply ? " * " : (op == '+' ? " + " : " - "),
                     operand(std::move(b), multiply ? Prec::Concat : Prec::Mul));
    if (out.type != SqlType::Integer)
        return out;
    const IntRange x = ra.value_or(IntRange{kIntMin, kIntMax});
    const IntRange y = rb.value_or(IntRange{kIntMin, kIntMax});
    if (op == '+')
        return checkedInt(std::move(out), x.low + y.low, x.high + y.high);
    if (op == '-')
        return checkedInt(std::move(out), x.low - y.high, x.high - y.low);
    const std::int64_t products[] = {x.low * y.low, x.low * y.high, x.high * y.low, x.high * y.high};
    return checkedInt(std::move(out), *std::min_element(std::begin(products), std::end(products)),
                      *std::max_element(std::begin(products), std::end(products)));
}

// An int result that may leave the int range gets SQL Server's overflow error at run time.
Typed Translator::checkedInt(Typed value, std::int64_t low, std::int64_t high)
{
    if (value.type != SqlType::Integer || (low >= kIntMin && high <= kIntMax)) {
        if (value.type == SqlType::Integer)
            value.range = IntRange{low, high};
        return value;
    }
    value.sql = around(std::move(value.sql), "tsql_int(", ")");
    value.prec = Prec::Atom;
    // Whatever passes the check is an int; the bounds stay small enough to multiply.
    value.range = IntRange{kIntMin, kIntMax};
    return value;
}

Typed Translator::caseExpr(const Expr& e, const Scope& scope)
{
    std::size_t i = 0;
    std::optional<Typed> subject;
    if (e.hasOperand)
        subject = expr(*e.args[i++], scope);
    const std::size_t pairsEnd = e.args.size() - (e.hasElse ? 1 : 0);
    Typed out;
    out.sql = "CASE";
    bool first = true;
    auto takeType = [&](const Typed& v) {
        if (out.type == SqlType::Unknown)
            out.type = v.type;
        out.unicode = out.unicode || v.unicode;
        if (first || (out.range && v.range)) {
            out.range = first ? v.range
                              : std::optional<IntRange>(IntRange{std::min(out.range->low, v.range->low),
                                                                 std::max(out.range->high, v.range->high)});
        } else {
            out.range.reset();
        }
        first = false;
    };
    for (; i + 1 < pairsEnd; i += 2) {
        const Typed condition = subject ? compare(*subject, expr(*e.args[i], scope), "=") : expr(*e.args[i], scope);
        const Typed result = expr(*e.args[i + 1], scope);
        takeType(result);
        out.sql += " WHEN ";
        out.sql += condition.sql;
        out.sql += " THEN ";
        out.sql += result.sql;
    }
    if (e.hasElse) {
        const Typed otherwise = expr(*e.args.back(), scope);
        takeType(otherwise);
        out.sql += " ELSE ";
        out.sql += otherwise.sql;
    } else {
        out.range.reset();  // NULL when nothing matches
    }
    if (out.type != SqlType::Integer)
        out.range.reset();
    out.sql += " END";
    out.prec = Prec::Atom;
    return out;
}

Typed Translator::subquery(const Expr& e, const Scope& scope)
{
    if (m_aggregatePlace == AggregatePlace::InAggregate)
        throw TranslationError("Cannot perform an aggregate function on an expression containing an aggregate or a "
                               "subquery.");
    if (m_aggregatePlace == AggregatePlace::GroupBy)
        throw TranslationError("Cannot use an aggregate or a subquery in an expression used for the group by list "
                               "of a GROUP BY clause.");
    const Select& sub = *e.subquery;
    if (e.kind != Expr::Kind::Exists && (sub.items.size() != 1 || sub.items.front().star))
        throw TranslationError("Only one expression can be specified in the select list when the subquery "
                               "is not introduced with EXISTS.");
    SelectResult inner = select(sub, &scope);
    Typed out;
    out.type = inner.columns.empty() ? SqlType::Unknown : inner.columns.front().type;
    out.sql = around(std::move(inner.sql), "(", ")");
    return out;
}

} // namespace vantik::sqlcompat::detail
