#include "host/data/recordset.h"

#include "host/data/database_error.h"
#include "host/data/sql_quote.h"
#include "host/data/statement_shape.h"
#include "host/data/value_text.h"
#include "host/sqlcompat/translator.h"

#include <algorithm>

namespace vantik {

namespace {

const QString kHiddenKeyPrefix = QStringLiteral("__vantik_key_");
const QString kExactPrefix = QStringLiteral("__vantik_exact_");

} // namespace

void Recordset::open(const QString& statement, Connection& connection, CursorType, LockType lock)
{
    if (m_open)
        throw DatabaseError(QStringLiteral("The recordset is already open; close it first."));

    m_connection = &connection;
    m_updatable = false;
    m_readOnlyReason.clear();
    m_statement = statement;
    m_alias.clear();
    m_identifying.clear();
    m_byKey = true;
    m_records.clear();
    m_current = 0;
    m_insertedAny = false;

    QString text = statement;
    const std::vector<sqlcompat::ColumnInfo>* columns = nullptr;
    if (lock == LockType::ReadOnly) {
        m_readOnlyReason = QStringLiteral("The recordset was opened read-only.");
    } else {
        const QByteArray tsql = statement.toUtf8();
        const Analysis& analysis = analyze(std::string_view(tsql.constData(), tsql.size()));
        if (!analysis.select) {
            m_readOnlyReason =
                QStringLiteral("The recordset cannot be updated: %1").arg(QString::fromStdString(analysis.whyNot));
        } else {
            const sqlcompat::SingleTableSelect& select = *analysis.select;
            m_table = TableRef{QString::fromStdString(select.schema), QString::fromStdString(select.table)};
            m_alias = QString::fromStdString(select.alias);
            m_fromOffset = select.selectListEnd;
            columns = &connection.tableColumns(m_table);
            chooseIdentifyingColumns(*columns);
            if (m_identifying.empty()) {
                m_readOnlyReason = QStringLiteral("The table %1 has neither a primary key nor a column that can "
                                                  "tell its rows apart, so its records cannot be saved.")
                                       .arg(m_table.table);
            } else {
                text = withHiddenColumns(hiddenKeyColumns({}));
                m_updatable = true;
            }
        }
    }

    RawResult result = connection.fetch(text);
    if (std::find(result.imprecise.begin(), result.imprecise.end(), true) != result.imprecise.end())
        readAgainExactly(result, columns);
    const int visible = static_cast<int>(result.columnNames.size()) - static_cast<int>(m_identifying.size());
    m_names = result.columnNames.mid(0, visible);
    m_types.assign(result.columnTypes.begin(), result.columnTypes.begin() + visible);
    m_fieldColumns.assign(static_cast<std::size_t>(visible), nullptr);
    if (columns) {
        for (int i = 0; i < visible; ++i) {
            const QByteArray name = m_names.at(i).toUtf8();
            for (const sqlcompat::ColumnInfo& column : *columns) {
                if (sqlcompat::equalsIgnoreCase(column.name, std::string_view(name.constData(), name.size()))) {
                    m_fieldColumns[static_cast<std::size_t>(i)] = &column;
                    break;
                }
            }
        }
    }
    m_rowsRead = result.rows.size();
    m_records.reserve(result.rows.size());
    for (auto& row : result.rows) {
        Record record;
        record.values = std::move(row);
        record.assigned.resize(static_cast<std::size_t>(visible));
        m_records.push_back(std::move(record));
    }
    m_open = true;
}

QString Recordset::qualified(const sqlcompat::ColumnInfo& column) const
{
    const QString name = sqlBracket(QString::fromStdString(column.name));
    return m_alias.isEmpty() ? name : m_alias + QLatin1Char('.') + name;
}

QString Recordset::hiddenKeyColumns(const std::vector<bool>& exact) const
{
    QString hidden;
    for (std::size_t i = 0; i < m_identifying.size(); ++i) {
        const QString column = qualified(*m_identifying[i]);
        hidden += QStringLiteral(", ")
            + (i < exact.size() && exact[i] ? m_connection->exactTextExpression(column) : column)
            + QStringLiteral(" AS ") + sqlBracket(kHiddenKeyPrefix + QString::number(i));
    }
    return hidden;
}

QString Recordset::withHiddenColumns(const QString& hidden) const
{
    // The offset is in UTF-8 bytes of the statement.
    QByteArray text = m_statement.toUtf8();
    text.insert(static_cast<qsizetype>(m_fromOffset), hidden.toUtf8());
    return QString::fromUtf8(text);
}

void Recordset::readAgainExactly(RawResult& result, const std::vector<sqlcompat::ColumnInfo>* columns)
{
    // A save compares every column it checks with the value read, so a value the
    // driver cut (a datetime2's seventh decimal) or gave as bytes (a
    // datetimeoffset) would read as a change by another user: such columns are
    // read again whole, as text, which the server reads back exactly.
    if (m_connection->exactTextExpression(QStringLiteral("x")).isEmpty())
        return;
    if (!columns) {
        const QByteArray tsql = m_statement.toUtf8();
        const Analysis& analysis = analyze(std::string_view(tsql.constData(), tsql.size()));
        if (!analysis.select)
            return; // several tables: the values stay as the driver gives them
        m_table = TableRef{QString::fromStdString(analysis.select->schema), QString::fromStdString(analysis.select->table)};
        m_alias = QString::fromStdString(analysis.select->alias);
        m_fromOffset = analysis.select->selectListEnd;
        columns = &m_connection->tableColumns(m_table);
    }
    const std::size_t keys = m_identifying.size();
    const std::size_t width = static_cast<std::size_t>(result.columnNames.size());
    const std::size_t visible = width - keys;
    std::vector<bool> exactKeys(keys);
    for (std::size_t k = 0; k < keys; ++k)
        exactKeys[k] = result.imprecise.size() > visible + k && result.imprecise[visible + k];
    QString hidden = hiddenKeyColumns(exactKeys);
    std::vector<std::size_t> exactFields;
    std::vector<SqlType> exactTypes;
    for (std::size_t i = 0; i < visible && i < result.imprecise.size(); ++i) {
        if (!result.imprecise[i])
            continue;
        const QByteArray name = result.columnNames.at(static_cast<qsizetype>(i)).toUtf8();
        for (const sqlcompat::ColumnInfo& column : *columns) {
            if (sqlcompat::equalsIgnoreCase(column.name, std::string_view(name.constData(), name.size()))) {
                hidden += QStringLiteral(", ") + m_connection->exactTextExpression(qualified(column))
                    + QStringLiteral(" AS ") + sqlBracket(kExactPrefix + QString::number(exactFields.size()));
                exactFields.push_back(i);
                exactTypes.push_back(column.type);
                break;
            }
        }
    }
    if (exactFields.empty() && std::find(exactKeys.begin(), exactKeys.end(), true) == exactKeys.end())
        return;
    RawResult again = m_connection->fetch(withHiddenColumns(hidden));
    if (static_cast<std::size_t>(again.columnNames.size()) != width + exactFields.size())
        throw DatabaseError(QStringLiteral("The records of %1 could not be read again exactly.").arg(m_table.table));
    for (auto& row : again.rows) {
        for (std::size_t n = 0; n < exactFields.size(); ++n)
            row[exactFields[n]] = row[width + n];
        row.resize(width);
    }
    again.columnNames = again.columnNames.mid(0, static_cast<qsizetype>(width));
    again.columnTypes.resize(width);
    // The text is read as the column's kind: a date and time shown as one.
    for (std::size_t n = 0; n < exactFields.size(); ++n)
        again.columnTypes[exactFields[n]] = exactTypes[n];
    again.imprecise.clear();
    result = std::move(again);
}

void Recordset::chooseIdentifyingColumns(const std::vector<sqlcompat::ColumnInfo>& columns)
{
    std::vector<const sqlcompat::ColumnInfo*> key;
    for (const sqlcompat::ColumnInfo& column : columns) {
        if (column.keyOrdinal > 0)
            key.push_back(&column);
    }
    std::sort(key.begin(), key.end(), [](const auto* a, const auto* b) { return a->keyOrdinal < b->keyOrdinal; });
    m_byKey = !key.empty();
    if (m_byKey) {
        m_identifying = std::move(key);
        return;
    }
    // Without a key a row is known by all it holds, as far as "=" can compare it.
    for (const sqlcompat::ColumnInfo& column : columns) {
        if (column.comparable())
            m_identifying.push_back(&column);
    }
}

const Recordset::Analysis& Recordset::analyze(std::string_view tsql)
{
    // A batch pass opens one statement per row that differs only in an identifier:
    // what was found for the first holds for the others.
    const StatementShape shape = statementShape(tsql);
    if (shape.complete && !shape.key.empty() && shape.key == m_analysis.shapeKey)
        return m_analysis;

    m_analysis = Analysis();
    try {
        m_analysis.select = sqlcompat::analyzeSingleTableSelect(tsql);
    } catch (const sqlcompat::TranslationError& error) {
        m_analysis.whyNot = error.what();
    }
    // The select list's end is an offset: it holds for another statement of the
    // shape only when no literal comes before it.
    const bool offsetHolds = !m_analysis.select || shape.literals.empty()
        || std::size_t(shape.literals.front().data() - tsql.data()) >= m_analysis.select->selectListEnd;
    if (shape.complete && offsetHolds)
        m_analysis.shapeKey = shape.key;
    return m_analysis;
}

bool Recordset::eof() const
{
    return !m_open || m_current >= m_records.size();
}

int Recordset::fieldCount() const
{
    return m_open ? static_cast<int>(m_names.size()) : 0;
}

QString Recordset::fieldName(int index) const
{
    return m_names.value(index);
}

int Recordset::indexOf(const QString& name) const
{
    if (!m_open)
        throw DatabaseError(QStringLiteral("The recordset is not open."));
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw DatabaseError(QStringLiteral("The recordset has no field named '%1'.").arg(name));
}

void Recordset::requireCurrent() const
{
    if (!m_open)
        throw DatabaseError(QStringLiteral("The recordset is not open."));
    if (m_current >= m_records.size())
        throw DatabaseError(QStringLiteral("There is no current record: the recordset is at its end."));
}

QString Recordset::field(const QString& name) const
{
    return field(indexOf(name));
}

QString Recordset::field(int index) const
{
    requireCurrent();
    if (index < 0 || index >= m_names.size())
        throw DatabaseError(QStringLiteral("The recordset has no field number %1.").arg(index));
    const Record& record = m_records[m_current];
    const auto i = static_cast<std::size_t>(index);
    if (record.assigned[i])
        return record.assigned[i]->text;
    return valueText(record.values[i], m_types[i]);
}

bool Recordset::isNull(int index) const
{
    requireCurrent();
    if (index < 0 || index >= m_names.size())
        throw DatabaseError(QStringLiteral("The recordset has no field number %1.").arg(index));
    const Record& record = m_records[m_current];
    const auto i = static_cast<std::size_t>(index);
    if (record.assigned[i])
        return false;
    return record.values[i].isNull() || !record.values[i].isValid();
}

void Recordset::requireWritable(int index) const
{
    requireCurrent();
    if (!m_updatable)
        throw DatabaseError(m_readOnlyReason);
    if (index < 0 || index >= m_names.size())
        throw DatabaseError(QStringLiteral("The recordset has no field number %1.").arg(index));
}

const sqlcompat::ColumnInfo& Recordset::tableColumn(int index) const
{
    // Only a field that is a plain column of the table can be written back; an
    // expression or a count has no column to go to.
    const sqlcompat::ColumnInfo* column = m_fieldColumns[static_cast<std::size_t>(index)];
    if (!column)
        throw DatabaseError(QStringLiteral("The field '%1' is not a column of %2, so it cannot be assigned.")
                                .arg(m_names.at(index), m_table.table));
    if (column->computed)
        throw DatabaseError(QStringLiteral("The column %1 of %2 is computed by the database, so it cannot be assigned.")
                                .arg(m_names.at(index), m_table.table));
    return *column;
}

void Recordset::setField(const QString& name, const QString& value)
{
    setField(indexOf(name), value);
}

void Recordset::setField(int index, const QString& value)
{
    assign(index, Assignment{value, value});
}

void Recordset::setField(const QString& name, const QDateTime& value)
{
    const int index = indexOf(name);
    if (!value.isValid())
        throw DatabaseError(QStringLiteral("The field '%1' was given no valid date and time.").arg(name));
    // ISO 8601 keeps the milliseconds and reads the same everywhere.
    const QString exact = value.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
    assign(index, Assignment{valueText(QVariant(value), SqlType::DateTime), exact});
}

void Recordset::assign(int index, Assignment assignment)
{
    requireWritable(index);
    // Refuse at once what the column cannot take, rather than at the save.
    m_connection->nativeValue(assignment.checked, tableColumn(index));
    m_records[m_current].assigned[static_cast<std::size_t>(index)] = std::move(assignment);
}

QDateTime Recordset::dateTimeField(const QString& name) const
{
    const int index = indexOf(name);
    requireCurrent();
    const Record& record = m_records[m_current];
    const auto i = static_cast<std::size_t>(index);
    return valueDateTime(record.assigned[i] ? QVariant(record.assigned[i]->checked) : record.values[i]);
}

void Recordset::addNew()
{
    if (!m_open)
        throw DatabaseError(QStringLiteral("The recordset is not open."));
    if (!m_updatable)
        throw DatabaseError(m_readOnlyReason);
    Record record;
    record.values.resize(m_names.size() + m_identifying.size());
    record.assigned.resize(static_cast<std::size_t>(m_names.size()));
    record.isNew = true;
    m_records.push_back(std::move(record));
    m_current = m_records.size() - 1;
}

void Recordset::update()
{
    requireCurrent();
    Record& record = m_records[m_current];
    bool any = false;
    for (const auto& value : record.assigned)
        any = any || value.has_value();
    if (!any && !record.isNew)
        return;
    if (!m_updatable)
        throw DatabaseError(m_readOnlyReason);
    if (record.isNew)
        saveNew(record);
    else
        saveChanged(record);
}

void Recordset::moveNext()
{
    requireCurrent();
    ++m_current;
}

void Recordset::close()
{
    m_open = false;
    m_updatable = false;
    m_records.clear();
    m_names.clear();
    m_types.clear();
    m_fieldColumns.clear();
    m_identifying.clear();
    m_current = 0;
    m_connection = nullptr;
}

} // namespace vantik
