#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

namespace vantik {

/// Shown on a page of the entry window while another user's save lies under the
/// clerk's typing: what is saved now, and the clerk's two ways on. Hidden otherwise.
class ConflictBar : public QFrame {
    Q_OBJECT
public:
    /// name is the page's part of the control names ("History": lblHistoryTheirs,
    /// cmdHistoryKeepTheirs, cmdHistorySaveMine); what names the section for screen
    /// readers ("brief history").
    ConflictBar(const QString& name, const QString& what, QWidget* parent = nullptr);

    /// Shows the bar with what the other user saved (who and when where known).
    void showTheirs(const QString& theirs);

    QLabel* lblTheirs = nullptr;
    QPushButton* cmdKeepTheirs = nullptr;
    QPushButton* cmdSaveMine = nullptr;
};

} // namespace vantik
