#include "host/component_error.h"
#include "host/data/settings_store.h"
#include "host/user/builtin_current_user.h"
#include "host/user/user_log_file.h"
#include "host/user/user_log_window.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace vantik;

namespace {

QStringList fileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    EXPECT_FALSE(bytes.contains('\r')) << "lines end with LF alone on every system";
    QStringList lines = QString::fromUtf8(bytes).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

class UserLogTest : public ::testing::Test {
protected:
    test::TempDir m_dir;
    SettingsStore m_settings{m_dir.file("settings")};
    BuiltinCurrentUser m_user{m_settings, m_dir.file("logs")};
};

} // namespace

TEST(UserLogLine, OneStampedLinePerCall)
{
    const QDateTime when(QDate(2026, 11, 3), QTime(7, 5, 9));
    EXPECT_EQ(userLogLine(when, "Worklist loaded"), "2026-11-03 07:05:09  Worklist loaded");
    EXPECT_EQ(userLogLine(when, "a\nb\r\nc\rd"), "2026-11-03 07:05:09  a b c d");
    EXPECT_EQ(userLogLine(when, ""), "2026-11-03 07:05:09  ");
}

TEST(UserLogLine, TheRecordOfLogInsQuotesKnownNamesAndWritesNoOtherName)
{
    test::TempDir folder;
    const QDateTime when(QDate(2026, 11, 3), QTime(7, 5, 9));
    recordLogin(folder.path(), when, "d'souza \"m\" ", "accepted");
    recordLogin(folder.path(), when, "", "refused (unknown user or wrong password)");
    QFile record(folder.file(kLoginRecordFileName));
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(record.readAll()),
              "2026-11-03 07:05:09  \"d'souza \"\"m\"\" \"  accepted\n"
              "2026-11-03 07:05:09  unknown  refused (unknown user or wrong password)\n");
}

TEST(UserLogLine, FileNamesStayInTheLogFolder)
{
    EXPECT_EQ(userLogFileName("clerk"), "clerk.log");
    EXPECT_EQ(userLogFileName(""), "unknown.log");
    EXPECT_EQ(userLogFileName("../etc/passwd"), "_.._etc_passwd.log");
    EXPECT_EQ(userLogFileName("d'souza m."), "d_souza_m..log");
    EXPECT_TRUE(defaultUserLogFolder().endsWith("/vantik/logs"));
}

TEST_F(UserLogTest, LinesGoToTheUnknownUsersFileBeforeLogIn)
{
    m_user.addlog("Started");
    m_user.addlog("two\nlines");
    const QString path = m_dir.file("logs/unknown.log");
    EXPECT_EQ(m_user.logFilePath(), path);
    const QStringList lines = fileLines(path);
    ASSERT_EQ(lines.size(), 2);
    const QRegularExpression stamped(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d  (.*)$)");
    EXPECT_EQ(stamped.match(lines[0]).captured(1), "Started");
    EXPECT_EQ(stamped.match(lines[1]).captured(1), "two lines");

#ifdef Q_OS_UNIX
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif

    // The file is appended to, not replaced, by the next component.
    BuiltinCurrentUser later(m_settings, m_dir.file("logs"));
    later.addlog("Again");
    EXPECT_EQ(fileLines(path).size(), 3);
}

TEST_F(UserLogTest, AnOpenLogLeftReadableByOthersIsClosedToThem)
{
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "the file system has no modes";
#else
    QFile old(m_dir.file("logs/unknown.log"));
    ASSERT_TRUE(QDir().mkpath(m_dir.file("logs")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    ASSERT_TRUE(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup));
    m_user.addlog("x");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(old.fileName()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
}

TEST_F(UserLogTest, TheWindowShowsEveryLineAndComesBackOnlyWhenAsked)
{
    m_user.addlog("First");
    ASSERT_NE(m_user.logWindow(), nullptr);
    EXPECT_TRUE(m_user.logWindow()->isVisible()) << "the first line of a session brings the window up";
    EXPECT_EQ(m_user.logWindow()->windowTitle(), "User Log");
    EXPECT_FALSE(m_user.logWindow()->testAttribute(Qt::WA_QuitOnClose)) << "an open log would keep the program running";

    m_user.logWindow()->close();
    m_user.addlog("Quietly");
    EXPECT_FALSE(m_user.logWindow()->isVisible());
    EXPECT_TRUE(m_user.logWindow()->text().endsWith("  Quietly"));
    m_user.addlog("Loudly", true);
    EXPECT_TRUE(m_user.logWindow()->isVisible());
    const QStringList shown = m_user.logWindow()->text().split('\n');
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown, fileLines(m_user.logFilePath()));
}

TEST_F(UserLogTest, ShowingTheWindowLeavesFocusAndStopButtonToTheMainWindow)
{
    // The offscreen test platform activates every window it shows; a desktop's window
    // manager honours the request not to, so the focus itself is checked only there.
    const bool platformHonoursNoActivation = QGuiApplication::platformName() != QLatin1String("offscreen");
    QWidget main;
    main.setWindowTitle("Worklist");
    main.setGeometry(main.screen()->availableGeometry());
    auto* stop = new QPushButton("&Stop", &main);
    stop->setObjectName("cmdStop");
    // Bottom right, where the log window first appears.
    stop->setGeometry(main.width() - 100, main.height() - 40, 90, 30);
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));

    m_user.addlog("Running", true);
    UserLogWindow* log = m_user.logWindow();
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(log));
    EXPECT_TRUE(log->testAttribute(Qt::WA_ShowWithoutActivating));
    if (platformHonoursNoActivation) {
        EXPECT_EQ(QApplication::activeWindow(), &main);
    }
    const QRect button(stop->mapToGlobal(QPoint(0, 0)), stop->size());
    EXPECT_FALSE(log->frameGeometry().intersects(button));

    // The clerk moved it over the button meanwhile: the next shown line moves it off again.
    log->move(button.topLeft() - QPoint(50, 50));
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    ASSERT_TRUE(log->frameGeometry().intersects(button));
    m_user.addlog("Still running", true);
    EXPECT_FALSE(log->frameGeometry().intersects(button));
    if (platformHonoursNoActivation) {
        EXPECT_EQ(QApplication::activeWindow(), &main);
    }
}

TEST_F(UserLogTest, AFileThatCannotBeWrittenIsAnErrorWithThePath)
{
    QFile blocker(m_dir.file("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    BuiltinCurrentUser user(m_settings, m_dir.file("blocker/logs"));
    try {
        user.addlog("Lost?");
        FAIL() << "no error for an unwritable log";
    } catch (const ComponentError& error) {
        EXPECT_TRUE(error.description().contains("user log")) << error.description().toStdString();
        EXPECT_TRUE(error.description().contains("blocker")) << error.description().toStdString();
    }
    // The clerk still sees the line.
    ASSERT_NE(user.logWindow(), nullptr);
    EXPECT_TRUE(user.logWindow()->text().endsWith("Lost?"));
}
