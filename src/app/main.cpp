// The claims worklist: the main window logs the clerk in and lists the patients
// to be claimed. The program takes no arguments; everything is chosen at log-in.

#include "batchupdate/install_batch_update.h"
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

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VANTIK"));
    QApplication::setApplicationDisplayName(QStringLiteral("VANTIK Claims Worklist"));

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
