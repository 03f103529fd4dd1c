#include "login_driver.h"

#include "host/user/login_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vantik::test {

QWidget* control(QWidget& parent, const char* objectName)
{
    auto* widget = parent.findChild<QWidget*>(QString::fromLatin1(objectName));
    EXPECT_NE(widget, nullptr) << "no control " << objectName;
    return widget;
}

void typeInto(QWidget& parent, const char* objectName, const QString& text)
{
    QWidget* widget = control(parent, objectName);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        widget = combo->lineEdit();
    auto* edit = qobject_cast<QLineEdit*>(widget);
    ASSERT_NE(edit, nullptr) << objectName << " is no text box";
    edit->clear();
    QTest::keyClicks(edit, text);
    EXPECT_EQ(edit->text(), text);
}

void click(QWidget& parent, const char* objectName)
{
    auto* button = qobject_cast<QAbstractButton*>(control(parent, objectName));
    ASSERT_NE(button, nullptr) << objectName << " is no button";
    QTest::mouseClick(button, Qt::LeftButton);
}

void logIn(QWidget& dialog, const QString& userName, const QString& password)
{
    typeInto(dialog, "txtUserName", userName);
    typeInto(dialog, "txtPassword", password);
    click(dialog, "cmdOK");
}

void whenLoginDialogShows(std::function<void(LoginDialog&)> drive)
{
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, drive = std::move(drive)] {
        auto* dialog = qobject_cast<LoginDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (++*tries > 500) {
                ADD_FAILURE() << "the log-in dialog never showed";
                poll->deleteLater();
                poll->stop();
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        drive(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the log-in dialog is still open: " << dialog->message().toStdString();
            dialog->reject();
        }
    });
    poll->start(10);
}

} // namespace vantik::test
