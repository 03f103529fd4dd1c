// The entry window's eCF4 line and its export: the one readiness check the list
// and the nightly tool use, asked again after every read, so that a save shows
// at once what it brought the claim closer to.

#include "ecf4/ecf4.h"
#include "host/claimforms/claim_form_window.h"
#include "host/component_error.h"
#include "host/ui/message_box.h"
#include "host/ui/repaint_pacer.h"
#include "host/user/current_user.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace vantik {

namespace {

void colour(QLabel& label, bool good)
{
    const QString sheet = good ? QStringLiteral("color: #1b7a1b;") : QStringLiteral("color: #c00000;");
    if (label.styleSheet() != sheet)
        label.setStyleSheet(sheet);
}

} // namespace

void ClaimFormWindow::refreshEcf4()
{
    // A batch pass reads hundreds of claim forms into one window: only the one a
    // frame shows is checked (the same hook lays out its summary).
    if (RepaintPacer::instance().batching() && m_summaryHooked) {
        m_ecf4Stale = true;
        cmdExportEcf4->setEnabled(false);
        RepaintPacer::instance().notePending();
        return;
    }
    showEcf4();
}

void ClaimFormWindow::showEcf4()
{
    m_ecf4Stale = false;
    if (!m_form) {
        lblEcf4->clear();
        cmdExportEcf4->setEnabled(false);
        return;
    }
    bool ready = false;
    QString line;
    try {
        const ecf4::Verdict verdict = ecf4::cf4Readiness(m_environment.user.sqlconnection(), m_idNum, now().date());
        ready = verdict.ready();
        line = verdict.line();
    } catch (const std::exception& error) {
        line = QStringLiteral("eCF4: not checked: ") + errorDescription(error);
    }
    colour(*lblEcf4, ready);
    lblEcf4->setText(line);
    cmdExportEcf4->setEnabled(ready);
    cmdExportEcf4->setToolTip(ready ? QStringLiteral("Writes the claim's CF4 file for PhilHealth into a folder.")
                                    : QStringLiteral("The claim is not ready for PhilHealth."));
}

void ClaimFormWindow::exportEcf4()
{
    if (!m_form)
        return;
    QtMessageBox realBoxes;
    MessageBox& messages = m_environment.messages ? *m_environment.messages : realBoxes;
    // Checked again: another clerk may have changed the claim since the line was shown.
    std::optional<ecf4::Verdict> verdict;
    try {
        verdict = ecf4::cf4Readiness(m_environment.user.sqlconnection(), m_idNum, now().date());
    } catch (const std::exception& error) {
        showMessage(QStringLiteral("The eCF4 was not exported: ") + errorDescription(error), true);
        return;
    }
    colour(*lblEcf4, verdict->ready());
    lblEcf4->setText(verdict->line());
    cmdExportEcf4->setEnabled(verdict->ready());
    if (!verdict->ready()) {
        showMessage(QStringLiteral("The eCF4 was not exported: the claim is no longer ready."), true);
        return;
    }
    const QString caption = QStringLiteral("Folder for the eCF4 of %1").arg(m_idNum);
    const QString folder = m_environment.chooseFolder ? m_environment.chooseFolder(this, caption)
                                                      : QFileDialog::getExistingDirectory(this, caption);
    if (folder.isEmpty())
        return;
    const QString target = QDir(folder).filePath(ecf4::cf4FileName(m_idNum));
    ecf4::ExistingFile existing = ecf4::ExistingFile::Keep;
    if (QFileInfo::exists(target)) {
        if (!messages.question(this, QStringLiteral("%1 exists already. Replace it?").arg(QDir::toNativeSeparators(target))))
            return;
        existing = ecf4::ExistingFile::Replace;
    }
    QString written;
    try {
        written = ecf4::writeCf4File(*verdict, folder, existing);
    } catch (const std::exception& error) {
        showMessage(QStringLiteral("The eCF4 was not exported: ") + errorDescription(error), true);
        return;
    }
    const QString shown = QDir::toNativeSeparators(written);
    const QString logFailure = writeUserLog(QStringLiteral("%1 CF4 eCF4 exported: %2").arg(m_idNum, shown));
    if (logFailure.isEmpty())
        showMessage(QStringLiteral("Exported the eCF4 to %1.").arg(shown), false);
    else
        showMessage(QStringLiteral("Exported the eCF4 to %1, but the user log could not be written: %2")
                        .arg(shown, logFailure),
                    true);
}

} // namespace vantik
