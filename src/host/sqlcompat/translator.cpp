#include "host/sqlcompat/translator.h"

#include "host/sqlcompat/compat_functions.h"
#include "host/sqlcompat/translator_impl.h"
#include "host/sqlcompat/tsql_parser.h"

#include <algorithm>
#include <array>

// The translation keeps SQL Server's meaning, not its text:
// - text comparisons, IN lists, BETWEEN, GROUP BY, ORDER BY, MIN/MAX and DISTINCT
//   aggregates get the TSQL collation (case and trailing blanks ignored), since SQLite
//   compares bytes;
// - a string literal compared with a datetime column is read here as SQL Server reads it
//   and written in the storage form, so the comparison is one of times, not of texts;
// - '+' becomes '||' when both sides are known texts, stays '+' for known numbers and goes
//   through tsql_add() when the catalog cannot tell; int arithmetic that may leave the int
//   range is checked as the server checks it;
// - every result column gets an explicit name, because SQLite's own naming of expressions
//   and of columns written in another case differs from SQL Server's;
// - what SQLite would accept but SQL Server refuses (a column neither grouped nor
//   aggregated, an aggregate in WHERE, ORDER BY in a subquery without TOP, two tables
//   under one name) fails with SQL Server's message;
// - everything whose meaning would change (DISTINCT, '/', CONVERT styles other than 0, ...)
//   is refused rather than approximated.

