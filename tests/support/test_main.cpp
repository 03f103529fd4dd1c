#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// One QApplication for every test binary. Test discovery runs the binary at build
// time, outside ctest's environment, so the platform and the settings folder are
// set here rather than only in the ctest properties.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    // The variables reach the programs the tests start and the plain C++ that reads
    // them; Qt itself is kept off the user's folders by its own means, which hold
    // on Windows too, where settings and data folders come from no variable.
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("HOME", home.path().toUtf8());
#ifdef Q_OS_WIN
    qputenv("APPDATA", QDir::toNativeSeparators(home.filePath(QStringLiteral("roaming"))).toUtf8());
    qputenv("LOCALAPPDATA", QDir::toNativeSeparators(home.filePath(QStringLiteral("local"))).toUtf8());
#endif
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath(QStringLiteral("settings")));
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, home.filePath(QStringLiteral("system-settings")));

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
