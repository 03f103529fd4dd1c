#include "host/claimforms/claim_form_window.h"

#include "host/claimforms/claim_form_print.h"
#include "host/claimforms/claim_form_requirements.h"
#include "host/claimforms/claim_form_summary.h"
#include "host/claimforms/claim_form_window_text.h"
#include "host/claimforms/conflict_bar.h"
#include "host/claimforms/finding_checks.h"
#include "host/component_error.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_box.h"
#include "host/ui/repaint_pacer.h"
#include "host/user/current_user.h"

#include <QCloseEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QRadioButton>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace vantik {

namespace {

// The pages in the order of the insurer's form; the tab captions carry access keys.
// The GU marking's finding is part of the physical examination page.
enum Page { SummaryPage, HistoryPage, VitalsPage, MeasurementPage, SymptomsPage, ExamPage, SurveyPage, CoursePage };

bool isOutPatientId(const QString& idNum)
{
    return idNum.contains(QLatin1Char('B'));
}

// At most the last few entries: enough to see what is there without a table.
template <typename Entries, typename Describe>
QString lastEntries(const Entries& entries, const QString& none, Describe describe)
{
    if (entries.empty())
        return none;
    QStringList lines;
    const std::size_t first = entries.size() > 3 ? entries.size() - 3 : 0;
    for (std::size_t i = first; i < entries.size(); ++i)
        lines << describe(entries[i]);
    QString text = QStringLiteral("Recorded (%1):\n").arg(entries.size()) + lines.join(QLatin1Char('\n'));
    return text;
}

// Setting a style sheet restyles the widget even when it is the same one, and a
// batch pass loads every row's claim form into one window.
void setColour(QLabel& label, const QString& styleSheet)
{
    if (label.styleSheet() != styleSheet)
        label.setStyleSheet(styleSheet);
}

} // namespace

