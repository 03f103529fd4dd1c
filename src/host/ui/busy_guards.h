#pragma once

#include <QtCore/qnamespace.h>

class QWidget;

namespace vantik {

class FlexGrid;

/// The hourglass while an operation runs; the default pointer again when the
/// guard goes, on the error path too. Loops that let the clerk press Stop show
/// the busy arrow instead.
class BusyPointer {
public:
    explicit BusyPointer(Qt::CursorShape shape = Qt::WaitCursor);
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

/// A grid disabled while an operation walks it, enabled again when the guard goes.
/// An operation started during another's yield leaves the grid disabled for the
/// one still running.
class DisabledGrid {
public:
    explicit DisabledGrid(FlexGrid& grid);
    ~DisabledGrid();
    DisabledGrid(const DisabledGrid&) = delete;
    DisabledGrid& operator=(const DisabledGrid&) = delete;

private:
    FlexGrid& m_grid;
    bool m_wasEnabled;
};

} // namespace vantik
