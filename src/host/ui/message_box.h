#pragma once

#include <QString>

class QWidget;

namespace vantik {

/// The message boxes of the windows: an OK-only notice, an OK-only failure and a
/// Yes/No question, under the program's default title. Windows never call
/// QMessageBox directly, so tests can answer and read them.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void information(QWidget* parent, const QString& text) = 0;
    /// Something failed: the same box with the warning icon.
    virtual void warning(QWidget* parent, const QString& text) = 0;
    /// True for Yes.
    virtual bool question(QWidget* parent, const QString& text) = 0;
};

/// The real, modal message boxes.
class QtMessageBox : public MessageBox {
public:
    void information(QWidget* parent, const QString& text) override;
    void warning(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
};

/// The title every message box carries: the program's name.
QString defaultMessageTitle();

/// The text with its slashed tokens ("mm/dd/yyyy", "N/A", paths) kept whole when a
/// message wraps: a line break inside a date form misleads the reader.
QString withUnbrokenTokens(const QString& text);

} // namespace vantik
