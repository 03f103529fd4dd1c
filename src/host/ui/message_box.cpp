#include "host/ui/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace vantik {

QString defaultMessageTitle()
{
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("VANTIK Claims Worklist") : name;
}

void QtMessageBox::information(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, defaultMessageTitle(), text, QMessageBox::Ok);
}

bool QtMessageBox::question(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, defaultMessageTitle(), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes)
           == QMessageBox::Yes;
}

} // namespace vantik
