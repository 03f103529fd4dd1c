// The claims worklist: the main window logs the clerk in and lists the patients
// to be claimed. Beyond --help and --version (and Qt's own options) the program
// takes no arguments; everything is chosen at log-in.

#include "batchupdate/install_batch_update.h"
#include "cf4codes/frm_philhealth_codes.h"
#include "claimwork/install_claim_work.h"
#include "host/component_error.h"
#include "host/data/settings_store.h"
#include "host/ui/clock.h"
#include "host/ui/message_box.h"
#include "host/ui/message_loop.h"
#include "host/user/builtin_components.h"
#include "host/user/component_registry.h"
#include "reports/install_reports.h"
#include "worklist/frm_claim_worklist.h"
#include "vantik_version.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Where the usage text says the clerk's settings and logs are.
#ifdef Q_OS_WIN
#define VANTIK_SETTINGS_AND_LOGS \
    "Settings: %APPDATA%\\vantik\\VANTIK.ini; user logs: %LOCALAPPDATA%\\vantik\\logs\\.\n"
#else
#define VANTIK_SETTINGS_AND_LOGS "Settings: ~/.config/vantik/VANTIK.ini; user logs: ~/.local/share/vantik/logs/.\n"
#endif

const char* const kUsage =
    "Usage: vantik-worklist [--help | --version]\n"
    "The claims worklist: lists the admissions and out-patient visits to be claimed\n"
    "and drives the work on their CF4 claim forms. It takes no other arguments (but\n"
    "Qt's own, such as -platform): the database and the clerk are chosen in its\n"
    "log-in dialog.\n"
    "  --help      this text\n"
    "  --version   the program's version\n"
    VANTIK_SETTINGS_AND_LOGS
    "Exit status: 0 closed, or the log-in cancelled or refused; 1 the program could\n"
    "not start; 2 bad usage.\n";

// The menu entry, the icon and the software centre's description carry this name
// (packaging/package.cmake sets it).
constexpr char kDesktopId[] = VANTIK_APP_ID;

// A windowed program on Windows starts without a console: the answers to the
// command line go to the one it was started from, unless they are redirected.
void printToStartingConsole()
{
#ifdef Q_OS_WIN
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
    }
#endif
}

} // namespace

int main(int argc, char** argv)
{
    // A clerk starts the program without arguments.
    if (argc > 1)
        printToStartingConsole();
    // Answered before the application exists: they need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("vantik-worklist %s\n", vantik::kVersion);
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VANTIK"));
    QApplication::setApplicationDisplayName(QStringLiteral("VANTIK Claims Worklist"));
    QApplication::setApplicationVersion(QString::fromLatin1(vantik::kVersion));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    // Installed, the icon theme holds the program's icon; a build has none.
    QApplication::setWindowIcon(QIcon::fromTheme(QString::fromLatin1(kDesktopId)));
    // Qt has taken its own options out; anything left is a mistake worth saying.
    const QStringList rest = QCoreApplication::arguments().mid(1);
    if (!rest.isEmpty()) {
        std::fprintf(stderr, "vantik-worklist: unknown argument '%s'\n%s", qPrintable(rest.first()), kUsage);
        return 2;
    }

    vantik::SettingsStore settings;
    vantik::ComponentRegistry registry;
    vantik::registerBuiltinComponents(registry, settings);
    vantik::QtMessageBox messages;
    vantik::QtMessageLoop messageLoop;
    vantik::SystemClock clock;

    try {
        vantik::FrmClaimWorklist window(
            {registry, settings, messages, messageLoop, clock, QCoreApplication::applicationDirPath()});
        vantik::installClaimWork(window);
        vantik::installPhilHealthCodes(window);
        vantik::installBatchUpdate(window);
        vantik::installReports(window);
        if (!window.load())
            return 0;
        window.show();
        return app.exec();
    } catch (const std::exception& error) {
        // The log-in itself failed: nothing can be done without it.
        QMessageBox::critical(nullptr, vantik::defaultMessageTitle(), vantik::errorDescription(error));
        return 1;
    }
}
