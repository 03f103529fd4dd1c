#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantik::sqlcompat {

/// The syntax tree of the one statement form the program sends: a SELECT with
/// joins, scalar subqueries, CASE, CAST/CONVERT and a few functions. Everything
/// else is refused while parsing, so the translator never sees it.

struct Select;

struct TypeName {
    std::string name;            ///< lower case: "varchar", "datetime", ...
    std::optional<int> length;   ///< absent when not written; -1 for MAX
};

struct Expr {
    enum class Kind {
        Column,    ///< names: qualifier parts then the column
        String,    ///< text: the value, quotes removed
        Number,    ///< text: as written
        Null,
        Star,      ///< the * of COUNT(*)
        Negate,    ///< args[0]
        Arithmetic,///< op: + - * / %; args[0], args[1]
        Compare,   ///< op: = <> < > <= >=; args[0], args[1]
        And,
        Or,
        Not,       ///< args[0]
        IsNull,    ///< negated for IS NOT NULL
        InList,    ///< args[0] IN (args[1..])
        Like,      ///< args[0] LIKE args[1] [ESCAPE args[2]]
        Between,   ///< args[0] BETWEEN args[1] AND args[2]
        Function,  ///< op: upper-case name; args
        Cast,      ///< args[0] AS type; op "CONVERT" for CONVERT, whose third argument is style
        Case,      ///< args: [operand] (when, then)... [else]
        Subquery,
        Exists,
    };

    Kind kind = Kind::Null;
    std::string op;
    std::string text;
    std::vector<std::string> names;
    std::vector<std::unique_ptr<Expr>> args;
    std::unique_ptr<Select> subquery;
    bool negated = false;
    bool hasOperand = false;  ///< CASE x WHEN ...
    bool hasElse = false;
    TypeName type;
    std::optional<int> style;
    std::size_t begin = 0;
    std::size_t end = 0;
};
using ExprPtr = std::unique_ptr<Expr>;

struct SelectItem {
    ExprPtr expr;                ///< null for a star
    bool star = false;
    std::string starQualifier;   ///< "P" for P.*; empty for *
    std::string alias;
    bool hasAlias = false;
};

struct TableSource {
    enum class Join { None, Inner, Left };
    Join join = Join::None;
    std::string database;        ///< as written
    std::string table;           ///< as written
    std::string alias;           ///< empty when none
    ExprPtr on;
    std::size_t begin = 0;
    std::size_t end = 0;
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

struct Select {
    bool distinct = false;
    std::optional<long long> top;
    std::vector<SelectItem> items;
    std::size_t selectListEnd = 0;
    std::vector<TableSource> from;
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    std::vector<OrderItem> orderBy;
};

/// Parses one T-SQL SELECT. Throws TranslationError for syntax errors (with SQL
/// Server's wording where it has one) and for every construct outside the subset.
std::unique_ptr<Select> parseTsqlSelect(std::string_view tsql);

/// The message for a construct the embedded engine cannot run with SQL Server's meaning.
std::string unsupportedMessage(std::string_view construct);

} // namespace vantik::sqlcompat
