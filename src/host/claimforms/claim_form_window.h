#pragma once

#include "host/claimforms/claim_form_environment.h"
#include "host/claimforms/claim_form_record.h"
#include "host/claimforms/claim_form_verification.h"

#include <QWidget>

#include <optional>

class QLabel;
class QPrintPreviewDialog;
class QPushButton;
class QTextBrowser;

namespace vantik {

/// The CF4 entry window of one admission: the summary of what the hospital's
/// tables hold, which sections are complete, and the clerk's verification.
class ClaimFormWindow : public QWidget {
    Q_OBJECT
public:
    ClaimFormWindow(ClaimFormEnvironment environment, QString idNum, const QString& title);

    /// Reads the claim form again; a failure is shown in the window.
    void reload();
    /// Opens a preview of the printed summary (non-blocking).
    void openPrintPreview();
    /// Records the clerk's verification when the requirements are met.
    void markVerified();

    const QString& idNum() const { return m_idNum; }
    const std::optional<ClaimFormRecord>& form() const { return m_form; }
    QPrintPreviewDialog* printPreview() const { return m_preview; }

    QLabel* lblHeader = nullptr;
    QTextBrowser* txtSummary = nullptr;
    QLabel* lblMessage = nullptr;
    QPushButton* cmdMarkVerified = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdReload = nullptr;
    QPushButton* cmdClose = nullptr;

private:
    bool alreadyVerified() const;
    bool canMarkVerified() const;
    void showMessage(const QString& text, bool error);

    ClaimFormEnvironment m_environment;
    QString m_idNum;
    std::optional<ClaimFormRecord> m_form;
    /// The nurse profile as this window read it: a save checks against it.
    std::optional<SeenRow> m_seenProfile;
    QPrintPreviewDialog* m_preview = nullptr;
};

} // namespace vantik
