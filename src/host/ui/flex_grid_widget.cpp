#include "host/ui/flex_grid_widget.h"

#include "host/ui/flex_grid_model.h"
#include "host/ui/grid_export_prompt.h"
#include "host/ui/repaint_pacer.h"
#include "host/ui/twips.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace vantik {

namespace {
// A grid column is this wide until a width is set (twips).
constexpr int kDefaultColumnTwips = 1500;
} // namespace

FlexGridWidget::FlexGridWidget(QWidget* parent)
    : QWidget(parent)
    , m_view(new QTableView(this))
    , m_model(new FlexGridModel(this))
    , m_exportAction(new QAction(QStringLiteral("Export\u2026"), this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setModel(m_model);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view->setWordWrap(false);
    m_view->setTextElideMode(Qt::ElideNone);
    m_view->verticalHeader()->hide();
    // Fixed row heights keep scrolling and binding independent of the row count.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    m_view->horizontalHeader()->setDefaultSectionSize(twipsToPixels(kDefaultColumnTwips));
    m_view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->installEventFilter(this);
    setFocusProxy(m_view);
    m_exportAction->setObjectName(QStringLiteral("mExport"));
    m_view->addAction(m_exportAction);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_exportAction, &QAction::triggered, this, [this] { exportGridAsked(window(), *this, exportName()); });
    connect(m_view, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { emit cellDoubleClicked(index.row() + 1, index.column()); });
}

void FlexGridWidget::setGridName(const QString& name)
{
    setAccessibleName(name);
    m_view->setAccessibleName(name);
}

int FlexGridWidget::rowCount() const
{
    return m_model->rowCount() + 1;
}

int FlexGridWidget::columnCount() const
{
    return m_model->columnCount();
}

QString FlexGridWidget::text(int row, int column) const
{
    return m_model->gridText(row, column);
}

void FlexGridWidget::setText(int row, int column, const QString& text)
{
    m_model->setGridText(row, column, text);
}

sqlcompat::SqlType FlexGridWidget::columnType(int column) const
{
    return m_model->columnType(column);
}

QString FlexGridWidget::exportName() const
{
    return window()->windowTitle();
}

int FlexGridWidget::columnWidth(int column) const
{
    const auto set = m_widths.find(column);
    return set != m_widths.end() ? set->second : kDefaultColumnTwips;
}

int FlexGridWidget::fittingWidth(int column) const
{
    // The table view keeps its measure protected; the item view's is the same one.
    const QAbstractItemView& view = *m_view;
    return pixelsToTwips(view.sizeHintForColumn(column));
}

void FlexGridWidget::setColumnWidth(int column, int twips)
{
    m_widths[column] = std::max(twips, 0);
    applyColumnWidths();
}

void FlexGridWidget::applyColumnWidths()
{
    for (const auto& [column, twips] : m_widths) {
        if (column >= m_model->columnCount())
            break;
        m_view->setColumnHidden(column, twips == 0);
        if (twips > 0)
            m_view->setColumnWidth(column, twipsToPixels(twips));
    }
}

int FlexGridWidget::currentRow() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

int FlexGridWidget::currentColumn() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.column() : 0;
}

void FlexGridWidget::setCurrent(int row, int column)
{
    // A batch pass moves the current row once per listed row. Scrolling the view
    // along each time cost more than the move itself, and only the position the
    // view has when it is next painted is ever seen: during a batch it scrolls
    // before the next frame, otherwise once, when events are next handled.
    const bool autoScroll = m_view->hasAutoScroll();
    m_view->setAutoScroll(false);
    m_view->setCurrentIndex(m_model->index(row - 1, column));
    m_view->setAutoScroll(autoScroll);
    if (!autoScroll)
        return;
    RepaintPacer& pacer = RepaintPacer::instance();
    if (pacer.batching()) {
        if (!m_scrollHooked) {
            pacer.addFrameHook(this, [this] {
                if (std::exchange(m_scrollAtFrame, false))
                    scrollToCurrent();
            });
            m_scrollHooked = true;
        }
        m_scrollAtFrame = true;
        pacer.notePending();
    } else if (!m_scrollPending) {
        m_scrollPending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_scrollPending = false;
                scrollToCurrent();
            },
            Qt::QueuedConnection);
    }
}

void FlexGridWidget::scrollToCurrent()
{
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid())
        m_view->scrollTo(current);
}

void FlexGridWidget::setCellBackground(OleColor color)
{
    const QModelIndex current = m_view->currentIndex();
    if (current.isValid())
        m_model->setCellBackground(current.row() + 1, current.column(), color);
}

OleColor FlexGridWidget::background(int row, int column) const
{
    return m_model->background(row, column);
}

void FlexGridWidget::setRowBackground(int row, OleColor color)
{
    m_model->setRowBackground(row, color);
}

void FlexGridWidget::appendRow(const QString& tabSeparated)
{
    const int columnsBefore = m_model->columnCount();
    m_model->appendRow(tabSeparated);
    if (columnsBefore != m_model->columnCount())
        applyColumnWidths();
}

void FlexGridWidget::bind(ResultSet result)
{
    ++m_contentGeneration;
    m_model->bind(std::move(result));
    applyColumnWidths();
    if (m_model->rowCount() > 0)
        m_view->setCurrentIndex(m_model->index(0, 0));
}

void FlexGridWidget::reset(int rows, int columns)
{
    ++m_contentGeneration;
    m_model->reset(rows, columns);
    applyColumnWidths();
}

bool FlexGridWidget::isGridEnabled() const
{
    return isEnabled();
}

void FlexGridWidget::setGridEnabled(bool enabled)
{
    // Disabling moves the keyboard focus elsewhere; the clerk who pressed a key in
    // the grid gets it back when the grid is enabled again.
    if (!enabled && isEnabled())
        m_focusBeforeDisabled = m_view->hasFocus();
    setEnabled(enabled);
    if (enabled && m_focusBeforeDisabled) {
        m_focusBeforeDisabled = false;
        m_view->setFocus();
    }
}

bool FlexGridWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        emit keyDown(key->key(), key->modifiers());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vantik
