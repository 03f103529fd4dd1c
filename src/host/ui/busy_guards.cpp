#include "host/ui/busy_guards.h"

#include "host/ui/flex_grid.h"

#include <QApplication>
#include <QCursor>

namespace vantik {

BusyPointer::BusyPointer(Qt::CursorShape shape)
{
    QApplication::setOverrideCursor(QCursor(shape));
}

BusyPointer::~BusyPointer()
{
    QApplication::restoreOverrideCursor();
}

DisabledGrid::DisabledGrid(FlexGrid& grid)
    : m_grid(grid)
    , m_wasEnabled(grid.isGridEnabled())
{
    m_grid.setGridEnabled(false);
}

DisabledGrid::~DisabledGrid()
{
    m_grid.setGridEnabled(m_wasEnabled);
}

} // namespace vantik
