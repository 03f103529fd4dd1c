#include "host/ui/repaint_pacer.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <utility>

namespace vantik {

RepaintPacer& RepaintPacer::instance()
{
    static QPointer<RepaintPacer> pacer;
    if (!pacer) {
        Q_ASSERT(QCoreApplication::instance());
        pacer = new RepaintPacer(QCoreApplication::instance());
    }
    return *pacer;
}

RepaintPacer::RepaintPacer(QObject* parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RepaintPacer::frame);
}

void RepaintPacer::processEvents()
{
    if (!batching()) {
        QCoreApplication::processEvents();
        return;
    }
    if (!m_filtering) {
        QCoreApplication::instance()->installEventFilter(this);
        m_filtering = true;
    }
    if (frameDue())
        frame();
    ++m_holding;
    struct Release {
        int& holding;
        ~Release() { --holding; }
    } release{m_holding};
    QCoreApplication::processEvents();
}

void RepaintPacer::paintIfDue()
{
    notePending();
    if (frameDue())
        frame();
}

void RepaintPacer::notePending()
{
    if (m_pendingSince.isValid())
        return;
    m_pendingSince.start();
    m_timer.start(m_frameMs);
}

void RepaintPacer::setFrameInterval(int milliseconds)
{
    m_frameMs = milliseconds;
    if (m_timer.isActive())
        m_timer.start(int(std::max<qint64>(0, m_frameMs - m_pendingSince.elapsed())));
}

void RepaintPacer::settle()
{
    runHooks();
}

void RepaintPacer::addFrameHook(QObject* owner, std::function<void()> hook)
{
    m_hooks.push_back({owner, std::move(hook)});
}

bool RepaintPacer::eventFilter(QObject* watched, QEvent* event)
{
    // A window asks to be painted by an update request, posted when it is first
    // changed after a painting (or sent by repaint()). Held back here, the changes
    // gather until the frame sends the request again.
    if (event->type() != QEvent::UpdateRequest || m_holding == 0 || m_inFrame || !watched->isWidgetType())
        return false;
    if (std::find(m_held.begin(), m_held.end(), watched) == m_held.end())
        m_held.emplace_back(watched);
    ++m_repaintsHeld;
    notePending();
    return true;
}

void RepaintPacer::endBatch()
{
    --m_batches;
    runHooks();
    // Between batches no repaint is held: every event of the program need not pass here.
    if (m_batches == 0 && m_filtering) {
        QCoreApplication::instance()->removeEventFilter(this);
        m_filtering = false;
    }
    // The final state is shown as soon as events are handled, not a frame later.
    if (m_batches == 0 && (m_pendingSince.isValid() || !m_held.empty())) {
        if (!m_pendingSince.isValid())
            m_pendingSince.start();
        m_timer.start(0);
    }
}

void RepaintPacer::frame()
{
    m_timer.stop();
    m_pendingSince.invalidate();
    ++m_frames;
    const bool outer = !std::exchange(m_inFrame, true);
    runHooks();
    // The windows the hooks have just changed, then those that waited.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    const std::vector<QPointer<QObject>> held = std::exchange(m_held, {});
    for (const QPointer<QObject>& window : held) {
        if (window) {
            QEvent request(QEvent::UpdateRequest);
            QCoreApplication::sendEvent(window, &request);
        }
    }
    if (outer)
        m_inFrame = false;
}

void RepaintPacer::runHooks()
{
    if (std::exchange(m_inHooks, true))
        return;
    // By index: a hook may add another.
    for (std::size_t i = 0; i < m_hooks.size(); ++i) {
        if (!m_hooks[i].owner)
            continue;
        const std::function<void()> run = m_hooks[i].run;
        run();
    }
    m_hooks.erase(std::remove_if(m_hooks.begin(), m_hooks.end(), [](const Hook& hook) { return !hook.owner; }),
                  m_hooks.end());
    m_inHooks = false;
}

BatchScope::BatchScope()
{
    RepaintPacer::instance().beginBatch();
}

BatchScope::~BatchScope()
{
    RepaintPacer::instance().endBatch();
}

} // namespace vantik
