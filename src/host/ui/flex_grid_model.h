#pragma once

#include "host/data/result_set.h"
#include "host/ui/flex_grid.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>

#include <vector>

namespace vantik {

/// The storage behind a grid control. Data rows keep the compact form of the
/// result they were bound from; a text assigned to a bound cell and cell colours
/// are kept aside, so binding costs no object per cell. Model row r is grid row r + 1;
/// the grid's row 0 is the horizontal header.
class FlexGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit FlexGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// Grid coordinates: row 0 is the header.
    QString gridText(int row, int column) const;
    void setGridText(int row, int column, const QString& text);
    OleColor background(int row, int column) const;
    void setCellBackground(int row, int column, OleColor color);
    void setRowBackground(int row, OleColor color);

    void bind(ResultSet result);
    void reset(int rows, int columns);
    void appendRow(const QString& tabSeparated);

    /// The declared kind of a column bound from a result; Unknown once the grid
    /// was reset or shaped by an appended row.
    SqlType columnType(int column) const { return m_typed ? m_data.columnType(column) : SqlType::Unknown; }

    /// The bound result, for memory accounting.
    const ResultSet& boundData() const { return m_data; }

private:
    static quint64 key(int row, int column) { return (quint64(quint32(row)) << 32) | quint32(column); }
    bool isDataCell(int row, int column) const;
    void clearDecorations();

    QStringList m_header;
    ResultSet m_data;
    QHash<quint64, QString> m_assigned;     // texts set after binding, by grid cell
    QHash<quint64, OleColor> m_cellColors;  // by grid cell
    std::vector<OleColor> m_rowColors;      // by grid row; kNoColor where none was set
    bool m_typed = false;                   // the columns came from a result
};

} // namespace vantik
