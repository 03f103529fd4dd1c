#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

namespace vantik {

class ClaimFormWindow;

/// The windows the claim-form library has open. An admission has at most one
/// entry window: a batch pass opens the form of every listed row, and one window
/// per call would pile up hundreds of windows and their memory.
class LibraryWindows {
public:
    LibraryWindows() = default;
    LibraryWindows(const LibraryWindows&) = delete;
    LibraryWindows& operator=(const LibraryWindows&) = delete;
    /// Closes the windows still open: they read through a connection that ends with the library.
    ~LibraryWindows();

    void adopt(QWidget* window);
    /// The open entry window of an admission (identifiers compared exactly), or nullptr.
    ClaimFormWindow* entryWindowOf(const QString& idNum) const;
    std::vector<QWidget*> open() const;
    void closeAll();

    /// An entry window given back by UnloadForm. One that holds nothing of the
    /// clerk's is kept to show the next admission opened: building a window and
    /// laying it out cost more than reading the admission, and a batch pass opens
    /// one per listed row. It stays on screen until events are next handled, so
    /// that a pass moving straight on to the next row does not close and reopen
    /// it; otherwise it is hidden then. A window with unsaved typing stays open,
    /// the clerk's; any other is deleted at once.
    void giveBack(ClaimFormWindow* window);
    /// The kept window, now the caller's, or nullptr.
    ClaimFormWindow* takeKept();

private:
    std::vector<QPointer<QWidget>> m_windows;
    QPointer<ClaimFormWindow> m_kept;
};

} // namespace vantik