ClaimFormWindow::ClaimFormWindow(ClaimFormEnvironment environment, const QString& idNum, const QString& title)
    : m_environment(std::move(environment))
{
    setObjectName(QStringLiteral("frmCF4Entry"));
    setAttribute(Qt::WA_DeleteOnClose);

    lblHeader = new QLabel(this);
    lblHeader->setObjectName(QStringLiteral("lblHeader"));
    lblHeader->setTextFormat(Qt::RichText);
    lblMissing = new QLabel(this);
    lblMissing->setObjectName(QStringLiteral("lblMissing"));
    lblMissing->setWordWrap(true);
    lblEcf4 = new QLabel(this);
    lblEcf4->setObjectName(QStringLiteral("lblEcf4"));
    lblEcf4->setWordWrap(true);
    lblEcf4->setTextFormat(Qt::PlainText);

    tabSections = new QTabWidget(this);
    tabSections->setObjectName(QStringLiteral("tabSections"));
    tabSections->setAccessibleName(QStringLiteral("Sections of the claim form"));
    tabSections->addTab(buildSummaryPage(), QStringLiteral("Su&mmary"));
    tabSections->addTab(buildHistoryPage(), QStringLiteral("Brief &history"));
    tabSections->addTab(buildVitalsPage(), QStringLiteral("Vi&tal signs"));
    tabSections->addTab(buildMeasurementPage(), QStringLiteral("Height/&weight"));
    tabSections->addTab(buildSymptomsPage(), QStringLiteral("Signs an&d symptoms"));
    tabSections->addTab(buildExamPage(), QStringLiteral("Ph&ysical exam"));
    tabSections->addTab(buildSurveyPage(), QStringLiteral("&General survey"));
    tabSections->addTab(buildCoursePage(), QStringLiteral("C&ourse in the ward"));

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    cmdMarkVerified = new QPushButton(QStringLiteral("Mark &verified"), this);
    cmdMarkVerified->setObjectName(QStringLiteral("cmdMarkVerified"));
    cmdExportEcf4 = new QPushButton(QStringLiteral("E&xport eCF4…"), this);
    cmdExportEcf4->setObjectName(QStringLiteral("cmdExportEcf4"));
    cmdExportEcf4->setAccessibleName(QStringLiteral("Export the eCF4 file"));
    cmdPrint = new QPushButton(QStringLiteral("&Print..."), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdReload = new QPushButton(QStringLiteral("&Reload"), this);
    cmdReload->setObjectName(QStringLiteral("cmdReload"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdMarkVerified);
    buttons->addWidget(cmdExportEcf4);
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdReload);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblHeader);
    layout->addWidget(lblMissing);
    layout->addWidget(lblEcf4);
    layout->addWidget(tabSections, 1);
    layout->addWidget(lblMessage);
    layout->addLayout(buttons);

    // Tab moves through the page in hand, then the window's buttons.
    QList<QWidget*> chain{tabSections,
                                txtBriefHistory,
                                cmdSaveHistory,
                                fraHistoryConflict->cmdKeepTheirs,
                                fraHistoryConflict->cmdSaveMine,
                                dtpVitalsTakenOn,
                                txtBloodPressure,
                                txtTemperature,
                                txtPulseRate,
                                txtRespiratoryRate,
                                cmdSaveVitals,
                                dtpMeasuredOn,
                                txtHeight,
                                txtWeight,
                                cmdSaveHeightWeight,
                                fraMeasurementsConflict->cmdKeepTheirs,
                                fraMeasurementsConflict->cmdSaveMine,
                                txtPainSite,
                                txtOtherComplaint,
                                cmdSaveSymptoms,
                                fraSymptomsConflict->cmdKeepTheirs,
                                fraSymptomsConflict->cmdSaveMine,
                                cboGuFinding,
                                cmdSaveGu,
                                fraGuConflict->cmdKeepTheirs,
                                fraGuConflict->cmdSaveMine,
                                cmdSaveExam,
                                fraExamConflict->cmdKeepTheirs,
                                fraExamConflict->cmdSaveMine,
                                txtChiefComplaint,
                                optAwake,
                                optAltered,
                                txtSurveyRemark,
                                txtPastHistory,
                                cboMensApplicable,
                                dtpLastPeriod,
                                txtPregnancyCounts[0],
                                txtPregnancyCounts[1],
                                txtPregnancyCounts[2],
                                txtPregnancyCounts[3],
                                txtPregnancyCounts[4],
                                txtPregnancyCounts[5],
                                cmdSaveSurvey,
                                fraSurveyConflict->cmdKeepTheirs,
                                fraSurveyConflict->cmdSaveMine,
                                dtpNoteWrittenOn,
                                txtCourseNote,
                                cmdSaveNote,
                                cmdImportOrders,
                                grdOrders,
                                cmdMarkVerified,
                                cmdExportEcf4,
                                cmdPrint,
                                cmdReload,
                                cmdClose};
    // The check boxes of the coded pages, each before the page's other fields.
    chain = chain.mid(0, chain.indexOf(txtPainSite)) + chkSymptoms->controls() + chain.mid(chain.indexOf(txtPainSite));
    QList<QWidget*> examBoxes;
    for (const FindingChecks* row : fraExam)
        examBoxes += row->controls();
    chain = chain.mid(0, chain.indexOf(cboGuFinding)) + examBoxes + chain.mid(chain.indexOf(cboGuFinding));
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    connect(cmdMarkVerified, &QPushButton::clicked, this, &ClaimFormWindow::markVerified);
    connect(cmdExportEcf4, &QPushButton::clicked, this, &ClaimFormWindow::exportEcf4);
    connect(cmdPrint, &QPushButton::clicked, this, &ClaimFormWindow::openPrintPreview);
    connect(cmdReload, &QPushButton::clicked, this, &ClaimFormWindow::reload);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    resize(990, 780);
    showAdmission(idNum, title);
}

