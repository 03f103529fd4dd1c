#include "host/ui/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace vantik {

QString defaultMessageTitle()
{
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("VANTIK Claims Worklist") : name;
}

QString withUnbrokenTokens(const QString& text)
{
    // A word joiner after a slash forbids the break the line breaker would allow there.
    constexpr QChar kWordJoiner(0x2060);
    QString kept;
    kept.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        kept.append(text.at(i));
        if (text.at(i) == QLatin1Char('/') && i + 1 < text.size() && !text.at(i + 1).isSpace())
            kept.append(kWordJoiner);
    }
    return kept;
}

void QtMessageBox::information(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, defaultMessageTitle(), withUnbrokenTokens(text), QMessageBox::Ok);
}

void QtMessageBox::warning(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, defaultMessageTitle(), withUnbrokenTokens(text), QMessageBox::Ok);
}

bool QtMessageBox::question(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, defaultMessageTitle(), withUnbrokenTokens(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes)
           == QMessageBox::Yes;
}

} // namespace vantik
