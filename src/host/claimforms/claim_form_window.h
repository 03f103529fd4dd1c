#pragma once

#include "ecf4/cf4_libraries.h"
#include "host/claimforms/cf4_conditions.h"
#include "host/claimforms/claim_form_edits.h"
#include "host/claimforms/claim_form_environment.h"
#include "host/claimforms/claim_form_record.h"
#include "host/claimforms/claim_form_requirements.h"
#include "host/claimforms/section_baseline.h"

#include <QHash>
#include <QPair>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QRadioButton;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrintPreviewDialog;
class QPushButton;
class QTabWidget;
class QTextBrowser;

namespace vantik {

class ConflictBar;
class FindingChecks;
class FlexGridWidget;

/// The CF4 entry window of one admission: what the hospital's tables hold, which
/// sections are missing, a page to complete each section the clerk can complete
/// (brief history, vital signs, height and weight, GU(IE), course in the ward and
/// the doctors' orders), and the clerk's verification. Every save goes through a
/// recordset and checks against what the window read, is logged in the user log,
/// and shows its effect on the findings at once. Typed text stays checked against
/// the rows it was typed on until it is saved or dropped: when another user saved
/// the section meanwhile, the page shows what they saved and the clerk chooses.
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
    /// not saved yet stay, with the rows they were typed on.
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
    /// "eCF4: ready" or "eCF4: " and what keeps the claim from PhilHealth.
    QLabel* lblEcf4 = nullptr;
    QTabWidget* tabSections = nullptr;

    // Summary (read-only; what Print prints).
    QTextBrowser* txtSummary = nullptr;
    QLabel* lblReadOnly = nullptr;

    // Brief history.
    QLabel* lblHistoryNow = nullptr;
    QPlainTextEdit* txtBriefHistory = nullptr;
    QPushButton* cmdSaveHistory = nullptr;
    ConflictBar* fraHistoryConflict = nullptr;

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
    ConflictBar* fraMeasurementsConflict = nullptr;

    // GU(IE).
    QLabel* lblGuNow = nullptr;
    QComboBox* cboGuFinding = nullptr;
    QPushButton* cmdSaveGu = nullptr;
    ConflictBar* fraGuConflict = nullptr;

    // Physical examination: one row per system, Skin to GU (ecf4::Library order).
    QLabel* lblExamNow = nullptr;
    std::array<FindingChecks*, ecf4::kExamSystems> fraExam{};
    QPushButton* cmdSaveExam = nullptr;
    ConflictBar* fraExamConflict = nullptr;

    // Signs and symptoms, with the pain site and the other complaint.
    QLabel* lblSymptomsNow = nullptr;
    FindingChecks* chkSymptoms = nullptr;
    QLineEdit* txtPainSite = nullptr;
    QLineEdit* txtOtherComplaint = nullptr;
    QPushButton* cmdSaveSymptoms = nullptr;
    ConflictBar* fraSymptomsConflict = nullptr;

    // General survey, history and, for women, menstrual and pregnancy history.
    QLabel* lblSurveyNow = nullptr;
    QRadioButton* optAwake = nullptr;
    QRadioButton* optAltered = nullptr;
    QLineEdit* txtSurveyRemark = nullptr;
    QLineEdit* txtChiefComplaint = nullptr;
    QPlainTextEdit* txtPastHistory = nullptr;
    QGroupBox* fraObGyn = nullptr;
    QComboBox* cboMensApplicable = nullptr; ///< not stated, Yes, No
    QDateEdit* dtpLastPeriod = nullptr;
    /// Pregnancies, deliveries, full term, premature, abortions, living children.
    std::array<QLineEdit*, 6> txtPregnancyCounts{};
    QPushButton* cmdSaveSurvey = nullptr;
    ConflictBar* fraSurveyConflict = nullptr;

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
    QPushButton* cmdExportEcf4 = nullptr;
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
    QWidget* buildExamPage();
    QWidget* buildSymptomsPage();
    QWidget* buildSurveyPage();
    /// Enter in the editor saves its section.
    void savesOnEnter(QWidget* editor, void (ClaimFormWindow::*save)());
    void load(bool keepTyped);
    /// The summary to show; empty clears it. During a batch it is laid out at
    /// the next frame, otherwise at once.
    void setSummary(const QString& html);
    void layOutSummary();
    void showSections();
    /// The date-time editors at the present minute, or at the discharge when the
    /// patient left before it; the height/weight one at its record's date when
    /// the page edits a record.
    void resetTakenOn();

    // claim_form_window_saves.cpp
    void saveBriefHistory();
    void saveVitalSigns();
    void saveHeightWeight();
    void saveGuFinding();
    void saveCourseNote();
    /// Runs one section's write; a conflict or a failure saves nothing and says so.
    bool write(ClaimFormSection section, const std::function<void()>& write);
    /// The same for a page the findings do not name; what: "The physical examination".
    bool write(const QString& what, bool plural, const std::function<void()>& write);
    /// After a save: its user-log line, the reload and the message.
    void saved(ClaimFormSection section, const QString& logged);
    void saved(const QString& name, const QString& logged);
    bool runWrite(const std::function<QString(const std::exception&)>& notSaved, const std::function<void()>& write);
    /// A refused input: the message names the field; the field gets the focus.
    void refuse(QWidget* field, const QString& message);
    /// Checks a value against the declared length of its column.
    bool fits(QWidget* field, const QString& name, const QString& value, EntryColumn column);

