#pragma once

#include <QString>

class QWidget;

namespace vantik {

/// The message boxes of the windows: an OK-only notice and a Yes/No question,
/// under the program's default title. Windows never call QMessageBox directly,
/// so tests can answer and read them.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void information(QWidget* parent, const QString& text) = 0;
    /// True for Yes.
    virtual bool question(QWidget* parent, const QString& text) = 0;
};

/// The real, modal message boxes.
class QtMessageBox : public MessageBox {
public:
    void information(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& text) override;
};

/// The title every message box carries: the program's name.
QString defaultMessageTitle();

} // namespace vantik
