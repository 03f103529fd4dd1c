#pragma once

#include <QStringList>

class QWidget;

namespace vantik::test {

/// The controls of a window that a clerk works with (buttons, boxes, lists,
/// grids, tabs, text) whose accessible name is empty: a screen reader, or a script
/// that drives the program from outside, cannot tell them apart. Each is given by
/// its object name (or class name) and its parent's.
QStringList unnamedControls(QWidget& window);

} // namespace vantik::test