    // claim_form_window_typed.cpp: typed values and the rows they were typed on.
    bool historyTyped() const;
    bool guTyped() const;
    bool measurementsTyped() const;
    /// After a read: each section's baseline, and its text where nothing is typed.
    void takeReadRows(bool keepTyped);
    /// Shows or hides each page's conflict bar.
    void showConflicts();
    /// The page's typed text goes; it shows what is saved now.
    void keepTheirs(ClaimFormSection section);
    /// The row saved now becomes what the typing replaces; then the page saves.
    void saveMine(ClaimFormSection section);
    void fillHistory();
    void fillGuFinding();
    void fillMeasurements();

    // claim_form_window_exam.cpp: the coded findings of the physical examination
    // (and of the signs and symptoms), each library checked against its records as read.
    struct ConditionBaseline {
        QList<SeenRow> base, current;
    };
    void readConditions(bool keepTyped);
    FindingChecks* checksOf(ecf4::Library library) const;
    bool conditionsTyped(ecf4::Library library) const;
    /// The libraries of the list the clerk changed, each choice checked; false
    /// when one was refused (and said so).
    bool checkCodedFindings(const QList<ecf4::Library>& libraries, QList<ecf4::Library>& typed);
    /// Throws the conflict when a library's records are no longer as the page read them.
    void requireConditionsAsSeen(const QList<ecf4::Library>& typed);
    /// Writes the choices; gives each library's user-log text.
    QStringList writeCodedFindings(const QList<ecf4::Library>& typed, bool nameEach);
    void conditionsSaved(const QList<ecf4::Library>& typed);
    void saveExam();
    void showConditionConflicts();
    void keepTheirConditions(const QList<ecf4::Library>& libraries);

    // claim_form_window_symptoms.cpp
    void saveSymptoms();
    bool symptomChecked(const char* id) const;
    /// The pain site and the other complaint are open while their symptom is checked.
    void followSymptoms();
    QString painSiteToSave() const;
    QString otherComplaintToSave() const;
    bool symptomTextsTyped() const;
    void fillSymptomTexts();
    void readSymptomEntry(const std::optional<SeenRow>& entry, bool keepTyped);

    // claim_form_window_survey.cpp
    void saveSurvey();
    /// The program's row's columns as the page would write them.
    QList<QPair<QString, QString>> surveyValues() const;
    bool surveyTyped() const;
    bool chiefComplaintTyped() const;
    void fillSurvey();
    void readSurveyEntry(const std::optional<SeenRow>& entry, const std::optional<SeenRow>& complaint,
                         bool keepTyped);
    void showSurveyConflicts();

    // claim_form_window_ecf4.cpp
    /// The eCF4 line after a read; during a batch pass at the next frame only.
    void refreshEcf4();
    void showEcf4();
    void exportEcf4();

    // claim_form_window_actions.cpp
    void importOrders();
    bool alreadyVerified() const;
    bool canMarkVerified() const;

    /// Writes one user-log line; gives the failure's description, or nothing.
    QString writeUserLog(const QString& line);
    void showMessage(const QString& text, bool error);
    void showChangedByAnother();
    QString clerk() const;
    QDateTime now() const;

    ClaimFormEnvironment m_environment;
    QString m_idNum;
    std::optional<ClaimFormRecord> m_form;
    SeenClaimRows m_seen; // the rows as read last: what the window shows
    SectionBaseline m_history{{QStringLiteral("BriefHistory")}};
    SectionBaseline m_gu{{QStringLiteral("Remarks"), QStringLiteral("Code"), QStringLiteral("Result")}};
    SectionBaseline m_measurements{{QStringLiteral("Height"), QStringLiteral("Weight")}};
    QHash<QObject*, void (ClaimFormWindow::*)()> m_enterSaves;
    QPrintPreviewDialog* m_preview = nullptr;
    int m_showing = 0;
    bool m_touched = false; // a save, an import or a preview was tried
    QString m_summaryWanted;
    QString m_summaryShown;
    bool m_summaryLaidOut = false; // m_summaryShown is what txtSummary holds
    bool m_summaryHooked = false;
    bool m_ecf4Stale = false; // the eCF4 line waits for the next frame
    std::optional<Cf4Wording> m_wording; // none: the code table could not be read
    QString m_wordingError;
    std::array<ConditionBaseline, ecf4::kLibraryCount> m_conditions;
    SectionBaseline m_symptomEntry{{QStringLiteral("PainSite"), QStringLiteral("OtherComplaint")}};
    SectionBaseline m_surveyEntry{{QStringLiteral("GenSurveyID"), QStringLiteral("GenSurveyRemarks"),
                                   QStringLiteral("PastMedicalHistory"), QStringLiteral("MensApplicable"),
                                   QStringLiteral("LastMensPeriod"), QStringLiteral("PregnancyCount"),
                                   QStringLiteral("DeliveryCount"), QStringLiteral("FullTermCount"),
                                   QStringLiteral("PrematureCount"), QStringLiteral("AbortionCount"),
                                   QStringLiteral("LivingChildrenCount")}};
    SectionBaseline m_complaint{{QStringLiteral("ChiefComplaint")}};
};

} // namespace vantik
