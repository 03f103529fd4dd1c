#pragma once

#include "host/data/connection.h"
#include "host/sqlcompat/translator.h"

#include <QDateTime>
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
/// can be assigned and saved. The rows are read when it opens.
///
/// Saving is optimistic and exact, so another clerk's change is never overwritten:
/// - a changed record is found by its primary key, or, in a table without one, by
///   every comparable column as read; the save also checks that each assigned
///   column (with AllColumns: each column read) still holds the value read, text
///   compared exactly (letter case and trailing blanks count);
/// - it is written only when exactly one row is found: none means another user
///   changed or deleted it (kRecordChangedMessage), several identical rows of a
///   table without a key are refused; either way nothing is written;
/// - a record added to a recordset whose statement read no row is inserted only
///   while that statement still selects none, decided atomically with the insert.
/// Values are checked against their column when assigned and again when saved
/// (see column_value.h). Every method throws DatabaseError.
class Recordset {
public:
    Recordset() = default;

    /// Opens the statement. An updatable lock on a SELECT over one table fetches
    /// the columns that identify a row as hidden columns; other statements open
    /// read-only and refuse writes with a message saying why.
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
    /// The value of a datetime field; an invalid QDateTime when it is NULL or no datetime.
    QDateTime dateTimeField(const QString& name) const;

    /// Assigns a field of the current record; the value is written by update().
    void setField(const QString& name, const QString& value);
    void setField(int index, const QString& value);
    /// Assigns a datetime field its exact value, milliseconds included.
    void setField(const QString& name, const QDateTime& value);
    /// Starts a new record; only the assigned fields are inserted, the table's
    /// defaults give the rest.
    void addNew();
    /// Saves the current record when fields were assigned.
    void update();
    void moveNext();
    /// Ends the use; the object can be opened again for the next statement.
    void close();

private:
    struct Assignment {
        QString text;    // what field() gives
        QString checked; // what is checked and converted for the column
    };
    struct Record {
        std::vector<QVariant> values;                  // as read: the fields, then the hidden identifying columns
        std::vector<std::optional<Assignment>> assigned; // per visible field
        bool isNew = false;
        bool unidentified = false; // saved new, but the values that find it again are not all known
        // Saved new: only the fields written (true here) are known; the table's
        // defaults gave the others.
        std::vector<bool> known;
    };

    /// Whether a statement names one table whose records can be saved, and which.
    struct Analysis {
        std::string shapeKey; // empty: holds for no other statement
        std::optional<sqlcompat::SingleTableSelect> select;
        std::string whyNot;
    };
    const Analysis& analyze(std::string_view tsql);

    void chooseIdentifyingColumns(const std::vector<sqlcompat::ColumnInfo>& columns);
    QString qualified(const sqlcompat::ColumnInfo& column) const;
    /// ", [key] AS [__vantik_key_0], ...": the identifying columns, each read
    /// whole as text where exact says so.
    QString hiddenKeyColumns(const std::vector<bool>& exact) const;
    /// The statement with columns added at the end of its select list.
    QString withHiddenColumns(const QString& hidden) const;
    void readAgainExactly(RawResult& result, const std::vector<sqlcompat::ColumnInfo>* columns);
    int indexOf(const QString& name) const;
    const sqlcompat::ColumnInfo& tableColumn(int index) const;
    void requireCurrent() const;
    void requireWritable(int index) const;
    void assign(int index, Assignment assignment);
    // recordset_save.cpp
    void saveNew(Record& record);
    void saveChanged(Record& record);
    QVariant written(const Record& record, std::size_t field) const;
    QVariant afterSave(const QVariant& written, const sqlcompat::ColumnInfo& column) const;

    Connection* m_connection = nullptr;
    bool m_open = false;
    bool m_updatable = false;
    QString m_readOnlyReason;
    QString m_statement;    // as given
    TableRef m_table;
    QString m_alias;
    std::size_t m_fromOffset = 0; // UTF-8 offset of the statement's FROM
    QStringList m_names;          // visible fields
    std::vector<SqlType> m_types; // visible fields, as the result reports them
    // Per visible field: the table's column it reads, or nullptr (an expression).
    std::vector<const sqlcompat::ColumnInfo*> m_fieldColumns;
    // The hidden columns that find a row again: the primary key, or every
    // comparable column when the table has none (m_byKey false).
    std::vector<const sqlcompat::ColumnInfo*> m_identifying;
    bool m_byKey = true;
    std::vector<Record> m_records;
    std::size_t m_current = 0;
    std::size_t m_rowsRead = 0;
    bool m_insertedAny = false;
    Analysis m_analysis;
    UpdateCriteria m_criteria = UpdateCriteria::KeyAndAssigned;
};

} // namespace vantik
