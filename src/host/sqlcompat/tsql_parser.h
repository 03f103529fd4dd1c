#pragma once

#include "host/sqlcompat/tsql_lexer.h"

#include <array>
#include <cstddef>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantik::sqlcompat {

/// The syntax tree of the one statement form the program sends: a SELECT with
/// joins, scalar subqueries, CASE, CAST/CONVERT, a few functions and the aggregates.
/// Everything else is refused while parsing, so the translator never sees it.
///
/// As in T-SQL's grammar, a condition (a comparison, AND, IN, ...) and a value are
/// different things: the parser refuses a condition where a value belongs and the
/// reverse, with SQL Server's messages, so that SQLite never computes a truth value
/// as a number. Nesting is limited (kMaxNesting), so that no statement can exhaust the
/// stack of the recursive descent or of the translator that walks the tree.
///
/// The tree is read once per statement sent to the database, so it is cheap to build:
/// names and literals are views into the statement's text (or into the tree's own
/// store when quotes had to be undone), and expression nodes come from one arena. A
/// tree is valid only while the text it was parsed from lives.

struct Select;
struct Expr;
using ExprPtr = Expr*;  ///< owned by the statement's arena (Select::storage)

/// Qualifier and column of a column reference: one or two parts.
class NameParts {
public:
    std::size_t size() const { return m_count; }
    std::string_view operator[](std::size_t i) const { return m_parts[i]; }
    std::string_view front() const { return m_parts[0]; }
    std::string_view back() const { return m_parts[m_count - 1]; }
    void push_back(std::string_view part) { m_parts[m_count++] = part; }

private:
    std::array<std::string_view, 2> m_parts;
    std::size_t m_count = 0;
};

/// The operands of a node. Nearly every node has at most three, kept in place, so
/// that a tree costs no allocation per operator.
class ExprList {
public:
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    ExprPtr operator[](std::size_t i) const { return data()[i]; }
    ExprPtr back() const { return data()[m_size - 1]; }
    const ExprPtr* begin() const { return data(); }
    const ExprPtr* end() const { return data() + m_size; }
    void push_back(ExprPtr e)
    {
        if (m_size < kInline) {
            m_inline[m_size] = e;
        } else {
            if (m_size == kInline)
                m_more.assign(m_inline.begin(), m_inline.end());
            m_more.push_back(e);
        }
        ++m_size;
    }

private:
    static constexpr std::size_t kInline = 3;
    const ExprPtr* data() const { return m_size <= kInline ? m_inline.data() : m_more.data(); }

    std::array<ExprPtr, kInline> m_inline{};
    std::vector<ExprPtr> m_more;
    std::size_t m_size = 0;
};

struct TypeName {
    std::string name;            ///< lower case: "varchar", "datetime", ...
    std::optional<int> length;   ///< absent when not written; -1 for MAX
};

/// How deep parentheses, NOT, unary signs, CASE, function calls and subqueries may
/// nest. Deeper statements fail with SQL Server's "nested too deeply" message; the limit
/// keeps the parser's and the translator's recursion far inside the smallest stack the
/// program runs on (a sanitizer build's frames included).
inline constexpr int kMaxNesting = 128;
/// SQL Server's own limit on nested CASE expressions.
inline constexpr int kMaxCaseNesting = 10;

struct Expr {
    enum class Kind {
        Column,    ///< names: qualifier parts then the column
        String,    ///< text: the value, quotes removed; unicode for N'...'
        Number,    ///< text: as written; number tells integer, decimal or float
        Null,
        Star,      ///< the * of COUNT(*)
        Negate,    ///< args[0]
        Arithmetic,///< args[0] op[0] args[1] op[1] args[2]...: one operator character per step, all
                   ///< of one precedence (+ - or * / %), evaluated left to right
        Compare,   ///< op: = <> < > <= >=; args[0], args[1]
        And,       ///< args: two or more conditions
        Or,        ///< args: two or more conditions
        Not,       ///< args[0]
        IsNull,    ///< negated for IS NOT NULL
        InList,    ///< args[0] IN (args[1..]), or IN (subquery) when subquery is set
        Like,      ///< args[0] LIKE args[1] [ESCAPE args[2]]
        Between,   ///< args[0] BETWEEN args[1] AND args[2]
        Function,  ///< op: upper-case name; args; distinct for COUNT(DISTINCT x) and the like
        Cast,      ///< args[0] AS type; op "CONVERT" for CONVERT, whose third argument is style
        Case,      ///< args: [operand] (when, then)... [else]
        Subquery,
        Exists,
    };

    /// Whether the node is a condition (true, false or unknown) rather than a value.
    bool isCondition() const
    {
        switch (kind) {
        case Kind::Compare: case Kind::And: case Kind::Or: case Kind::Not: case Kind::IsNull: case Kind::InList:
        case Kind::Like: case Kind::Between: case Kind::Exists:
            return true;
        default:
            return false;
        }
    }

    Kind kind = Kind::Null;
    std::string_view op;      ///< see Kind; for conditions without one, the keyword as written
    std::string_view text;
    NameParts names;
    ExprList args;
    std::unique_ptr<Select> subquery;
    NumberForm number = NumberForm::Integer;
    bool unicode = false;
    bool distinct = false;
    bool negated = false;
    bool hasOperand = false;  ///< CASE x WHEN ...
    bool hasElse = false;
    TypeName type;
    std::optional<int> style; ///< CONVERT's style when written as a number
    bool styleNull = false;   ///< CONVERT's style written as NULL: the result is NULL
    std::size_t opToken = 0;  ///< the token that makes a condition of it (=, AND, LIKE...), for messages
    std::size_t begin = 0;
    std::size_t end = 0;
};

struct SelectItem {
    ExprPtr expr = nullptr;           ///< null for a star
    bool star = false;
    std::string_view starQualifier;   ///< "P" for P.*; empty for *
    std::string_view alias;
    bool hasAlias = false;
};

struct TableSource {
    /// None for the first table; Comma starts a new group of joins: an ON sees only the
    /// tables of its own group, as in SQL Server.
    enum class Join { None, Inner, Left, Comma };
    Join join = Join::None;
    std::string_view database;   ///< as written
    std::string_view table;      ///< as written
    std::string_view alias;      ///< empty when none
    ExprPtr on = nullptr;
    std::size_t begin = 0;
    std::size_t end = 0;
};

struct OrderItem {
    ExprPtr expr = nullptr;
    bool descending = false;
};

/// What the nodes of one statement's tree live in.
struct StatementStorage {
    /// Literals and names whose quotes were undone, upper-cased function names. A list:
    /// it allocates nothing while empty, and its elements never move.
    std::list<std::string> strings;
    /// Each block is filled only up to its reserve, so that nodes never move.
    std::vector<std::vector<Expr>> exprBlocks;
};

struct Select {
    std::unique_ptr<StatementStorage> storage;  ///< set on the outermost SELECT only
    bool distinct = false;
    std::optional<long long> top;
    std::vector<SelectItem> items;
    std::size_t selectListEnd = 0;
    std::vector<TableSource> from;
    ExprPtr where = nullptr;
    std::vector<ExprPtr> groupBy;
    std::vector<OrderItem> orderBy;
};

/// Parses one T-SQL SELECT. Throws TranslationError for syntax errors (with SQL
/// Server's wording where it has one) and for every construct outside the subset.
std::unique_ptr<Select> parseTsqlSelect(std::string_view tsql);

} // namespace vantik::sqlcompat
