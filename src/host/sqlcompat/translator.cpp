#include "host/sqlcompat/translator.h"

#include "host/sqlcompat/compat_functions.h"
#include "host/sqlcompat/datetime.h"
#include "host/sqlcompat/tsql_parser.h"

#include <algorithm>
#include <array>

// The translation keeps SQL Server's meaning, not its text:
// - text comparisons, IN lists, BETWEEN, GROUP BY and ORDER BY get the TSQL collation
//   (case and trailing blanks ignored), since SQLite compares bytes;
// - a string literal compared with a datetime column is read here as SQL Server reads it
//   and written in the storage form, so the comparison is one of times, not of texts;
// - '+' becomes '||' when both sides are known texts, stays '+' for known numbers and goes
//   through tsql_add() when the catalog cannot tell;
// - every result column gets an explicit name, because SQLite's own naming of expressions
//   and of columns written in another case differs from SQL Server's;
// - everything whose meaning would change (DISTINCT, '/', CONVERT styles other than 0, ...)
//   is refused rather than approximated.

namespace vantik::sqlcompat {

namespace {

constexpr std::array<std::string_view, 4> kAttachedDatabases = {"patient_data", "build_file", "station", "medicare"};

// Style 0 and the default of CAST/CONVERT give "Jan  5 2024  9:07AM": 19 characters.
constexpr int kStyle0Length = 19;
// CAST(x AS VARCHAR) and CONVERT(VARCHAR, x) without a length mean VARCHAR(30).
constexpr int kDefaultVarcharLength = 30;

[[noreturn]] void unsupported(std::string_view construct)
{
    throw TranslationError(unsupportedMessage(construct));
}

// Joins texts with one allocation: the translation is built for every statement sent,
// and chains of std::string operator+ cost an allocation per step.
template <typename... Parts>
std::string cat(const Parts&... parts)
{
    const std::string_view views[] = {std::string_view(parts)...};
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
    const std::string_view views[] = {std::string_view(rest)...};
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

// Whether a comparison involving a value of this kind may be a comparison of texts.
bool mayBeText(SqlType t)
{
    return t == SqlType::Text || t == SqlType::Unknown;
}

// " COLLATE TSQL" where texts may meet, else nothing.
std::string_view collateIf(bool text)
{
    static const std::string clause = std::string(" COLLATE ") + kCollationName;
    return text ? std::string_view(clause) : std::string_view();
}

void appendCollated(std::string& out, std::string_view sql, bool text)
{
    out.append(sql);
    out.append(collateIf(text));
}

struct Typed {
    std::string sql;
    SqlType type = SqlType::Unknown;
    const Expr* stringLiteral = nullptr;  ///< set when the value is a string literal as written
};

struct ScopeTable {
    std::string_view exposed;      ///< alias or table name, as written
    const TableInfo* info = nullptr;
};

struct Scope {
    std::vector<ScopeTable> tables;
    const Scope* parent = nullptr;
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

// SQL Server reads a string as datetime; an empty or blank string is the zero date 1900-01-01.
std::string storageLiteral(std::string_view text)
{
    const DateParseResult parsed = castStringToDateTime(text);
    if (parsed.status != DateParseStatus::Ok)
        throw TranslationError(parsed.message());
    return quoteString(toStorageText(parsed.value));
}

class Translator {
public:
    Translator(const Catalog& catalog, std::size_t statementLength)
        : m_catalog(catalog)
        , m_statementLength(statementLength)
    {
    }

    SelectResult select(const Select& s, const Scope* parent)
    {
        if (s.distinct)
            unsupported("DISTINCT");

        Scope scope;
        scope.parent = parent;
        scope.tables.reserve(s.from.size());
        for (const TableSource& source : s.from)
            scope.tables.push_back(resolveTable(source));

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

        if (!s.from.empty()) {
            sql += " FROM ";
            for (std::size_t i = 0; i < s.from.size(); ++i) {
                const TableSource& source = s.from[i];
                if (source.join == TableSource::Join::Inner)
                    sql += " INNER JOIN ";
                else if (source.join == TableSource::Join::Left)
                    sql += " LEFT JOIN ";
                appendName(sql, source.database);
                sql += '.';
                appendName(sql, source.table);
                if (!source.alias.empty()) {
                    sql += " AS ";
                    appendName(sql, source.alias);
                }
                if (source.on) {
                    sql += " ON ";
                    sql += expr(*source.on, scope).sql;
                }
            }
        }
        if (s.where) {
            sql += " WHERE ";
            sql += expr(*s.where, scope).sql;
        }
        if (!s.groupBy.empty()) {
            sql += " GROUP BY ";
            for (std::size_t i = 0; i < s.groupBy.size(); ++i) {
                const Typed key = expr(*s.groupBy[i], scope);
                if (i)
                    sql += ", ";
                appendCollated(sql, key.sql, mayBeText(key.type));
            }
        }
        if (!s.orderBy.empty()) {
            sql += " ORDER BY ";
            for (std::size_t i = 0; i < s.orderBy.size(); ++i) {
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

private:
    ScopeTable resolveTable(const TableSource& source)
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

    template <typename AddColumn>
    void expandStar(const SelectItem& item, const Scope& scope, std::string& sql, bool& first, SelectResult& result,
                    AddColumn addColumn)
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
                column.clear();
                appendName(column, t->exposed);
                column += '.';
                appendName(column, c.name);
                addColumn(column, c.name, c.type);
            }
        }
    }

    void appendOrderTerm(std::string& sql, const OrderItem& item, const Scope& scope, const SelectResult& result)
    {
        const Expr& e = *item.expr;
        SqlType type = SqlType::Unknown;
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
            if (matches == 1) {
                appendName(sql, wanted);
                finishOrderTerm(sql, type, item.descending);
                return;
            }
        }
        if (e.kind == Expr::Kind::Number) {
            // ORDER BY n: the n-th result column.
            sql.append(e.text);
            type = SqlType::Integer;
        } else {
            const Typed value = expr(e, scope);
            sql += value.sql;
            type = value.type;
        }
        finishOrderTerm(sql, type, item.descending);
    }

    static void finishOrderTerm(std::string& sql, SqlType type, bool descending)
    {
        appendCollated(sql, {}, mayBeText(type));
        if (descending)
            sql += " DESC";
    }

    SqlType columnType(const Expr& e, const Scope& scope)
    {
        if (e.names.size() == 2) {
            const std::string_view qualifier = e.names[0];
            for (const Scope* s = &scope; s; s = s->parent) {
                for (const ScopeTable& t : s->tables) {
                    if (!equalsIgnoreCase(t.exposed, qualifier))
                        continue;
                    if (!t.info)
                        return SqlType::Unknown;
                    if (const ColumnInfo* c = t.info->column(e.names[1]))
                        return c->type;
                    throw TranslationError(cat("Invalid column name '", e.names[1], "'."));
                }
            }
            throw TranslationError(cat("The multi-part identifier \"", e.names[0], ".", e.names[1],
                                       "\" could not be bound."));
        }
        const std::string_view name = e.names.front();
        for (const Scope* s = &scope; s; s = s->parent) {
            const ColumnInfo* found = nullptr;
            bool uncatalogued = false;
            for (const ScopeTable& t : s->tables) {
                if (!t.info) {
                    uncatalogued = true;
                    continue;
                }
                if (const ColumnInfo* c = t.info->column(name)) {
                    if (found)
                        throw TranslationError(cat("Ambiguous column name '", name, "'."));
                    found = c;
                }
            }
            if (found)
                return found->type;
            if (uncatalogued)
                return SqlType::Unknown;
        }
        throw TranslationError(cat("Invalid column name '", name, "'."));
    }

    // An operand that SQL Server converts to datetime.
    Typed asDateTime(Typed value)
    {
        if (value.stringLiteral) {
            value.sql = storageLiteral(value.stringLiteral->text);
            value.stringLiteral = nullptr;
        } else if (value.type == SqlType::Text) {
            value.sql = around(std::move(value.sql), "tsql_datetime(", ")");
        } else if (isNumeric(value.type)) {
            unsupported("number used as datetime");
        }
        value.type = SqlType::DateTime;
        return value;
    }

    Typed compare(Typed a, Typed b, std::string_view op)
    {
        if (a.type == SqlType::DateTime || b.type == SqlType::DateTime) {
            a = asDateTime(std::move(a));
            b = asDateTime(std::move(b));
        }
        Typed out;
        const bool text = mayBeText(a.type) || mayBeText(b.type);
        out.sql = around(std::move(a.sql), "(", " ", op, " ", b.sql, collateIf(text), ")");
        return out;
    }

    Typed expr(const Expr& e, const Scope& scope)
    {
        Typed out;
        switch (e.kind) {
        case Expr::Kind::Column: {
            out.type = columnType(e, scope);
            out.sql.reserve(e.names.size() == 2 ? e.names[0].size() + e.names[1].size() + 5 : e.names[0].size() + 2);
            for (std::size_t i = 0; i < e.names.size(); ++i) {
                if (i)
                    out.sql += '.';
                appendName(out.sql, e.names[i]);
            }
            return out;
        }
        case Expr::Kind::String:
            out.sql = quoteString(e.text);
            out.type = SqlType::Text;
            out.stringLiteral = &e;
            return out;
        case Expr::Kind::Number:
            out.sql = e.text;
            out.type = e.text.find('.') == std::string_view::npos ? SqlType::Integer : SqlType::Decimal;
            return out;
        case Expr::Kind::Null:
            out.sql = "NULL";
            return out;
        case Expr::Kind::Star:
            unsupported("* outside COUNT(*)");
        case Expr::Kind::Negate: {
            Typed operand = expr(*e.args[0], scope);
            if (!isNumeric(operand.type) && operand.type != SqlType::Unknown)
                unsupported("unary minus on a non-number");
            out.sql = around(std::move(operand.sql), "(-", ")");
            out.type = operand.type;
            return out;
        }
        case Expr::Kind::Arithmetic:
            return arithmetic(e, scope);
        // Comparisons, AND, OR and DATEDIFF translate their right operand first, as they
        // always have, so that a statement with two faults keeps reporting the same one.
        case Expr::Kind::Compare: {
            Typed b = expr(*e.args[1], scope);
            Typed a = expr(*e.args[0], scope);
            return compare(std::move(a), std::move(b), e.op);
        }
        case Expr::Kind::And:
        case Expr::Kind::Or: {
            const Typed b = expr(*e.args[1], scope);
            Typed a = expr(*e.args[0], scope);
            out.sql = around(std::move(a.sql), "(", e.kind == Expr::Kind::And ? " AND " : " OR ", b.sql, ")");
            return out;
        }
        case Expr::Kind::Not:
            out.sql = around(expr(*e.args[0], scope).sql, "(NOT ", ")");
            return out;
        case Expr::Kind::IsNull:
            out.sql = around(expr(*e.args[0], scope).sql, "(", e.negated ? " IS NOT NULL)" : " IS NULL)");
            return out;
        case Expr::Kind::InList:
            return inList(e, scope);
        case Expr::Kind::Like: {
            Typed value = expr(*e.args[0], scope);
            // SQL Server matches a datetime by its style-0 text.
            if (value.type == SqlType::DateTime)
                value.sql = around(std::move(value.sql), "tsql_style0(", ")");
            const Typed pattern = expr(*e.args[1], scope);
            out.sql = around(std::move(value.sql), "(", e.negated ? " NOT LIKE " : " LIKE ", pattern.sql);
            if (e.args.size() > 2) {
                out.sql += " ESCAPE ";
                out.sql += expr(*e.args[2], scope).sql;
            }
            out.sql += ")";
            return out;
        }
        case Expr::Kind::Between: {
            Typed value = expr(*e.args[0], scope);
            Typed low = expr(*e.args[1], scope);
            Typed high = expr(*e.args[2], scope);
            if (value.type == SqlType::DateTime || low.type == SqlType::DateTime || high.type == SqlType::DateTime) {
                value = asDateTime(std::move(value));
                low = asDateTime(std::move(low));
                high = asDateTime(std::move(high));
            }
            const bool text = mayBeText(value.type) || mayBeText(low.type) || mayBeText(high.type);
            out.sql = around(std::move(value.sql), "(", collateIf(text), e.negated ? " NOT BETWEEN " : " BETWEEN ",
                             low.sql, " AND ", high.sql, ")");
            return out;
        }
        case Expr::Kind::Function:
            return function(e, scope);
        case Expr::Kind::Cast:
            return cast(e, scope);
        case Expr::Kind::Case:
            return caseExpr(e, scope);
        case Expr::Kind::Subquery: {
            const Select& sub = *e.subquery;
            if (sub.items.size() != 1 || sub.items.front().star)
                throw TranslationError("Only one expression can be specified in the select list when the subquery "
                                       "is not introduced with EXISTS.");
            SelectResult inner = select(sub, &scope);
            out.type = inner.columns.empty() ? SqlType::Unknown : inner.columns.front().type;
            out.sql = around(std::move(inner.sql), "(", ")");
            return out;
        }
        case Expr::Kind::Exists:
            out.sql = around(select(*e.subquery, &scope).sql, "(EXISTS (", "))");
            return out;
        }
        unsupported("expression");
    }

    Typed arithmetic(const Expr& e, const Scope& scope)
    {
        Typed a = expr(*e.args[0], scope);
        const Typed b = expr(*e.args[1], scope);
        Typed out;
        if (a.type == SqlType::DateTime || b.type == SqlType::DateTime)
            unsupported("datetime arithmetic");
        if (e.op == "/" || e.op == "%")
            unsupported(e.op);  // SQLite gives NULL where SQL Server stops with "Divide by zero"
        const SqlType numericType = (a.type == SqlType::Decimal || b.type == SqlType::Decimal) ? SqlType::Decimal
                                                                                                : SqlType::Integer;
        if (e.op == "+") {
            if (a.type == SqlType::Text && b.type == SqlType::Text) {
                out.sql = around(std::move(a.sql), "(", " || ", b.sql, ")");
                out.type = SqlType::Text;
            } else if (isNumeric(a.type) && isNumeric(b.type)) {
                out.sql = around(std::move(a.sql), "(", " + ", b.sql, ")");
                out.type = numericType;
            } else {
                out.sql = around(std::move(a.sql), "tsql_add(", ", ", b.sql, ")");
            }
            return out;
        }
        if (a.type == SqlType::Text || b.type == SqlType::Text)
            unsupported(cat(e.op, " on text"));
        out.type = isNumeric(a.type) && isNumeric(b.type) ? numericType : SqlType::Unknown;
        out.sql = around(std::move(a.sql), "(", " ", e.op, " ", b.sql, ")");
        return out;
    }

    Typed inList(const Expr& e, const Scope& scope)
    {
        Typed value = expr(*e.args[0], scope);
        std::vector<Typed> items;
        items.reserve(e.args.size() - 1);
        bool dates = value.type == SqlType::DateTime;
        for (std::size_t i = 1; i < e.args.size(); ++i) {
            items.push_back(expr(*e.args[i], scope));
            dates = dates || items.back().type == SqlType::DateTime;
        }
        bool text = false;
        if (dates)
            value = asDateTime(std::move(value));
        text = mayBeText(value.type);
        std::string list;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (dates)
                items[i] = asDateTime(std::move(items[i]));
            text = text || mayBeText(items[i].type);
            if (i)
                list += ", ";
            list += items[i].sql;
        }
        // SQLite compares an IN list with the left operand's collation.
        Typed out;
        out.sql = around(std::move(value.sql), "(", collateIf(text), e.negated ? " NOT IN (" : " IN (", list, "))");
        return out;
    }

    Typed function(const Expr& e, const Scope& scope)
    {
        Typed out;
        auto arity = [&](std::size_t n) {
            if (e.args.size() != n)
                throw TranslationError(cat("The ", e.op, " function requires ", std::to_string(n), " argument(s)."));
        };
        if (e.op == "COUNT") {
            arity(1);
            if (e.args[0]->kind == Expr::Kind::Star)
                out.sql = "count(*)";
            else
                out.sql = around(expr(*e.args[0], scope).sql, "count(", ")");
            out.type = SqlType::Integer;
            return out;
        }
        if (e.op == "DATEDIFF") {
            arity(3);
            const Expr& part = *e.args[0];
            const std::string_view unit = part.kind == Expr::Kind::Column && part.names.size() == 1
                ? part.names.front()
                : std::string_view();
            if (!equalsIgnoreCase(unit, "day") && !equalsIgnoreCase(unit, "dd") && !equalsIgnoreCase(unit, "d")) {
                if (unit.empty())
                    throw TranslationError("Invalid parameter 1 specified for datediff.");
                unsupported(cat("DATEDIFF(", part.names.front(), ", ...)"));
            }
            const Typed b = asDateTime(expr(*e.args[2], scope));
            Typed a = asDateTime(expr(*e.args[1], scope));
            out.sql = around(std::move(a.sql), "tsql_datediff_day(", ", ", b.sql, ")");
            out.type = SqlType::Integer;
            return out;
        }
        if (e.op == "MONTH" || e.op == "YEAR") {
            arity(1);
            out.sql = around(asDateTime(expr(*e.args[0], scope)).sql, e.op == "MONTH" ? "tsql_month(" : "tsql_year(",
                             ")");
            out.type = SqlType::Integer;
            return out;
        }
        unsupported(cat(e.op, "()"));
    }

    Typed cast(const Expr& e, const Scope& scope)
    {
        Typed value = expr(*e.args[0], scope);
        const std::string& target = e.type.name;
        const bool isConvert = e.op == "CONVERT";
        Typed out;
        if (target == "varchar" || target == "nvarchar") {
            if (e.style && *e.style != 0)
                unsupported("CONVERT style " + std::to_string(*e.style));
            const int length = e.type.length.value_or(kDefaultVarcharLength);  // -1: MAX
            std::string text;
            if (value.type == SqlType::DateTime || value.type == SqlType::Unknown) {
                // Datetimes become text in style 0, the default of CAST and CONVERT.
                if (length >= 0 && (length < kStyle0Length || value.type == SqlType::Unknown))
                    text = around(std::move(value.sql), "tsql_varchar(tsql_style0(", "), ", std::to_string(length), ")");
                else
                    text = around(std::move(value.sql), "tsql_style0(", ")");
            } else {
                // tsql_varchar keeps the server's "*" for an integer too long for the target.
                text = around(std::move(value.sql), "tsql_varchar(", ", ", std::to_string(length), ")");
            }
            out.sql = std::move(text);
            out.type = SqlType::Text;
            return out;
        }
        if (target == "datetime") {
            if (e.style && *e.style != 0 && *e.style != 100)
                unsupported("CONVERT style " + std::to_string(*e.style));
            return asDateTime(std::move(value));
        }
        unsupported((isConvert ? "CONVERT to " : "CAST AS ") + target);
    }

    Typed caseExpr(const Expr& e, const Scope& scope)
    {
        std::size_t i = 0;
        std::optional<Typed> operand;
        if (e.hasOperand)
            operand = expr(*e.args[i++], scope);
        const std::size_t pairsEnd = e.args.size() - (e.hasElse ? 1 : 0);
        Typed out;
        out.sql = "(CASE";
        auto takeType = [&](const Typed& v) {
            if (out.type == SqlType::Unknown)
                out.type = v.type;
        };
        for (; i + 1 < pairsEnd; i += 2) {
            const Typed condition = operand ? compare(*operand, expr(*e.args[i], scope), "=") : expr(*e.args[i], scope);
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
        }
        out.sql += " END)";
        return out;
    }

    const Catalog& m_catalog;
    std::size_t m_statementLength;
};

} // namespace

Translation translateTsql(std::string_view tsql, const Catalog& catalog)
{
    const std::unique_ptr<Select> parsed = parseTsqlSelect(tsql);
    Translator translator(catalog, tsql.size());
    SelectResult result = translator.select(*parsed, nullptr);

    Translation translation;
    translation.sql = std::move(result.sql);
    translation.returnsRows = true;
    if (result.columnsKnown) {
        translation.columnNames.reserve(result.columns.size());
        translation.columnTypes.reserve(result.columns.size());
        for (OutputColumn& column : result.columns) {
            translation.columnNames.push_back(std::move(column.name));
            translation.columnTypes.push_back(column.type);
        }
    }
    return translation;
}

namespace {

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

} // namespace

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
        grouped = grouped || (item.expr && holdsAggregate(*item.expr));
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
