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
                QString hidden;
                for (std::size_t i = 0; i < m_identifying.size(); ++i) {
                    hidden += QStringLiteral(", ");
                    if (!m_alias.isEmpty())
                        hidden += m_alias + QLatin1Char('.');
                    hidden += sqlBracket(QString::fromStdString(m_identifying[i]->name)) + QStringLiteral(" AS ")
                        + sqlBracket(kHiddenKeyPrefix + QString::number(i));
                }
                // The offset is in UTF-8 bytes of the statement.
                QByteArray withKey = tsql;
                withKey.insert(static_cast<qsizetype>(select.selectListEnd), hidden.toUtf8());
                text = QString::fromUtf8(withKey);
                m_updatable = true;
            }
        }
    }

    RawResult result = connection.fetch(text);
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
