#include "host/data/recordset.h"

#include "host/data/database_error.h"
#include "host/data/sql_quote.h"
#include "host/data/statement_shape.h"
#include "host/data/value_text.h"
#include "host/sqlcompat/translator.h"

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
    m_keyColumns.clear();
    m_records.clear();
    m_current = 0;

    QString text = statement;
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
            m_keyColumns = connection.primaryKey(m_table);
            if (m_keyColumns.isEmpty()) {
                m_readOnlyReason =
                    QStringLiteral("The table %1 has no primary key, so its records cannot be saved.").arg(m_table.table);
            } else {
                QString hidden;
                for (int i = 0; i < m_keyColumns.size(); ++i) {
                    hidden += QStringLiteral(", ");
                    if (!select.alias.empty())
                        hidden += QString::fromStdString(select.alias) + QLatin1Char('.');
                    hidden += sqlBracket(m_keyColumns.at(i)) + QStringLiteral(" AS ") + sqlBracket(kHiddenKeyPrefix + QString::number(i));
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
    const int hiddenCount = m_updatable ? static_cast<int>(m_keyColumns.size()) : 0;
    const int visible = static_cast<int>(result.columnNames.size()) - hiddenCount;
    m_names = result.columnNames.mid(0, visible);
    m_types.assign(result.columnTypes.begin(), result.columnTypes.begin() + visible);
    m_columnTypes.assign(static_cast<std::size_t>(visible), std::nullopt);
    m_records.reserve(result.rows.size());
    for (auto& row : result.rows) {
        Record record;
        record.values = std::move(row);
        record.assigned.resize(static_cast<std::size_t>(visible));
        m_records.push_back(std::move(record));
    }
    m_open = true;
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
        return *record.assigned[i];
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

SqlType Recordset::tableColumnType(int index) const
{
    // Only a field that is a plain column of the table can be written back; an
    // expression or a count has no column to go to. Each field is looked up once
    // per open: a record's fields are checked when assigned and again when saved.
    const QString& column = m_names.at(index);
    auto& known = m_columnTypes[static_cast<std::size_t>(index)];
    if (!known)
        known = m_connection->columnType(m_table, column);
    const std::optional<SqlType>& type = *known;
    if (!type)
        throw DatabaseError(
            QStringLiteral("The field '%1' is not a column of %2, so it cannot be assigned.").arg(column, m_table.table));
    return *type;
}

void Recordset::setField(const QString& name, const QString& value)
{
    setField(indexOf(name), value);
}

void Recordset::setField(int index, const QString& value)
{
    requireWritable(index);
    const QString& column = m_names.at(index);
    // Refuse at once what the column cannot take, rather than at the save.
    m_connection->nativeValue(value, tableColumnType(index), column);
    m_records[m_current].assigned[static_cast<std::size_t>(index)] = value;
}

void Recordset::addNew()
{
    if (!m_open)
        throw DatabaseError(QStringLiteral("The recordset is not open."));
    if (!m_updatable)
        throw DatabaseError(m_readOnlyReason);
    Record record;
    record.values.resize(m_names.size() + m_keyColumns.size());
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

void Recordset::saveNew(Record& record)
{
    QStringList columns;
    QStringList marks;
    QVariantList values;
    std::vector<QVariant> written(record.assigned.size());
    for (std::size_t i = 0; i < record.assigned.size(); ++i) {
        if (!record.assigned[i])
            continue;
        const QString& column = m_names.at(static_cast<int>(i));
        written[i] = m_connection->nativeValue(*record.assigned[i], tableColumnType(static_cast<int>(i)), column);
        columns << m_connection->nativeColumnName(column);
        marks << QStringLiteral("?");
        values << written[i];
    }
    QString sql = QStringLiteral("INSERT INTO %1").arg(m_connection->nativeTableName(m_table));
    sql += columns.isEmpty() ? QStringLiteral(" DEFAULT VALUES")
                             : QStringLiteral(" (%1) VALUES (%2)").arg(columns.join(QStringLiteral(", ")),
                                                                       marks.join(QStringLiteral(", ")));
    m_connection->executeNative(sql, values);

    // What was written becomes what was read, so a further save of this record
    // finds it: the key is the assigned one, or the one the database generated.
    for (std::size_t i = 0; i < record.assigned.size(); ++i) {
        if (record.assigned[i])
            record.values[i] = written[i];
        record.assigned[i].reset();
    }
    for (int k = 0; k < m_keyColumns.size(); ++k) {
        QVariant key;
        const int visible = static_cast<int>(m_names.size());
        for (int i = 0; i < visible; ++i) {
            if (m_names.at(i).compare(m_keyColumns.at(k), Qt::CaseInsensitive) == 0)
                key = record.values[static_cast<std::size_t>(i)];
        }
        if (key.isNull() && m_keyColumns.size() == 1)
            key = m_connection->lastInsertedKey();
        record.values[static_cast<std::size_t>(visible + k)] = key;
    }
    record.isNew = false;
}

void Recordset::saveChanged(Record& record)
{
    QStringList sets;
    QStringList conditions;
    QVariantList setValues;
    QVariantList conditionValues;
    const QString exact = m_connection->exactTextComparison();
    for (int k = 0; k < m_keyColumns.size(); ++k) {
        const QVariant& key = record.values[static_cast<std::size_t>(m_names.size() + k)];
        if (key.isNull())
            throw DatabaseError(QStringLiteral("The record has no key value, so it cannot be saved."));
        conditions << m_connection->nativeColumnName(m_keyColumns.at(k)) + QStringLiteral(" = ?");
        conditionValues << key;
    }
    std::vector<QVariant> written(record.assigned.size());
    for (std::size_t i = 0; i < record.assigned.size(); ++i) {
        if (!record.assigned[i])
            continue;
        const QString& column = m_names.at(static_cast<int>(i));
        const QString native = m_connection->nativeColumnName(column);
        written[i] = m_connection->nativeValue(*record.assigned[i], tableColumnType(static_cast<int>(i)), column);
        sets << native + QStringLiteral(" = ?");
        setValues << written[i];
        const QVariant& read = record.values[i];
        if (read.isNull()) {
            conditions << native + QStringLiteral(" IS NULL");
        } else {
            QString condition = native + QStringLiteral(" = ?");
            if (!exact.isEmpty() && read.typeId() == QMetaType::QString)
                condition += QLatin1Char(' ') + exact;
            conditions << condition;
            conditionValues << read;
        }
    }
    if (m_criteria == UpdateCriteria::AllColumns) {
        for (std::size_t i = 0; i < record.assigned.size(); ++i) {
            if (record.assigned[i])
                continue;
            const QString& column = m_names.at(static_cast<int>(i));
            auto& known = m_columnTypes[i];
            if (!known)
                known = m_connection->columnType(m_table, column);
            if (!*known || **known == SqlType::Unknown)
                continue;
            const QString native = m_connection->nativeColumnName(column);
            const QVariant& read = record.values[i];
            if (read.isNull()) {
                conditions << native + QStringLiteral(" IS NULL");
            } else {
                QString condition = native + QStringLiteral(" = ?");
                if (!exact.isEmpty() && read.typeId() == QMetaType::QString)
                    condition += QLatin1Char(' ') + exact;
                conditions << condition;
                conditionValues << read;
            }
        }
    }
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                            .arg(m_connection->nativeTableName(m_table), sets.join(QStringLiteral(", ")),
                                 conditions.join(QStringLiteral(" AND ")));
    const int changed = m_connection->executeNative(sql, setValues + conditionValues);
    if (changed == 0)
        throw DatabaseError(QString::fromUtf8(kRecordChangedMessage));
    for (std::size_t i = 0; i < record.assigned.size(); ++i) {
        if (record.assigned[i]) {
            record.values[i] = written[i];
            record.assigned[i].reset();
        }
    }
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
    m_keyColumns.clear();
    m_current = 0;
    m_connection = nullptr;
}

} // namespace vantik
