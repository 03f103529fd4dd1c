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

private:
    std::vector<QPointer<QWidget>> m_windows;
};

} // namespace vantik
