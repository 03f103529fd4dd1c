#pragma once

#include <QCheckBox>
#include <QPushButton>

namespace vantik {

/// Draw flags of a caption that may take several lines of its control.
inline constexpr int kCaptionWrapFlags = Qt::TextWordWrap | Qt::TextShowMnemonic;

/// A button whose caption wraps onto further lines when the button is tall
/// enough and the caption too long for one line, as the host's buttons do.
/// text() stays the caption as given.
class WrapPushButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

/// A check box whose caption wraps the same way; a click anywhere on it toggles.
class WrapCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

} // namespace vantik
