#include "host/ui/message_loop.h"

#include <QCoreApplication>

namespace vantik {

void QtMessageLoop::yieldOnce()
{
    QCoreApplication::processEvents();
}

} // namespace vantik
