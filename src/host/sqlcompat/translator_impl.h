#pragma once

// The translator behind translateTsql, shared by its source files: translator.cpp
// (statements, scopes, grouping), translate_expr.cpp (operators and conditions) and
// translate_functions.cpp (functions, aggregates, CAST and CONVERT).

#include "host/sqlcompat/catalog.h"
#include "host/sqlcompat/translator.h"
#include "host/sqlcompat/tsql_parser.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantik::sqlcompat::detail {

/// How tightly the top operator of an emitted SQLite expression binds, loosest first.
/// An operand is put in parentheses only when it binds more loosely than its place
/// needs: SQLite's parser stack is shallow, so needless parentheses make long
/// statements fail.
enum class Prec : unsigned char { Or, And, Not, Equality, Relational, Add, Mul, Concat, Unary, Atom };

/// The bounds of an int-valued expression, known while translating: an int operation
/// whose result may leave the int range gets the run-time overflow check SQL Server makes.
struct IntRange {
    std::int64_t low = 0;
    std::int64_t high = 0;
};

inline constexpr std::int64_t kIntMin = -2147483648LL;
inline constexpr std::int64_t kIntMax = 2147483647LL;

struct Typed {
    std::string sql;
    SqlType type = SqlType::Unknown;
    Prec prec = Prec::Atom;
    const Expr* stringLiteral = nullptr;  ///< set when the value is a string literal as written
    bool unicode = false;                 ///< nvarchar: N'' literals and what is made of them
    bool isFloat = false;                 ///< float rather than decimal (a constant with an exponent)
    std::optional<int> scale;             ///< digits after the point of a decimal, where known
    std::optional<IntRange> range;        ///< for Integer: the values it can take
};

struct ScopeTable {
    std::string_view exposed;      ///< alias or table name, as written
    const TableInfo* info = nullptr;
};

struct Scope {
    std::vector<ScopeTable> tables;
    const Scope* parent = nullptr;
};

/// Where a column reference leads.
struct Resolved {
    const Scope* scope = nullptr;       ///< the scope whose table holds it
    const ScopeTable* table = nullptr;  ///< null when the name was not found in a catalogued table
    const ColumnInfo* column = nullptr;
    SqlType type = SqlType::Unknown;
};

struct OutputColumn {
    std::string name;
    SqlType type = SqlType::Unknown;
};

struct SelectResult {
    std::string sql;
    std::vector<OutputColumn> columns;
    bool columnsKnown = true;   ///< false when a * could not be expanded
};

/// Where an aggregate is met, for SQL Server's messages about misplaced ones.
enum class AggregatePlace { Allowed, Where, On, GroupBy, InAggregate };

/// The grouped SELECT whose select list or ORDER BY is being translated: every column
/// of its own tables met outside an aggregate must be one of its GROUP BY expressions.
struct GroupCheck {
    const Scope* scope = nullptr;
    const std::vector<ExprPtr>* groupBy = nullptr;
    const char* clause = "select list";
};

// Joins texts with one allocation: the translation is built for every statement sent,
// and chains of std::string operator+ cost an allocation per step.
template <typename... Parts>
std::string cat(const Parts&... parts)
{
    const std::array<std::string_view, sizeof...(Parts)> views{std::string_view(parts)...};
    std::size_t size = 0;
    for (std::string_view v : views)
        size += v.size();
    std::string out;
    out.reserve(size);
    for (std::string_view v : views)
        out.append(v);
    return out;
}

// Builds prefix + base + rest in base's own buffer. A node's text wraps its first
// operand's, so reusing that buffer saves an allocation and a copy per node.
template <typename... Parts>
std::string around(std::string&& base, std::string_view prefix, const Parts&... rest)
{
    // A std::array: with no parts after the prefix a built-in array would have size 0,
    // which the standard (and MSVC) refuse.
    const std::array<std::string_view, sizeof...(Parts)> views{std::string_view(rest)...};
    std::size_t size = base.size() + prefix.size();
    for (std::string_view v : views)
        size += v.size();
    std::string out = std::move(base);
    out.reserve(size);
    out.insert(0, prefix);
    for (std::string_view v : views)
        out.append(v);
    return out;
}