void ClaimFormWindow::showAdmission(const QString& idNum, const QString& title)
{
    ++m_showing;
    m_touched = false;
    m_idNum = idNum;
    setWindowTitle((title.isEmpty() ? QStringLiteral("CF4 Entries") : title) + QStringLiteral(" - ") + m_idNum);
    for (QLineEdit* box : {txtBloodPressure, txtTemperature, txtPulseRate, txtRespiratoryRate, txtHeight, txtWeight})
        box->clear();
    txtCourseNote->clear();
    lblOrders->clear();
    tabSections->setCurrentIndex(SummaryPage);
    m_summaryLaidOut = false; // laid out afresh, from the top
    load(false);
    resetTakenOn();
}

bool ClaimFormWindow::reusable() const
{
    return !m_touched && !m_preview && !isModal() && unsavedSections().isEmpty();
}

void ClaimFormWindow::setSummary(const QString& html)
{
    m_summaryWanted = html;
    RepaintPacer& pacer = RepaintPacer::instance();
    if (!pacer.batching()) {
        layOutSummary();
        return;
    }
    // A batch pass shows hundreds of admissions in turn, and the summary's
    // tables cost more to lay out than the rest of the window: only the one
    // a frame shows is laid out.
    if (!m_summaryHooked) {
        pacer.addFrameHook(this, [this] {
            layOutSummary();
            if (m_ecf4Stale)
                showEcf4();
        });
        m_summaryHooked = true;
    }
    pacer.notePending();
}

void ClaimFormWindow::layOutSummary()
{
    // A reload that reads what the window shows already lays out nothing.
    if (!m_summaryLaidOut || m_summaryWanted != m_summaryShown) {
        txtSummary->setHtml(m_summaryWanted);
        m_summaryShown = m_summaryWanted;
        m_summaryLaidOut = true;
    }
}

void ClaimFormWindow::savesOnEnter(QWidget* editor, void (ClaimFormWindow::*save)())
{
    m_enterSaves.insert(editor, save);
    editor->installEventFilter(this);
}

bool ClaimFormWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const auto save = m_enterSaves.constFind(watched);
        // Shift+Enter is a new line in the multi-line boxes; Enter saves the section.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && !(key->modifiers() & Qt::ShiftModifier) && save != m_enterSaves.constEnd()) {
            (this->*save.value())();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString ClaimFormWindow::clerk() const
{
    return m_environment.clerkName ? m_environment.clerkName() : QString();
}

QDateTime ClaimFormWindow::now() const
{
    return m_environment.now ? m_environment.now() : QDateTime::currentDateTime();
}

void ClaimFormWindow::resetTakenOn()
{
    // A time after the discharge is refused: for a patient who has left, the
    // editors start at the discharge instead of at a time they cannot save.
    QDateTime minute = now();
    if (m_form && m_form->dischargedAt.isValid() && m_form->dischargedAt < minute)
        minute = m_form->dischargedAt;
    minute.setTime(QTime(minute.time().hour(), minute.time().minute()));
    for (QDateTimeEdit* editor : {dtpVitalsTakenOn, dtpNoteWrittenOn})
        editor->setDateTime(minute);
    // The page edits the first history record when there is one, at its own date.
    if (!m_measurements.base())
        dtpMeasuredOn->setDateTime(minute);
}

void ClaimFormWindow::showMessage(const QString& text, bool error)
{
    setColour(*lblMessage, error ? QStringLiteral("color: #c00000;") : QStringLiteral("color: #1b7a1b;"));
    lblMessage->setText(text);
}

void ClaimFormWindow::showChangedByAnother()
{
    showMessage(QStringLiteral("This claim form was changed by another user since it was read; nothing was saved. "
                               "Press Reload to see it as it is now."),
                true);
    cmdReload->setDefault(true);
    cmdReload->setFocus();
}

void ClaimFormWindow::reload()
{
    load(true);
}

