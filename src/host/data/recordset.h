#pragma once

#include "host/data/connection.h"
#include "host/sqlcompat/translator.h"

#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace vantik {

/// Cursor and lock kinds with the values the host's statements pass.
enum class CursorType { ForwardOnly = 0, Keyset = 1, Dynamic = 2, Static = 3 };
enum class LockType { ReadOnly = 1, Pessimistic = 2, Optimistic = 3, BatchOptimistic = 4 };
/// Which columns a save checks are unchanged since the read: the key and the
/// assigned columns, or every comparable column the recordset read.
enum class UpdateCriteria { KeyAndAssigned, AllColumns };

/// A result set opened on the connection, walked record by record, whose fields
/// can be assigned and saved. The rows are read when it opens. Saving uses
/// optimistic concurrency: the UPDATE only hits the row when every assigned column
/// still holds the value read, so another clerk's change is never overwritten.
/// Every method throws DatabaseError.
class Recordset {
public:
    Recordset() = default;

    /// Opens the statement. An updatable lock on a SELECT over one table fetches the
    /// table's key as hidden columns; other statements open read-only and refuse
    /// writes with a message saying why.
    void open(const QString& statement, Connection& connection, CursorType cursor, LockType lock);
    /// How saves check that nobody changed the record; kept across close and open.
    /// AllColumns refuses a save when any column read has changed, not only the
    /// assigned ones: for a record whose fields belong together.
    void setUpdateCriteria(UpdateCriteria criteria) { m_criteria = criteria; }
    UpdateCriteria updateCriteria() const { return m_criteria; }
    bool isOpen() const { return m_open; }
    /// End of data: no current record.
    bool eof() const;

    int fieldCount() const;
    QString fieldName(int index) const;
    /// The value as text (the program's one conversion).
    QString field(const QString& name) const;
    QString field(int index) const;
    /// True when the field holds NULL (its text is then the empty text).
    bool isNull(int index) const;

    /// Assigns a field of the current record; the value is written by update().
    void setField(const QString& name, const QString& value);
    void setField(int index, const QString& value);
    /// Starts a new record; only the assigned fields are inserted, the table's
    /// defaults give the rest.
    void addNew();
    /// Saves the current record when fields were assigned.
    void update();
    void moveNext();
    /// Ends the use; the object can be opened again for the next statement.
    void close();

private:
    struct Record {
        std::vector<QVariant> values;                 // as read, hidden key columns included
        std::vector<std::optional<QString>> assigned; // per visible field
        bool isNew = false;
    };

    /// Whether a statement names one table whose records can be saved, and which.
    struct Analysis {
        std::string shapeKey; // empty: holds for no other statement
        std::optional<sqlcompat::SingleTableSelect> select;
        std::string whyNot;
    };
    const Analysis& analyze(std::string_view tsql);

    int indexOf(const QString& name) const;
    SqlType tableColumnType(int index) const;
    void requireCurrent() const;
    void requireWritable(int index) const;
    void saveNew(Record& record);
    void saveChanged(Record& record);

    Connection* m_connection = nullptr;
    bool m_open = false;
    bool m_updatable = false;
    QString m_readOnlyReason;
    TableRef m_table;
    QStringList m_names;               // visible fields
    std::vector<SqlType> m_types;      // visible fields, as the result reports them
    // Visible fields: their kind as columns of the table, once looked up (nullopt inside: no such column).
    mutable std::vector<std::optional<std::optional<SqlType>>> m_columnTypes;
    QStringList m_keyColumns;          // table columns of the hidden key
    std::vector<Record> m_records;
    std::size_t m_current = 0;
    Analysis m_analysis;
    UpdateCriteria m_criteria = UpdateCriteria::KeyAndAssigned;
};

} // namespace vantik
