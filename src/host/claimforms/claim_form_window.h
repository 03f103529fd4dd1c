#pragma once

#include "host/claimforms/claim_form_edits.h"
#include "host/claimforms/claim_form_environment.h"
#include "host/claimforms/claim_form_record.h"

#include <QHash>
#include <QWidget>

#include <functional>
#include <optional>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrintPreviewDialog;
class QPushButton;
class QTabWidget;
class QTextBrowser;

namespace vantik {

class FlexGridWidget;

/// The CF4 entry window of one admission: what the hospital's tables hold, which
/// sections are missing, a page to complete each section the clerk can complete
/// (brief history, vital signs, height and weight, GU(IE), course in the ward and
/// the doctors' orders), and the clerk's verification. Every save goes through a
/// recordset and checks against what the window read, is logged in the user log,
/// and shows its effect on the findings at once.
class ClaimFormWindow : public QWidget {
    Q_OBJECT
public:
    ClaimFormWindow(ClaimFormEnvironment environment, const QString& idNum, const QString& title);

    /// Shows another admission as a new window would show it. Only for a window
    /// that is reusable(): what the clerk did in it would otherwise be dropped.
    void showAdmission(const QString& idNum, const QString& title);
    /// True when the window holds nothing of the clerk's: no typing, no save or
    /// import tried, no preview, not modal.
    bool reusable() const;
    /// Changes whenever the window starts or stops showing an admission, so that
    /// a form object can tell its admission's showing from a later one.
    int showing() const { return m_showing; }
    /// The window was given back: no form object reaches it any more.
    void stopShowing() { ++m_showing; }

    /// Reads the claim form again; a failure is shown in the window. Typed values
    /// not saved yet stay, except the brief history, which shows the table's text.
    void reload();
    /// Opens a preview of the printed summary (non-blocking).
    void openPrintPreview();
    /// Records the clerk's verification when the requirements are met.
    void markVerified();

    const QString& idNum() const { return m_idNum; }
    const std::optional<ClaimFormRecord>& form() const { return m_form; }
    QPrintPreviewDialog* printPreview() const { return m_preview; }
    /// The sections whose typed values are not saved, by name.
    QStringList unsavedSections() const;

    QLabel* lblHeader = nullptr;
    QLabel* lblMissing = nullptr;
    QTabWidget* tabSections = nullptr;

    // Summary (read-only; what Print prints).
    QTextBrowser* txtSummary = nullptr;
    QLabel* lblReadOnly = nullptr;

    // Brief history.
    QLabel* lblHistoryNow = nullptr;
    QPlainTextEdit* txtBriefHistory = nullptr;
    QPushButton* cmdSaveHistory = nullptr;

    // Vital signs.
    QLabel* lblVitalsNow = nullptr;
    QDateTimeEdit* dtpVitalsTakenOn = nullptr;
    QLineEdit* txtBloodPressure = nullptr;
    QLineEdit* txtTemperature = nullptr;
    QLineEdit* txtPulseRate = nullptr;
    QLineEdit* txtRespiratoryRate = nullptr;
    QPushButton* cmdSaveVitals = nullptr;

    // Height and weight.
    QLabel* lblMeasurementsNow = nullptr;
    QDateTimeEdit* dtpMeasuredOn = nullptr;
    QLineEdit* txtHeight = nullptr;
    QLineEdit* txtWeight = nullptr;
    QPushButton* cmdSaveHeightWeight = nullptr;

    // GU(IE).
    QLabel* lblGuNow = nullptr;
    QComboBox* cboGuFinding = nullptr;
    QPushButton* cmdSaveGu = nullptr;

    // Course in the ward and the doctors' orders.
    QLabel* lblNotesNow = nullptr;
    QDateTimeEdit* dtpNoteWrittenOn = nullptr;
    QPlainTextEdit* txtCourseNote = nullptr;
    QPushButton* cmdSaveNote = nullptr;
    QPushButton* cmdImportOrders = nullptr;
    QLabel* lblOrders = nullptr;
    FlexGridWidget* grdOrders = nullptr;

    QLabel* lblMessage = nullptr;
    QPushButton* cmdMarkVerified = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdReload = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildSummaryPage();
    QWidget* buildHistoryPage();
    QWidget* buildVitalsPage();
    QWidget* buildMeasurementPage();
    QWidget* buildGuPage();
    QWidget* buildCoursePage();
    /// Enter in the editor saves its section.
    void savesOnEnter(QWidget* editor, void (ClaimFormWindow::*save)());
    void load(bool keepTypedHistory);
    /// The summary to show; empty clears it. During a batch it is laid out at
    /// the next frame, otherwise at once.
    void setSummary(const QString& html);
    void layOutSummary();
    void showSections();
    void resetTakenOn();

    void saveBriefHistory();
    void saveVitalSigns();
    void saveHeightWeight();
    void saveGuFinding();
    void saveCourseNote();
    void importOrders();
    /// Runs one save: the write, then its user-log line, the reload and the
    /// message; a conflict or a failure saves nothing and says so.
    bool save(const QString& section, const std::function<void()>& write, const QString& logged);
    /// After a save: its user-log line, the reload and the message.
    void saved(const QString& section, const QString& logged);
    QString recordedGuFinding() const;
    /// A refused input: the message names the field; the field gets the focus.
    void refuse(QWidget* field, const QString& message);

    bool alreadyVerified() const;
    bool canMarkVerified() const;
    void showMessage(const QString& text, bool error);
    void showChangedByAnother();
    QString clerk() const;
    QDateTime now() const;

    ClaimFormEnvironment m_environment;
    QString m_idNum;
    std::optional<ClaimFormRecord> m_form;
    SeenClaimRows m_seen;
    QString m_loadedHistory;
    QHash<QObject*, void (ClaimFormWindow::*)()> m_enterSaves;
    QPrintPreviewDialog* m_preview = nullptr;
    int m_showing = 0;
    bool m_touched = false; // a save, an import or a preview was tried
    QString m_summaryWanted;
    QString m_summaryShown;
    bool m_summaryLaidOut = false; // m_summaryShown is what txtSummary holds
    bool m_summaryHooked = false;
};

} // namespace vantik
