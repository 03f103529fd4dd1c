#include "host/ui/message_loop.h"

#include "host/ui/repaint_pacer.h"

namespace vantik {

void QtMessageLoop::yieldOnce()
{
    RepaintPacer::instance().processEvents();
}

} // namespace vantik