namespace vantik::sqlcompat {

namespace detail {

namespace {

constexpr std::array<std::string_view, 4> kAttachedDatabases = {"patient_data", "build_file", "station", "medicare"};

bool holdsAggregate(const Expr& expr)
{
    if (expr.kind == Expr::Kind::Function
        && (expr.op == "COUNT" || expr.op == "SUM" || expr.op == "MIN" || expr.op == "MAX" || expr.op == "AVG"))
        return true;
    for (const ExprPtr& arg : expr.args) {
        if (arg && holdsAggregate(*arg))
            return true;
    }
    return false;
}

bool holdsColumn(const Expr& expr)
{
    if (expr.kind == Expr::Kind::Column || expr.subquery)
        return true;
    for (const ExprPtr& arg : expr.args) {
        if (arg && holdsColumn(*arg))
            return true;
    }
    return false;
}

// An ORDER BY item of neither column nor aggregate, other than a whole number (a
// position): SQL Server refuses it, and SQLite would read "- -1" as position 1.
bool isConstantOrderItem(const Expr& e)
{
    if (e.kind == Expr::Kind::Number && e.number == NumberForm::Integer)
        return false;
    return !holdsColumn(e) && !holdsAggregate(e);
}

// Restores the translator's per-SELECT state when a nested SELECT is done.
template <typename T>
class Keep {
public:
    explicit Keep(T& value)
        : m_value(value)
        , m_saved(value)
    {
    }
    ~Keep() { m_value = m_saved; }
    Keep(const Keep&) = delete;
    Keep& operator=(const Keep&) = delete;

private:
    T& m_value;
    T m_saved;
};

} // namespace

SelectResult Translator::select(const Select& s, const Scope* parent)
{
    if (s.distinct)
        unsupported("DISTINCT");
    if (parent && !s.orderBy.empty() && !s.top)
        throw TranslationError("The ORDER BY clause is invalid in views, inline functions, derived tables, "
                               "subqueries, and common table expressions, unless TOP, OFFSET or FOR XML is also "
                               "specified.");
    const Keep<AggregatePlace> keepPlace(m_aggregatePlace);
    const Keep<std::optional<GroupCheck>> keepCheck(m_groupCheck);
    const Keep<int> keepGrouped(m_groupedDepth);
    const Keep<bool> keepQualify(m_qualifyColumns);
    const std::optional<GroupCheck> inherited = m_groupCheck;
    m_aggregatePlace = AggregatePlace::Allowed;
    m_groupedDepth = 0;
    m_qualifyColumns = false;

    Scope scope;
    scope.parent = parent;
    scope.tables.reserve(s.from.size());
    for (const TableSource& source : s.from)
        scope.tables.push_back(resolveTable(source));
    checkExposedNames(s, scope);

    bool grouped = !s.groupBy.empty();
    for (const SelectItem& item : s.items)
        grouped = grouped || (item.expr && holdsAggregate(*item.expr));
    for (const OrderItem& item : s.orderBy)
        grouped = grouped || holdsAggregate(*item.expr);
    auto groupCheck = [&](const char* clause) {
        return grouped ? std::optional<GroupCheck>(GroupCheck{&scope, &s.groupBy, clause}) : inherited;
    };

    SelectResult result;
    result.columns.reserve(s.items.size());
    std::string sql;
    // The outer SELECT comes out somewhat longer than the statement (quoted names, aliases).
    sql.reserve(parent ? 128 : m_statementLength + m_statementLength / 2 + 64);
    sql += "SELECT ";
    bool first = true;
    auto addColumn = [&](std::string_view expression, std::string_view name, SqlType type) {
        if (!first)
            sql += ", ";
        first = false;
        sql.append(expression);
        sql += " AS ";
        appendQuoted(sql, name, '"');
        result.columns.push_back({std::string(name), type});
    };

    m_groupCheck = groupCheck("select list");
    for (const SelectItem& item : s.items) {
        if (item.star) {
            expandStar(item, scope, sql, first, result, addColumn);
            continue;
        }
        const Typed value = expr(*item.expr, scope);
        std::string_view name;
        if (item.hasAlias)
            name = item.alias;
        else if (item.expr->kind == Expr::Kind::Column)
            name = item.expr->names.back();
        addColumn(value.sql, name, value.type);
    }

    m_groupCheck = inherited;
    appendFrom(sql, s, scope);
    if (s.where) {
        m_aggregatePlace = AggregatePlace::Where;
        sql += " WHERE ";
        sql += expr(*s.where, scope).sql;
        m_aggregatePlace = AggregatePlace::Allowed;
    }
    if (!s.groupBy.empty()) {
        m_aggregatePlace = AggregatePlace::GroupBy;
        sql += " GROUP BY ";
        for (std::size_t i = 0; i < s.groupBy.size(); ++i) {
            std::string key = collated(expr(*s.groupBy[i], scope));
            if (!holdsColumn(*s.groupBy[i]))
                throw TranslationError("Each GROUP BY expression must contain at least one column that is not an "
                                       "outer reference.");
            if (i)
                sql += ", ";
            sql += key;
        }
        m_aggregatePlace = AggregatePlace::Allowed;
    }
    if (!s.orderBy.empty()) {
        m_groupCheck = groupCheck("ORDER BY clause");
        sql += " ORDER BY ";
        for (std::size_t i = 0; i < s.orderBy.size(); ++i) {
            if (isConstantOrderItem(*s.orderBy[i].expr))
                throw TranslationError("A constant expression was encountered in the ORDER BY list, position "
                                       + std::to_string(i + 1) + ".");
            if (i)
                sql += ", ";
            appendOrderTerm(sql, s.orderBy[i], scope, result);
        }
    }
    if (s.top) {
        sql += " LIMIT ";
        sql += std::to_string(*s.top);
    }
    result.sql = std::move(sql);
    return result;
}

ScopeTable Translator::resolveTable(const TableSource& source)
{
    const bool attached = std::any_of(kAttachedDatabases.begin(), kAttachedDatabases.end(),
                                      [&](std::string_view name) { return equalsIgnoreCase(name, source.database); });
    if (!attached)
        throw TranslationError(cat("Database '", source.database,
                                   "' does not exist. Make sure that the name is entered correctly."));
    ScopeTable table;
    table.exposed = source.alias.empty() ? source.table : source.alias;
    table.info = m_catalog.find(source.database, source.table);
    if (!table.info && !m_catalog.empty())
        throw TranslationError(cat("Invalid object name '", source.database, "..", source.table, "'."));
    return table;
}

// SQLite would take "a, a" or two tables of one name from two databases and resolve
// their columns its own way; SQL Server refuses both.
void Translator::checkExposedNames(const Select& s, const Scope& scope) const
{
    for (std::size_t i = 1; i < scope.tables.size(); ++i) {
        for (std::size_t k = 0; k < i; ++k) {
            if (!equalsIgnoreCase(scope.tables[i].exposed, scope.tables[k].exposed))
                continue;
            const TableSource& later = s.from[i];
            const TableSource& earlier = s.from[k];
            if (!later.alias.empty())
                throw TranslationError(cat("The correlation name '", later.alias,
                                           "' is specified multiple times in a FROM clause."));
            throw TranslationError(cat("The objects \"", later.database, "..", later.table, "\" and \"",
                                       earlier.database, "..", earlier.table,
                                       "\" in the FROM clause have the same exposed names. Use correlation names to "
                                       "distinguish them."));
        }
    }
}

template <typename AddColumn>
void Translator::expandStar(const SelectItem& item, const Scope& scope, std::string& sql, bool& first,
                            SelectResult& result, AddColumn addColumn)
{
    std::vector<const ScopeTable*> tables;
    for (const ScopeTable& t : scope.tables) {
        if (item.starQualifier.empty() || equalsIgnoreCase(t.exposed, item.starQualifier))
            tables.push_back(&t);
    }
    if (tables.empty()) {
        if (item.starQualifier.empty())
            throw TranslationError("Must specify table to select from.");
        throw TranslationError(cat("The object name '", item.starQualifier,
                                   "' is not valid in the select list, or the table is not in the FROM clause."));
    }
    std::string column;
    for (const ScopeTable* t : tables) {
        if (!t->info) {
            // No catalog: the engine names the columns itself.
            if (!first)
                sql += ", ";
            first = false;
            appendName(sql, t->exposed);
            sql += ".*";
            result.columnsKnown = false;
            continue;
        }
        for (const ColumnInfo& c : t->info->columns) {
            if (m_groupCheck && m_groupCheck->scope == &scope) {
                bool isGrouped = false;
                for (const ExprPtr& key : *m_groupCheck->groupBy) {
                    if (key->kind != Expr::Kind::Column)
                        continue;
                    const std::optional<Resolved> r = resolve(*key, scope);
                    isGrouped = isGrouped || (r && r->table == t && r->column == &c);
                }
                if (!isGrouped)
                    throw TranslationError(cat("Column '", t->exposed, ".", c.name,
                                               "' is invalid in the select list because it is not contained in "
                                               "either an aggregate function or the GROUP BY clause."));
            }
            column.clear();
            appendName(column, t->exposed);
            column += '.';
            appendName(column, c.name);
            addColumn(column, c.name, c.type);
        }
    }
}

// "a, b JOIN c ON ..." is "a, (b JOIN c ON ...)" to SQL Server: an ON sees the tables of
// its own group only. SQLite reads it left to right, which gives the same rows once the
// ON's columns are named with their tables.
void Translator::appendFrom(std::string& sql, const Select& s, const Scope& scope)
{
    if (s.from.empty())
        return;
    sql += " FROM ";
    std::size_t groupStart = 0;
    for (std::size_t i = 0; i < s.from.size(); ++i) {
        const TableSource& source = s.from[i];
        switch (source.join) {
        case TableSource::Join::None:
            break;
        case TableSource::Join::Comma:
            groupStart = i;
            sql += ", ";
            break;
        case TableSource::Join::Inner:
            sql += " INNER JOIN ";
            break;
        case TableSource::Join::Left:
            sql += " LEFT JOIN ";
            break;
        }
        appendName(sql, source.database);
        sql += '.';
        appendName(sql, source.table);
        if (!source.alias.empty()) {
            sql += " AS ";
            appendName(sql, source.alias);
        }
        if (source.on) {
            Scope joined;
            joined.parent = scope.parent;
            joined.tables.assign(scope.tables.begin() + static_cast<std::ptrdiff_t>(groupStart),
                                 scope.tables.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            const Keep<AggregatePlace> keepPlace(m_aggregatePlace);
            const Keep<bool> keepQualify(m_qualifyColumns);
            m_aggregatePlace = AggregatePlace::On;
            m_qualifyColumns = true;
            sql += " ON ";
            sql += expr(*source.on, joined).sql;
        }
    }
}

void Translator::appendOrderTerm(std::string& sql, const OrderItem& item, const Scope& scope,
                                 const SelectResult& result)
{
    const Expr& e = *item.expr;
    SqlType type = SqlType::Unknown;
    std::string term;
    if (e.kind == Expr::Kind::Column && e.names.size() == 1) {
        // A bare name first means a result column, as in SQL Server.
        const std::string_view wanted = e.names.front();
        int matches = 0;
        for (const OutputColumn& column : result.columns) {
            if (equalsIgnoreCase(column.name, wanted)) {
                ++matches;
                type = column.type;
            }
        }
        if (matches > 1)
            throw TranslationError(cat("Ambiguous column name '", wanted, "'."));
        if (matches == 1)
            appendName(term, wanted);
    }
    if (term.empty() && e.kind == Expr::Kind::Number) {
        // ORDER BY n: the n-th result column.
        long long position = 0;
        for (const char c : e.text)
            position = position < 100000 ? position * 10 + (c - '0') : position;
        if (result.columnsKnown && (position < 1 || position > static_cast<long long>(result.columns.size())))
            throw TranslationError(cat("The ORDER BY position number ", e.text,
                                       " is out of range of the number of items in the select list."));
        term = e.text;
        if (result.columnsKnown)
            type = result.columns[static_cast<std::size_t>(position - 1)].type;
    }
    Typed value;
    if (term.empty()) {
        value = expr(e, scope);
    } else {
        value.sql = std::move(term);
        value.type = type;
    }
    sql += collated(std::move(value));
    if (item.descending)
        sql += " DESC";
}

std::optional<Resolved> Translator::resolve(const Expr& e, const Scope& scope) const
{
    if (e.names.size() == 2) {
        const std::string_view qualifier = e.names[0];
        for (const Scope* s = &scope; s; s = s->parent) {
            for (const ScopeTable& t : s->tables) {
                if (!equalsIgnoreCase(t.exposed, qualifier))
                    continue;
                if (!t.info)
                    return Resolved{s, nullptr, nullptr, SqlType::Unknown};
                if (const ColumnInfo* c = t.info->column(e.names[1]))
                    return Resolved{s, &t, c, c->type};
                throw TranslationError(cat("Invalid column name '", e.names[1], "'."));
            }
        }
        throw TranslationError(cat("The multi-part identifier \"", e.names[0], ".", e.names[1],
                                   "\" could not be bound."));
    }
    const std::string_view name = e.names.front();
    for (const Scope* s = &scope; s; s = s->parent) {
        Resolved found;
        bool uncatalogued = false;
        for (const ScopeTable& t : s->tables) {
            if (!t.info) {
                uncatalogued = true;
                continue;
            }
            if (const ColumnInfo* c = t.info->column(name)) {
                if (found.column)
                    throw TranslationError(cat("Ambiguous column name '", name, "'."));
                found = Resolved{s, &t, c, c->type};
            }
        }
        if (found.column)
            return found;
        if (uncatalogued)
            return Resolved{s, nullptr, nullptr, SqlType::Unknown};
    }
    throw TranslationError(cat("Invalid column name '", name, "'."));
}

// Whether two expressions of one SELECT are the same, as SQL Server matches a select-list
// expression with a GROUP BY expression: columns by what they resolve to, the rest by form.
bool Translator::sameExpression(const Expr& a, const Expr& b, const Scope& scope) const
{
    if (a.kind != b.kind || a.op != b.op || a.args.size() != b.args.size() || a.negated != b.negated
        || a.distinct != b.distinct || a.subquery || b.subquery)
        return false;
    switch (a.kind) {
    case Expr::Kind::Column: {
        const std::optional<Resolved> ra = resolve(a, scope);
        const std::optional<Resolved> rb = resolve(b, scope);
        if (ra && rb && ra->column && rb->column)
            return ra->table == rb->table && ra->column == rb->column;
        if (a.names.size() != b.names.size())
            return false;
        for (std::size_t i = 0; i < a.names.size(); ++i) {
            if (!equalsIgnoreCase(a.names[i], b.names[i]))
                return false;
        }
        return true;
    }
    case Expr::Kind::String:
        return a.text == b.text && a.unicode == b.unicode;
    case Expr::Kind::Number:
        return a.text == b.text;
    case Expr::Kind::Cast:
        if (a.type.name != b.type.name || a.type.length != b.type.length || a.style != b.style
            || a.styleNull != b.styleNull)
            return false;
        break;
    case Expr::Kind::Case:
        if (a.hasOperand != b.hasOperand || a.hasElse != b.hasElse)
            return false;
        break;
    default:
        break;
    }
    for (std::size_t i = 0; i < a.args.size(); ++i) {
        if (!sameExpression(*a.args[i], *b.args[i], scope))
            return false;
    }
    return true;
}

bool Translator::isGroupedExpression(const Expr& e) const
{
    for (const ExprPtr& key : *m_groupCheck->groupBy) {
        if (sameExpression(e, *key, *m_groupCheck->scope))
            return true;
    }
    return false;
}

void Translator::checkGroupedColumn(const Expr& e, const Resolved& resolved) const
{
    if (!m_groupCheck || m_groupedDepth > 0 || m_aggregatePlace == AggregatePlace::InAggregate
        || resolved.scope != m_groupCheck->scope || !resolved.table)
        return;
    if (isGroupedExpression(e))
        return;
    throw TranslationError(cat("Column '", resolved.table->exposed, ".", resolved.column->name, "' is invalid in the ",
                               m_groupCheck->clause,
                               " because it is not contained in either an aggregate function or the GROUP BY "
                               "clause."));
}

} // namespace detail

Translation translateTsql(std::string_view tsql, const Catalog& catalog)
{
    const std::unique_ptr<Select> parsed = parseTsqlSelect(tsql);
    detail::Translator translator(catalog, tsql.size());
    detail::SelectResult result = translator.select(*parsed, nullptr);

    Translation translation;
    translation.sql = std::move(result.sql);
    translation.returnsRows = true;
    if (result.columnsKnown) {
        translation.columnNames.reserve(result.columns.size());
        translation.columnTypes.reserve(result.columns.size());
        for (detail::OutputColumn& column : result.columns) {
            translation.columnNames.push_back(std::move(column.name));
            translation.columnTypes.push_back(column.type);
        }
    }
    return translation;
}

SingleTableSelect analyzeSingleTableSelect(std::string_view tsql)
{
    const std::unique_ptr<Select> parsed = parseTsqlSelect(tsql);
    if (parsed->from.empty())
        throw TranslationError("The statement reads no table, so its rows cannot be updated.");
    if (parsed->from.size() > 1)
        throw TranslationError("The statement joins tables, so its rows cannot be updated.");
    // A row of a grouped or counted result stands for no single record.
    bool grouped = parsed->distinct || !parsed->groupBy.empty();
    for (const SelectItem& item : parsed->items)
        grouped = grouped || (item.expr && detail::holdsAggregate(*item.expr));
    if (grouped)
        throw TranslationError("The statement groups or counts rows, so its rows cannot be updated.");
    const TableSource& source = parsed->from.front();
    SingleTableSelect out;
    out.schema = std::string(source.database);
    out.table = std::string(source.table);
    out.alias = std::string(source.alias);
    out.selectStar = parsed->items.size() == 1 && parsed->items.front().star;
    out.selectListEnd = parsed->selectListEnd;
    return out;
}

} // namespace vantik::sqlcompat
