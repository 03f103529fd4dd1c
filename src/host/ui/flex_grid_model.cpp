#include "host/ui/flex_grid_model.h"

#include "host/ui/ole_color.h"

#include <QColor>

namespace vantik {

namespace {
constexpr OleColor kNoColor = 0xFFFFFFFFu;
}

FlexGridModel::FlexGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int FlexGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_data.rowCount();
}

int FlexGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_header.size());
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    if (role == Qt::DisplayRole)
        return gridText(row, index.column());
    if (role == Qt::BackgroundRole || role == Qt::ForegroundRole) {
        OleColor background = kNoColor;
        const auto cell = m_cellColors.constFind(key(row, index.column()));
        if (cell != m_cellColors.constEnd())
            background = *cell;
        else if (std::size_t(row) < m_rowColors.size())
            background = m_rowColors[row];
        if (background == kNoColor)
            return {};
        if (role == Qt::BackgroundRole)
            return oleToColor(background);
        // Black text is unreadable on the marking's blue.
        if (prefersLightText(background))
            return QColor(Qt::white);
    }
    return {};
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_header.value(section);
    return {};
}

bool FlexGridModel::isDataCell(int row, int column) const
{
    return row >= 1 && row <= m_data.rowCount() && column >= 0 && column < m_header.size();
}

QString FlexGridModel::gridText(int row, int column) const
{
    if (row == 0)
        return m_header.value(column);
    if (!isDataCell(row, column))
        return {};
    if (!m_assigned.isEmpty()) {
        const auto assigned = m_assigned.constFind(key(row, column));
        if (assigned != m_assigned.constEnd())
            return *assigned;
    }
    return m_data.text(row - 1, column);
}

void FlexGridModel::setGridText(int row, int column, const QString& text)
{
    if (row == 0 && column >= 0 && column < m_header.size()) {
        m_header[column] = text;
        emit headerDataChanged(Qt::Horizontal, column, column);
        return;
    }
    if (!isDataCell(row, column))
        return;
    m_assigned.insert(key(row, column), text);
    const QModelIndex changed = index(row - 1, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

OleColor FlexGridModel::background(int row, int column) const
{
    const auto cell = m_cellColors.constFind(key(row, column));
    if (cell != m_cellColors.constEnd())
        return *cell;
    if (row >= 0 && std::size_t(row) < m_rowColors.size() && m_rowColors[row] != kNoColor)
        return m_rowColors[row];
    return kOleWhite;
}

void FlexGridModel::setCellBackground(int row, int column, OleColor color)
{
    if (!isDataCell(row, column))
        return;
    m_cellColors.insert(key(row, column), color);
    const QModelIndex changed = index(row - 1, column);
    emit dataChanged(changed, changed, {Qt::BackgroundRole});
}

void FlexGridModel::setRowBackground(int row, OleColor color)
{
    if (row < 1 || row > m_data.rowCount())
        return;
    if (m_rowColors.size() <= std::size_t(row))
        m_rowColors.resize(std::size_t(m_data.rowCount()) + 1, kNoColor);
    m_rowColors[row] = color;
    // A row colour paints the whole row, cells painted before included.
    if (!m_cellColors.isEmpty()) {
        for (int column = 0; column < m_header.size(); ++column)
            m_cellColors.remove(key(row, column));
    }
    emit dataChanged(index(row - 1, 0), index(row - 1, int(m_header.size()) - 1), {Qt::BackgroundRole});
}

void FlexGridModel::clearDecorations()
{
    m_assigned.clear();
    m_cellColors.clear();
    m_rowColors.clear();
}

void FlexGridModel::bind(ResultSet result)
{
    beginResetModel();
    m_header = result.columnNames();
    m_data = std::move(result);
    m_typed = true;
    clearDecorations();
    endResetModel();
}

void FlexGridModel::reset(int rows, int columns)
{
    beginResetModel();
    columns = std::max(columns, 0);
    QStringList names;
    for (int column = 0; column < columns; ++column)
        names.append(QString());
    m_header = names;
    m_typed = false;
    m_data = ResultSet(names, std::vector<SqlType>(std::size_t(columns), SqlType::Text));
    for (int cell = 0; cell < (std::max(rows, 1) - 1) * columns; ++cell)
        m_data.appendCell(QStringView());
    clearDecorations();
    endResetModel();
}

void FlexGridModel::appendRow(const QString& tabSeparated)
{
    const QList<QStringView> parts = QStringView(tabSeparated).split(u'\t');
    if (m_header.isEmpty()) {
        // A grid without columns takes its shape from the first row added.
        beginResetModel();
        for (qsizetype column = 0; column < parts.size(); ++column)
            m_header.append(QString());
        m_typed = false;
        m_data = ResultSet(m_header, std::vector<SqlType>(std::size_t(m_header.size()), SqlType::Text));
        endResetModel();
    }
    const int row = m_data.rowCount();
    beginInsertRows({}, row, row);
    for (qsizetype column = 0; column < m_header.size(); ++column)
        m_data.appendCell(column < parts.size() ? parts[column] : QStringView());
    endInsertRows();
}

} // namespace vantik
