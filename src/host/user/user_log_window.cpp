#include "host/user/user_log_window.h"

#include "host/ui/paced_log.h"
#include "host/ui/repaint_pacer.h"
#include "host/user/log_window_placement.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

#include <utility>

namespace vantik {

UserLogWindow::UserLogWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("UserLogWindow"));
    setWindowTitle(QStringLiteral("User Log"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Closing the main window ends the program even while the log is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_text->setObjectName(QStringLiteral("txtLog"));
    m_text->setAccessibleName(QStringLiteral("User log"));
    m_text->setReadOnly(true);
    m_text->setMaximumBlockCount(kMaximumLines);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    resize(640, 280);
}

void UserLogWindow::appendLine(const QString& line)
{
    pacedAppend(*m_text, line);
}

QString UserLogWindow::text() const
{
    flushPacedLines(*m_text);
    return m_text->toPlainText();
}

void UserLogWindow::showBesideActiveWindow()
{
    RepaintPacer& pacer = RepaintPacer::instance();
    if (!pacer.batching()) {
        showNow();
        return;
    }
    // A batch asks for every line it writes; the next frame is soon enough.
    if (!m_showPending) {
        m_showPending = true;
        if (!m_hooked) {
            pacer.addFrameHook(this, [this] {
                if (std::exchange(m_showPending, false))
                    showNow();
            });
            m_hooked = true;
        }
        pacer.notePending();
    }
}

void UserLogWindow::showNow()
{
    QWidget* active = QApplication::activeWindow();
    if (active == this)
        active = nullptr;
    if (!m_placedOnce) {
        // First showing: the lower right corner of the screen the clerk works on.
        const QScreen* screen = active ? active->screen() : this->screen();
        if (screen) {
            QRect frame = expectedFrame(active);
            frame.moveBottomRight(screen->availableGeometry().bottomRight());
            move(frame.topLeft());
        }
        m_placedOnce = true;
    }
    placeClearOfStopButton(active);
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    if (!isVisible())
        show();
}

QRect UserLogWindow::expectedFrame(const QWidget* reference) const
{
    if (isVisible() || !reference)
        return frameGeometry();
    // Not shown yet, so the window system has not framed it: assume the decorations
    // of the window beside it.
    return QRect(pos(), size() + (reference->frameGeometry().size() - reference->size()));
}

void UserLogWindow::placeClearOfStopButton(QWidget* activeWindow)
{
    if (!activeWindow)
        return;
    const auto* stop = activeWindow->findChild<QWidget*>(QStringLiteral("cmdStop"));
    if (!stop || !stop->isVisible())
        return;
    const QRect button(stop->mapToGlobal(QPoint(0, 0)), stop->size());
    const QScreen* screen = activeWindow->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QRect frame = expectedFrame(activeWindow);
    const QRect placed = placeClearOf(frame, button, available);
    if (placed == frame)
        return;
    if (placed.size() != frame.size())
        resize(placed.size() - (frame.size() - size()));
    move(placed.topLeft());
}

} // namespace vantik
