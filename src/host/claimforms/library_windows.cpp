#include "host/claimforms/library_windows.h"

#include "host/claimforms/claim_form_window.h"

#include <QTimer>

#include <algorithm>

namespace vantik {

LibraryWindows::~LibraryWindows()
{
    closeAll();
}

void LibraryWindows::adopt(QWidget* window)
{
    std::erase_if(m_windows, [](const QPointer<QWidget>& w) { return w.isNull(); });
    m_windows.emplace_back(window);
}

ClaimFormWindow* LibraryWindows::entryWindowOf(const QString& idNum) const
{
    for (const QPointer<QWidget>& window : m_windows) {
        if (auto* entry = qobject_cast<ClaimFormWindow*>(window.data()); entry && entry->idNum() == idNum)
            return entry;
    }
    return nullptr;
}

std::vector<QWidget*> LibraryWindows::open() const
{
    std::vector<QWidget*> open;
    for (const QPointer<QWidget>& window : m_windows) {
        if (window)
            open.push_back(window.data());
    }
    return open;
}

void LibraryWindows::giveBack(ClaimFormWindow* window)
{
    // A pass that reaches an admission whose window the clerk has open would
    // otherwise close it with what they typed.
    if (!window->unsavedSections().isEmpty())
        return;
    if (!window->reusable() || m_kept) {
        delete window;
        return;
    }
    std::erase_if(m_windows, [window](const QPointer<QWidget>& w) { return w.isNull() || w == window; });
    window->stopShowing();
    m_kept = window;
    QTimer::singleShot(0, window, [this, window] {
        if (m_kept == window)
            window->hide();
    });
}

ClaimFormWindow* LibraryWindows::takeKept()
{
    ClaimFormWindow* kept = m_kept;
    m_kept = nullptr;
    return kept;
}

void LibraryWindows::closeAll()
{
    delete m_kept.data();
    // Deleted at once rather than closed: a window that asks before closing would
    // otherwise keep reading through a connection that is going away.
    const std::vector<QPointer<QWidget>> windows = std::move(m_windows);
    m_windows.clear();
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
}

} // namespace vantik
