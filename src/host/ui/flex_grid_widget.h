#pragma once

#include "host/ui/flex_grid.h"

#include <QWidget>

#include <map>

class QAction;
class QTableView;

namespace vantik {

class FlexGridModel;

/// The grid control of the windows: a table view over a FlexGridModel. Column
/// widths set in twips stay through every bind; width 0 hides a column.
class FlexGridWidget : public QWidget, public FlexGrid {
    Q_OBJECT
public:
    explicit FlexGridWidget(QWidget* parent = nullptr);

    int rowCount() const override;
    int columnCount() const override;
    QString text(int row, int column) const override;
    void setText(int row, int column, const QString& text) override;
    int columnWidth(int column) const override;
    void setColumnWidth(int column, int twips) override;
    /// The width (twips) that shows the column's texts whole in the grid's font.
    int fittingWidth(int column) const;
    int currentRow() const override;
    int currentColumn() const override;
    void setCurrent(int row, int column) override;
    void setCellBackground(OleColor color) override;
    OleColor background(int row, int column) const override;
    void setRowBackground(int row, OleColor color) override;
    void appendRow(const QString& tabSeparated) override;
    void bind(ResultSet result) override;
    void reset(int rows, int columns) override;
    bool isGridEnabled() const override;
    void setGridEnabled(bool enabled) override;

    /// Changes whenever the content is replaced (bind, reset), so that a walk over
    /// the rows can tell that the list it started on is gone.
    quint64 contentGeneration() const { return m_contentGeneration; }

    /// The name a screen reader says for the grid (the table inside carries it).
    void setGridName(const QString& name);

    sqlcompat::SqlType columnType(int column) const override;

    /// "Export…" of the grid's context menu: every row, the shown columns, to a
    /// workbook or CSV file the clerk chooses.
    QAction* exportAction() const { return m_exportAction; }
    /// The file name the export suggests: the window's title.
    QString exportName() const;

    QTableView* view() const { return m_view; }
    FlexGridModel* model() const { return m_model; }

signals:
    /// A data cell was double-clicked (grid coordinates).
    void cellDoubleClicked(int row, int column);
    /// A key went down while the grid had the focus.
    void keyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyColumnWidths();
    void scrollToCurrent();

    QTableView* m_view;
    bool m_focusBeforeDisabled = false;
    bool m_scrollPending = false; // a scroll is queued for when events are handled
    bool m_scrollAtFrame = false; // a scroll waits for the pacer's next frame
    bool m_scrollHooked = false;
    FlexGridModel* m_model;
    std::map<int, int> m_widths; // twips by column, as set
    quint64 m_contentGeneration = 0;

    QAction* m_exportAction;
};

} // namespace vantik
