#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace vantik {

/// The "User Log" window: the lines of the user log as they are written. It never
/// takes the focus from the window the clerk works in and keeps clear of that
/// window's Stop button, so a long run can be followed and still be stopped.
class UserLogWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaximumLines = 20000;

    explicit UserLogWindow(QWidget* parent = nullptr);

    void appendLine(const QString& line);
    QString text() const;
    /// Shows the window without activating it, beside the active window's Stop button.
    void showBesideActiveWindow();

private:
    void placeClearOfStopButton(QWidget* activeWindow);
    QRect expectedFrame(const QWidget* reference) const;

    QPlainTextEdit* m_text;
    bool m_placedOnce = false;
};

} // namespace vantik