void appendQuoted(std::string& out, std::string_view text, char quote);
void appendName(std::string& out, std::string_view name);
std::string quoteString(std::string_view text);
bool isNumeric(SqlType t);
/// Whether a comparison involving a value of this kind may be a comparison of texts.
bool mayBeText(SqlType t);
/// " COLLATE TSQL" where texts may meet, else nothing.
std::string_view collateIf(bool text);
/// The operand's text, in parentheses when it binds more loosely than `needed`.
std::string operand(Typed&& value, Prec needed);
/// The value with " COLLATE TSQL" when it may be text; operators bind around it as an atom.
std::string collated(Typed&& value);
/// SQL Server's name of a kind, for messages ("varchar", "int", ...).
std::string_view typeName(SqlType type);

class Translator {
public:
    Translator(const Catalog& catalog, std::size_t statementLength)
        : m_catalog(catalog)
        , m_statementLength(statementLength)
    {
    }

    SelectResult select(const Select& s, const Scope* parent);

private:
    // Statements (translator.cpp).
    ScopeTable resolveTable(const TableSource& source);
    void checkExposedNames(const Select& s, const Scope& scope) const;
    template <typename AddColumn>
    void expandStar(const SelectItem& item, const Scope& scope, std::string& sql, bool& first, SelectResult& result,
                    AddColumn addColumn);
    void appendFrom(std::string& sql, const Select& s, const Scope& scope);
    void appendOrderTerm(std::string& sql, const OrderItem& item, const Scope& scope, const SelectResult& result);
    std::optional<Resolved> resolve(const Expr& e, const Scope& scope) const;
    bool sameExpression(const Expr& a, const Expr& b, const Scope& scope) const;
    bool isGroupedExpression(const Expr& e) const;
    void checkGroupedColumn(const Expr& e, const Resolved& resolved) const;

    // Expressions (translate_expr.cpp).
    Typed expr(const Expr& e, const Scope& scope);
    Typed column(const Expr& e, const Scope& scope);
    Typed number(const Expr& e);
    Typed negate(const Expr& e, const Scope& scope);
    Typed asDateTime(Typed value, bool datetime2 = false);
    void unify(Typed& a, Typed& b);
    Typed compare(Typed a, Typed b, std::string_view op);
    Typed logical(const Expr& e, const Scope& scope);
    Typed arithmetic(const Expr& e, const Scope& scope);
    Typed binary(Typed a, char op, Typed b);
    Typed checkedInt(Typed value, std::int64_t low, std::int64_t high);
    Typed inList(const Expr& e, const Scope& scope);
    Typed like(const Expr& e, const Scope& scope);
    Typed between(const Expr& e, const Scope& scope);
    Typed caseExpr(const Expr& e, const Scope& scope);
    Typed subquery(const Expr& e, const Scope& scope);

    // Functions, aggregates, CAST and CONVERT (translate_functions.cpp).
    Typed function(const Expr& e, const Scope& scope);
    Typed aggregate(const Expr& e, const Scope& scope);
    Typed cast(const Expr& e, const Scope& scope);
    Typed castToText(const Expr& e, Typed value);

    const Catalog& m_catalog;
    std::size_t m_statementLength;
    AggregatePlace m_aggregatePlace = AggregatePlace::Allowed;
    std::optional<GroupCheck> m_groupCheck;
    int m_groupedDepth = 0;   ///< > 0 inside an expression that matches a GROUP BY item
    bool m_qualifyColumns = false;  ///< inside ON: SQLite must not look past the joined tables
};

} // namespace vantik::sqlcompat::detail
