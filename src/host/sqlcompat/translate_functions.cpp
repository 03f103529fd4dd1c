#include "host/sqlcompat/datetime.h"
#include "host/sqlcompat/translator_impl.h"

#include <algorithm>
#include <array>

namespace vantik::sqlcompat::detail {

namespace {

// Style 0 and the default of CAST/CONVERT give "Jan  5 2024  9:07AM": 19 characters.
constexpr int kStyle0Length = 19;
// CAST(x AS VARCHAR) and CONVERT(VARCHAR, x) without a length mean VARCHAR(30).
constexpr int kDefaultVarcharLength = 30;

// The styles SQL Server knows for a datetime turned into text; only 0 and 100 (the same
// text) are reproduced here.
bool isDateTimeStyle(int style)
{
    return (style >= 0 && style <= 14) || (style >= 20 && style <= 23) || (style >= 100 && style <= 114)
        || style == 120 || style == 121 || style == 126 || style == 127 || style == 130 || style == 131;
}

bool isDatePart(std::string_view unit)
{
    static constexpr std::array<std::string_view, 31> parts = {
        "year",   "yy", "yyyy", "quarter", "qq", "q",  "month",  "mm", "m",  "dayofyear", "dy",
        "y",      "day", "dd",  "d",       "week", "wk", "ww",   "hour", "hh", "minute", "mi",
        "n",      "second", "ss", "s",     "millisecond", "ms", "microsecond", "mcs", "nanosecond"};
    return equalsIgnoreCase(unit, "ns")
        || std::any_of(parts.begin(), parts.end(), [&](std::string_view p) { return equalsIgnoreCase(p, unit); });
}

bool isAggregate(std::string_view name)
{
    return name == "COUNT" || name == "SUM" || name == "MIN" || name == "MAX" || name == "AVG";
}

} // namespace

Typed Translator::function(const Expr& e, const Scope& scope)
{
    if (isAggregate(e.op))
        return aggregate(e, scope);
    Typed out;
    auto arity = [&](std::size_t n) {
        if (e.args.size() != n)
            throw TranslationError(cat("The ", e.op, " function requires ", std::to_string(n), " argument(s)."));
        for (const ExprPtr& arg : e.args) {
            if (arg->kind == Expr::Kind::Star)
                throw TranslationError("Incorrect syntax near '*'.");
        }
    };
    // DATEDIFF, MONTH and YEAR read a string as datetime2 (seven decimals, years from 1):
    // a literal here, any other text in the function at run time.
    auto dateArgument = [&](const Expr& arg) {
        Typed value = expr(arg, scope);
        if (value.stringLiteral)
            return asDateTime(std::move(value), true);
        return value;
    };
    if (e.op == "DATEDIFF") {
        arity(3);
        const Expr& part = *e.args[0];
        const std::string_view unit = part.kind == Expr::Kind::Column && part.names.size() == 1
            ? part.names.front()
            : std::string_view();
        if (!equalsIgnoreCase(unit, "day") && !equalsIgnoreCase(unit, "dd") && !equalsIgnoreCase(unit, "d")) {
            if (unit.empty())
                throw TranslationError("Invalid parameter 1 specified for datediff.");
            if (!isDatePart(unit))
                throw TranslationError(cat("'", unit, "' is not a recognized datediff option."));
            unsupported(cat("DATEDIFF(", unit, ", ...)"));
        }
        const Typed b = dateArgument(*e.args[2]);
        Typed a = dateArgument(*e.args[1]);
        out.sql = around(std::move(a.sql), "tsql_datediff_day(", ", ", b.sql, ")");
        out.type = SqlType::Integer;
        // 0001-01-01 to 9999-12-31 is 3,652,058 days.
        out.range = IntRange{-3652058, 3652058};
        return out;
    }
    if (e.op == "MONTH" || e.op == "YEAR") {
        arity(1);
        const bool month = e.op == "MONTH";
        out.sql = around(dateArgument(*e.args[0]).sql, month ? "tsql_month(" : "tsql_year(", ")");
        out.type = SqlType::Integer;
        out.range = month ? IntRange{1, 12} : IntRange{1, 9999};
        return out;
    }
    unsupported(cat(e.op, "()"));
}

// COUNT, SUM, AVG, MIN and MAX with SQL Server's rules: NULLs ignored; SUM and AVG of an
// int are ints (AVG truncates) that overflow as on the server; MIN and MAX of texts follow
// the collation; DISTINCT compares under it too.
Typed Translator::aggregate(const Expr& e, const Scope& scope)
{
    switch (m_aggregatePlace) {
    case AggregatePlace::Allowed:
        break;
    case AggregatePlace::Where:
        throw TranslationError("An aggregate may not appear in the WHERE clause unless it is in a subquery contained "
                               "in a HAVING clause or a select list, and the column being aggregated is an outer "
                               "reference.");
    case AggregatePlace::On:
        throw TranslationError("An aggregate cannot appear in an ON clause unless it is in a subquery contained in a "
                               "HAVING clause or select list, and the column being aggregated is an outer "
                               "reference.");
    case AggregatePlace::GroupBy:
        throw TranslationError("Cannot use an aggregate or a subquery in an expression used for the group by list of "
                               "a GROUP BY clause.");
    case AggregatePlace::InAggregate:
        throw TranslationError("Cannot perform an aggregate function on an expression containing an aggregate or a "
                               "subquery.");
    }
    if (e.args.size() != 1)
        throw TranslationError(cat("The ", e.op, " function requires 1 argument(s)."));
    const std::string_view lower = e.op == "COUNT" ? "count(" : e.op == "SUM" ? "sum(" : e.op == "AVG" ? "avg(" : e.op == "MIN" ? "min(" : "max(";
    const std::string_view distinct = e.distinct ? "DISTINCT " : "";
    Typed out;
    if (e.args[0]->kind == Expr::Kind::Star) {
        if (e.op != "COUNT")
            throw TranslationError("Incorrect syntax near '*'.");
        out.sql = "count(*)";
        out.type = SqlType::Integer;
        out.range = IntRange{0, kIntMax};
        return out;
    }
    Typed value;
    {
        const AggregatePlace outer = m_aggregatePlace;
        m_aggregatePlace = AggregatePlace::InAggregate;
        value = expr(*e.args[0], scope);
        m_aggregatePlace = outer;
    }
    const SqlType type = value.type;
    auto invalidOperand = [&](std::string_view operatorName) {
        throw TranslationError(cat("Operand data type ", typeName(type), " is invalid for ", operatorName,
                                   " operator."));
    };
    // DISTINCT compares under the collation, like every other comparison of texts.
    const bool text = mayBeText(type) && (e.distinct || e.op == "MIN" || e.op == "MAX");
    std::string argument = text ? collated(std::move(value)) : std::move(value.sql);
    if (e.op == "COUNT") {
        out.sql = cat("count(", distinct, argument, ")");
        out.type = SqlType::Integer;
        out.range = IntRange{0, kIntMax};
        return out;
    }
    if (e.op == "MIN" || e.op == "MAX") {
        if (type == SqlType::Bit)
            invalidOperand(e.op == "MIN" ? "min" : "max");
        out = value;
        out.stringLiteral = nullptr;
        out.prec = Prec::Atom;
        out.sql = cat(lower, distinct, argument, ")");
        return out;
    }
    const std::string_view operatorName = e.op == "SUM" ? "sum" : "avg";
    if (type == SqlType::Text || type == SqlType::Bit || type == SqlType::DateTime)
        invalidOperand(operatorName);
    out.type = type;
    out.isFloat = value.isFloat;
    if (type == SqlType::Integer) {
        out.sql = e.op == "SUM" ? cat("tsql_int(sum(", distinct, argument, "))")
                                : cat("tsql_avg_int(", distinct, argument, ")");
        out.range = IntRange{kIntMin, kIntMax};
        return out;
    }
    if (e.op == "SUM")
        out.scale = value.scale;
    out.sql = cat(lower, distinct, argument, ")");
    return out;
}

Typed Translator::cast(const Expr& e, const Scope& scope)
{
    Typed value = expr(*e.args[0], scope);
    const std::string& target = e.type.name;
    const bool isConvert = e.op == "CONVERT";
    if (target == "varchar" || target == "nvarchar")
        return castToText(e, std::move(value));
    Typed out;
    if (target == "datetime") {
        if (e.style && *e.style != 0 && *e.style != 100)
            unsupported("CONVERT style " + std::to_string(*e.style));
        if (e.styleNull) {
            out.sql = "NULL";
            out.type = SqlType::DateTime;
            return out;
        }
        return asDateTime(std::move(value));
    }
    if (target == "int" || target == "integer") {
        if (e.type.length)
            throw TranslationError("Cannot specify a column width on data type int.");
        if (value.type == SqlType::DateTime)
            unsupported("CONVERT of a datetime to int");
        out.type = SqlType::Integer;
        if (e.styleNull) {
            out.sql = "NULL";
            return out;
        }
        if (value.type == SqlType::Integer || value.type == SqlType::Bit) {
            out = std::move(value);
            out.type = SqlType::Integer;
            out.stringLiteral = nullptr;
            return out;
        }
        out.sql = around(std::move(value.sql), "tsql_int(", ")");
        out.range = IntRange{kIntMin, kIntMax};
        return out;
    }
    unsupported((isConvert ? "CONVERT to " : "CAST AS ") + target);
}

Typed Translator::castToText(const Expr& e, Typed value)
{
    const bool unicode = e.type.name == "nvarchar";
    Typed out;
    out.type = SqlType::Text;
    out.unicode = unicode;
    if (e.styleNull) {
        out.sql = "NULL";
        return out;
    }
    const bool maybeDate = value.type == SqlType::DateTime || value.type == SqlType::Unknown;
    if (e.style && *e.style != 0) {
        if (maybeDate && *e.style == 100) {
            // The same text as style 0.
        } else if (maybeDate && !isDateTimeStyle(*e.style)) {
            throw TranslationError(std::to_string(*e.style)
                                   + " is not a valid style number when converting from datetime to a character "
                                     "string.");
        } else {
            unsupported("CONVERT style " + std::to_string(*e.style));
        }
    }
    const int length = e.type.length.value_or(kDefaultVarcharLength);  // -1: MAX
    if (maybeDate) {
        // Datetimes become text in style 0, the default of CAST and CONVERT.
        if (value.type == SqlType::Unknown && unicode)
            out.sql = around(std::move(value.sql), "tsql_varchar(tsql_style0(", "), ", std::to_string(length),
                             ", 1, -1)");
        else if (length >= 0 && (length < kStyle0Length || value.type == SqlType::Unknown))
            out.sql = around(std::move(value.sql), "tsql_varchar(tsql_style0(", "), ", std::to_string(length), ")");
        else
            out.sql = around(std::move(value.sql), "tsql_style0(", ")");
        return out;
    }
    // tsql_varchar keeps the server's "*" for an int too long for a varchar; a decimal
    // keeps its written scale ("12.50"), a float comes out as the server writes one.
    const bool decimal = value.type == SqlType::Decimal;
    if (!unicode && !decimal) {
        out.sql = around(std::move(value.sql), "tsql_varchar(", ", ", std::to_string(length), ")");
        return out;
    }
    const int scale = value.isFloat ? -2 : (decimal ? value.scale.value_or(-1) : -1);
    out.sql = around(std::move(value.sql), "tsql_varchar(", ", ", std::to_string(length), unicode ? ", 1, " : ", 0, ",
                     std::to_string(decimal ? scale : -3), ")");
    return out;
}

} // namespace vantik::sqlcompat::detail
