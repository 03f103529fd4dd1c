#pragma once

#include "host/sqlcompat/sqltype.h"

#include <QString>
#include <QList>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace vantik {

using sqlcompat::SqlType;

/// The rows of one statement, as text. All cell texts live in one contiguous
/// buffer with one end offset per cell, so a result of 30,000 rows holds two
/// allocations, not 720,000 strings. NULL is the empty text.
class ResultSet {
public:
    ResultSet() = default;
    ResultSet(QStringList columnNames, std::vector<SqlType> columnTypes);

    int columnCount() const { return static_cast<int>(m_names.size()); }
    int rowCount() const { return m_columns == 0 ? 0 : static_cast<int>(std::size_t(m_ends.size()) / m_columns); }
    const QStringList& columnNames() const { return m_names; }
    QString columnName(int column) const { return m_names.value(column); }
    SqlType columnType(int column) const;

    /// Valid until the result set changes. Out-of-range cells read as empty.
    QStringView cell(int row, int column) const;
    QString text(int row, int column) const { return cell(row, column).toString(); }

    /// Building: cells are appended row by row, left to right.
    void reserve(int rows, int averageCellLength);
    void appendCell(QStringView text);
    void appendCellUtf8(const char* utf8, int length);
    /// Gives back what the buffers reserved beyond the cells, once the last is appended.
    void squeeze();
    /// Characters held by all cells, for memory accounting.
    qsizetype textSize() const { return m_text.size(); }
    /// Bytes the result set has allocated for its cells and names.
    qsizetype bytesHeld() const;

private:
    QStringList m_names;
    std::vector<SqlType> m_types;
    std::size_t m_columns = 0;
    QString m_text;
    // A QList, not a vector: squeezing a large one is a realloc, not a copy.
    QList<std::uint32_t> m_ends;
};

} // namespace vantik
