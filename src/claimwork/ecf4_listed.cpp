#include "claimwork/ecf4_listed.h"

#include "claimwork/listed_rows.h"
#include "claimwork/row_progress.h"
#include "ecf4/clerk_report.h"
#include "ecf4/ecf4.h"
#include "host/ui/busy_guards.h"
#include "host/ui/clock.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_box.h"
#include "host/ui/message_loop.h"
#include "host/user/current_user.h"
#include "worklist/frm_claim_worklist.h"
#include "worklist/running_operation.h"
#include "worklist/worklist_columns.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QPlainTextEdit>

#include <optional>

namespace vantik {

namespace {

QString askForFolder(QWidget* parent, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Export eCF4 To"), startFolder);
}

// The folder chosen last in this run: a clerk exports day after day into the same one.
QString& lastFolder()
{
    static QString folder = QDir::homePath();
    return folder;
}

} // namespace

FolderChooser& cf4FolderChooser()
{
    static FolderChooser chooser = askForFolder;
    return chooser;
}

void checkListedCf4(FrmClaimWorklist& window)
{
    window.stopFlag = false;
    window.txtLog->clear();
    try {
        DisabledGrid disabled(*window.Grid1);
        BusyPointer busy(Qt::BusyCursor);
        RunningOperation running(window);
        RowProgress progress(window, QStringLiteral("Checking eCF4"));
        FlexGrid& grid = *window.Grid1;
        // Made once: the code tables and the facility's values are read once per pass.
        const ecf4::Ecf4Session session(window.pclsUser->sqlconnection(), window.services().clock.today());
        const int lastRow = lastListedRow(grid);
        int checked = 0;
        int ready = 0;
        for (int row = 1; row <= lastRow; ++row) {
            if (window.stopFlag || !running.beforeRow(row))
                break;
            progress.show(row, lastRow);
            makeRowCurrent(grid, row);
            const ecf4::Verdict verdict = session.check(grid.text(row, worklist::IdNum));
            ++checked;
            if (verdict.ready()) {
                ++ready;
                colourCurrentRow(window, kOleGreen);
            } else {
                colourCurrentRow(window, kOleRed);
                prependLogLine(*window.txtLog, ecf4::notReadyLine(verdict));
            }
            window.services().messageLoop.yieldOnce();
        }
        prependLogLine(*window.txtLog, ecf4::passTotalLine(checked, ready, lastRow));
    } catch (const std::exception& error) {
        showOperationError(window, error);
    }
}

void exportListedCf4(FrmClaimWorklist& window)
{
    FlexGrid& grid = *window.Grid1;
    const int lastRow = lastListedRow(grid);
    if (lastRow < 1) {
        window.services().messages.information(&window, QStringLiteral("No claim is listed: there is nothing to export."));
        return;
    }
    const QString folder = cf4FolderChooser()(&window, lastFolder());
    if (folder.isEmpty())
        return;
    lastFolder() = folder;
    // The claims as listed when the clerk chose: the files do not depend on the grid after that.
    QStringList idNums;
    for (int row = 1; row <= lastRow; ++row)
        idNums << grid.text(row, worklist::IdNum);

    window.stopFlag = false;
    MessageBox& messages = window.services().messages;
    try {
        ecf4::FolderExport result;
        {
            BusyPointer busy(Qt::BusyCursor);
            RunningOperation running(window);
            RowProgress progress(window, QStringLiteral("Exporting eCF4"));
            const QDate today = window.services().clock.today();
            const ecf4::Ecf4Session session(window.pclsUser->sqlconnection(), today);
            ecf4::FolderExportOptions options;
            options.folder = folder;
            // Asked once per export: a clerk exporting the same list into the same folder again
            // would otherwise answer the same question for every file.
            std::optional<bool> replace;
            options.replaceExisting = [&](const QString& path) {
                if (!replace) {
                    // The question is the clerk's to answer: the ordinary pointer while it shows.
                    BusyPointer arrow(Qt::ArrowCursor);
                    replace = messages.question(
                        &window, QStringLiteral("The file %1 exists already.\n\nReplace it, and every other file of "
                                                "this export that exists already?")
                                     .arg(QDir::toNativeSeparators(path)));
                }
                return *replace;
            };
            options.afterClaim = [&](int index, int count, const ecf4::ExportedClaim&) {
                progress.show(index + 1, count);
                window.services().messageLoop.yieldOnce();
                return !window.stopFlag && !window.closeRequested();
            };
            result = ecf4::exportToFolder(session, idNums, options, QDateTime(today, QTime::currentTime()));
        }
        // A window closing meanwhile stopped the export; the summary in the folder says what was done.
        if (!window.closeRequested())
            messages.information(&window, ecf4::folderExportReport(result, folder));
    } catch (const std::exception& error) {
        showOperationError(window, error);
    }
}

} // namespace vantik
