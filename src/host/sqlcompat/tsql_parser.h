#pragma once

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
/// joins, scalar subqueries, CASE, CAST/CONVERT and a few functions. Everything
/// else is refused while parsing, so the translator never sees it.
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
    std::string_view op;
    std::string_view text;
    NameParts names;
    ExprList args;
    std::unique_ptr<Select> subquery;
    bool negated = false;
    bool hasOperand = false;  ///< CASE x WHEN ...
    bool hasElse = false;
    TypeName type;
    std::optional<int> style;
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
    enum class Join { None, Inner, Left };
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

/// The message for a construct the embedded engine cannot run with SQL Server's meaning.
std::string unsupportedMessage(std::string_view construct);

} // namespace vantik::sqlcompat
