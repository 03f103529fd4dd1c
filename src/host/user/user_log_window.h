#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace vantik {

/// The "User Log" window: the lines of the user log as they are written. It never
/// takes the focus from the window the clerk works in and keeps clear of that
/// window's Stop button, so a long run can be followed and still be stopped.
/// During a batch the lines and the showing wait for the next frame (paced_log.h);
/// the log file, written by the component, gets each line at once.
class UserLogWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaximumLines = 20000;

    explicit UserLogWindow(QWidget* parent = nullptr);

    void appendLine(const QString& line);
    /// Every line written so far, those waiting for a frame included.
    QString text() const;
    /// Shows the window without activating it, beside the active window's Stop button.
    void showBesideActiveWindow();

private:
    void showNow();
    void placeClearOfStopButton(QWidget* activeWindow);
    QRect expectedFrame(const QWidget* reference) const;

    QPlainTextEdit* m_text;
    bool m_placedOnce = false;
    bool m_showPending = false;
    bool m_hooked = false;
};

} // namespace vantik
