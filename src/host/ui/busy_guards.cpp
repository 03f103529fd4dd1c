#include "host/ui/busy_guards.h"

#include "host/ui/flex_grid.h"

#include <QApplication>
#include <QCursor>

namespace vantik {

BusyPointer::BusyPointer()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyPointer::~BusyPointer()
{
    QApplication::restoreOverrideCursor();
}

DisabledGrid::DisabledGrid(FlexGrid& grid)
    : m_grid(grid)
{
    m_grid.setGridEnabled(false);
}

DisabledGrid::~DisabledGrid()
{
    m_grid.setGridEnabled(true);
}

} // namespace vantik