void ClaimFormWindow::load(bool keepTyped)
{
    const auto editable = [this](bool on) {
        for (int page = HistoryPage; page <= CoursePage; ++page)
            tabSections->widget(page)->setEnabled(on);
    };
    try {
        // The rows a save checks against first: a change landing between these reads
        // and the form's shows as a conflict at the save rather than going unseen.
        m_seen = readSeenClaimRows(m_environment.user.sqlconnection(), m_idNum, isOutPatientId(m_idNum));
        m_form = loadClaimForm(m_environment.user.sqlconnection(), m_idNum);
    } catch (const std::exception& error) {
        m_form.reset();
        lblHeader->setText(QStringLiteral("<b>%1</b>").arg(m_idNum.toHtmlEscaped()));
        lblMissing->clear();
        setSummary(QString());
        refreshEcf4();
        cmdMarkVerified->setEnabled(false);
        cmdPrint->setEnabled(false);
        editable(false);
        showMessage(QStringLiteral("The claim form could not be read: ") + errorDescription(error), true);
        return;
    }
    if (!m_form) {
        lblHeader->setText(QStringLiteral("<b>The admission \"%1\" was not found.</b>").arg(m_idNum.toHtmlEscaped()));
        lblMissing->clear();
        setSummary(Qt::convertFromPlainText(
            QStringLiteral("There is no admission or out-patient visit with this identifier.")));
        refreshEcf4();
        cmdMarkVerified->setEnabled(false);
        cmdPrint->setEnabled(false);
        editable(false);
        showMessage(QString(), false);
        return;
    }
    editable(true);
    lblHeader->setText(QStringLiteral("<b>%1</b> &nbsp; %2 &nbsp; %3")
                           .arg(m_form->patientName.toHtmlEscaped(), m_form->idNum.toHtmlEscaped(),
                                m_form->status.toHtmlEscaped()));
    setSummary(claimFormSummaryHtml(*m_form));
    // What the clerk typed and did not save stays, with the rows it was typed on:
    // a reload must neither lose work nor move it onto another user's save.
    takeReadRows(keepTyped);
    readConditions(keepTyped);
    showSections();
    refreshEcf4();
    cmdPrint->setEnabled(true);
    cmdReload->setDefault(false);
    showMessage(QString(), false);
}

void ClaimFormWindow::showSections()
{
    const ClaimFormRecord& form = *m_form;
    const QString finding = verificationFinding(form);
    setColour(*lblMissing, finding.isEmpty() ? QStringLiteral("color: #1b7a1b;") : QStringLiteral("color: #c00000;"));
    lblMissing->setText(finding.isEmpty() ? QStringLiteral("Nothing is missing.") : finding);
    lblHistoryNow->setText(QStringLiteral("Saved: ") + orDash(form.chiefComplaint));
    lblVitalsNow->setText(lastEntries(form.vitalSigns, QStringLiteral("No vital signs are recorded."), [](const auto& v) {
        return QStringLiteral("%1  BP %2, temperature %3, pulse %4, respiratory rate %5")
            .arg(orDash(v.takenOn), orDash(v.bloodPressure), orDash(v.temperature), orDash(v.pulseRate),
                 orDash(v.respiratoryRate));
    }));
    // The height/weight check reads the first history record: the page edits that
    // one, and adds a record only when there is none.
    lblMeasurementsNow->setText(
        lastEntries(form.measurements, QStringLiteral("No height and weight are recorded."),
                    [](const auto& m) {
                        return QStringLiteral("%1  height %2, weight %3")
                            .arg(orDash(m.takenOn), orDash(m.height), orDash(m.weight));
                    })
        + (m_measurements.base()
               ? QStringLiteral("\nSave changes the height and weight of the first history record (%1).")
                     .arg(orDash(shownTime(dateTimeOfText(m_measurements.baseText(QStringLiteral("HistoryDate"))))))
               : QStringLiteral("\nSave adds a history record.")));
    lblGuNow->setText(m_seen.guEntry ? QStringLiteral("Recorded: %1 (code %2, result %3)")
                                           .arg(orDash(m_seen.guEntry->text(QStringLiteral("Remarks"))),
                                                orDash(m_seen.guEntry->text(QStringLiteral("Code"))),
                                                orDash(m_seen.guEntry->text(QStringLiteral("Result"))))
                                     : (form.hasGuEntry() ? QStringLiteral("A GU(IE) finding is recorded under "
                                                                           "another description; saving adds one.")
                                                          : QStringLiteral("No GU(IE) finding is recorded.")));
    lblNotesNow->setText(lastEntries(form.courseNotes, form.outPatient ? QStringLiteral("No notes (an out-patient "
                                                                                        "visit needs none).")
                                                                       : QStringLiteral("No notes are recorded."),
                                     [](const auto& n) {
                                         return QStringLiteral("%1  %2 (%3)").arg(orDash(n.writtenOn), n.text,
                                                                                   orDash(n.by));
                                     }));
    // Verification is offered only while the insurer's requirements are met, and
    // only once: marking again would replace who verified the form and when.
    cmdMarkVerified->setEnabled(canMarkVerified());
    cmdMarkVerified->setToolTip(alreadyVerified()
                                    ? QStringLiteral("Verified by %1 on %2.").arg(form.verifiedBy, form.verifiedOn)
                                    : finding);
}

