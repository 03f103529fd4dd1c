#include "host/claimforms/library_windows.h"

#include "host/claimforms/claim_form_window.h"

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

void LibraryWindows::closeAll()
{
    // Deleted at once rather than closed: a window that asks before closing would
    // otherwise keep reading through a connection that is going away.
    const std::vector<QPointer<QWidget>> windows = std::move(m_windows);
    m_windows.clear();
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
}

} // namespace vantik