QStringList ClaimFormWindow::unsavedSections() const
{
    QStringList unsaved;
    if (!m_form)
        return unsaved;
    const auto typed = [](std::initializer_list<const QLineEdit*> boxes) {
        for (const QLineEdit* box : boxes) {
            if (!box->text().trimmed().isEmpty())
                return true;
        }
        return false;
    };
    if (historyTyped())
        unsaved << sectionName(ClaimFormSection::BriefHistory);
    if (typed({txtBloodPressure, txtTemperature, txtPulseRate, txtRespiratoryRate}))
        unsaved << sectionName(ClaimFormSection::VitalSigns);
    if (measurementsTyped())
        unsaved << sectionName(ClaimFormSection::HeightWeight);
    if (guTyped())
        unsaved << sectionName(ClaimFormSection::GuEntry);
    for (int s = 0; s < ecf4::kExamSystems; ++s) {
        if (conditionsTyped(ecf4::Library(s))) {
            unsaved << QStringLiteral("physical exam");
            break;
        }
    }
    if (conditionsTyped(ecf4::Library::SignsSymptoms) || symptomTextsTyped())
        unsaved << QStringLiteral("signs and symptoms");
    if (surveyTyped() || chiefComplaintTyped())
        unsaved << QStringLiteral("general survey and history");
    if (!txtCourseNote->toPlainText().trimmed().isEmpty())
        unsaved << sectionName(ClaimFormSection::CourseInTheWard);

    return unsaved;
}

void ClaimFormWindow::closeEvent(QCloseEvent* event)
{
    const QStringList unsaved = unsavedSections();
    if (!unsaved.isEmpty()) {
        QtMessageBox realBoxes;
        MessageBox& messages = m_environment.messages ? *m_environment.messages : realBoxes;
        if (!messages.question(this, QStringLiteral("The claim form of %1 has changes that are not saved (%2). Close "
                                                    "it without saving them?")
                                         .arg(m_idNum, unsaved.join(QStringLiteral(", "))))) {
            event->ignore();
            return;
        }
    }
    QWidget::closeEvent(event);
}

void ClaimFormWindow::openPrintPreview()
{
    if (!m_form)
        return;
    if (!m_preview) {
        auto* printer = new QPrinter(QPrinter::HighResolution);
        prepareClaimFormPage(*printer);
        m_preview = new QPrintPreviewDialog(printer, this);
        m_preview->setObjectName(QStringLiteral("dlgPrintPreview"));
        m_preview->setWindowTitle(windowTitle());
        connect(m_preview, &QObject::destroyed, this, [printer] { delete printer; });
        connect(m_preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
            try {
                paintClaimForm(*target, *m_form, m_environment.now());
            } catch (const std::exception& error) {
                showMessage(errorDescription(error), true);
            }
        });
        m_preview->resize(900, 800);
    }
    m_preview->open();
}

} // namespace vantik
