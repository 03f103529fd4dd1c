#include "host/claimforms/claim_form_window.h"

#include "host/claimforms/claim_form_input.h"
#include "host/claimforms/claim_form_print.h"
#include "host/claimforms/claim_form_requirements.h"
#include "host/claimforms/claim_form_summary.h"
#include "host/claimforms/claim_form_verification.h"
#include "host/claimforms/doctor_orders.h"
#include "host/component_error.h"
#include "host/data/database_error.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_box.h"
#include "host/ui/repaint_pacer.h"
#include "host/user/current_user.h"

#include <QCloseEvent>
#include <QComboBox>
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
enum Page { SummaryPage, HistoryPage, VitalsPage, MeasurementPage, GuPage, CoursePage };

bool isOutPatientId(const QString& idNum)
{
    return idNum.contains(QLatin1Char('B'));
}

QString shown(const QDateTime& when)
{
    return when.toString(QStringLiteral("MM/dd/yyyy h:mm AP"));
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

QString orDash(const QString& text)
{
    return text.trimmed().isEmpty() ? QStringLiteral("–") : text;
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

    tabSections = new QTabWidget(this);
    tabSections->setObjectName(QStringLiteral("tabSections"));
    tabSections->setAccessibleName(QStringLiteral("Sections of the claim form"));
    tabSections->addTab(buildSummaryPage(), QStringLiteral("Su&mmary"));
    tabSections->addTab(buildHistoryPage(), QStringLiteral("Brief &history"));
    tabSections->addTab(buildVitalsPage(), QStringLiteral("Vi&tal signs"));
    tabSections->addTab(buildMeasurementPage(), QStringLiteral("Height/&weight"));
    tabSections->addTab(buildGuPage(), QStringLiteral("G&U(IE)"));
    tabSections->addTab(buildCoursePage(), QStringLiteral("C&ourse in the ward"));

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    cmdMarkVerified = new QPushButton(QStringLiteral("Mark &verified"), this);
    cmdMarkVerified->setObjectName(QStringLiteral("cmdMarkVerified"));
    cmdPrint = new QPushButton(QStringLiteral("&Print..."), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdReload = new QPushButton(QStringLiteral("&Reload"), this);
    cmdReload->setObjectName(QStringLiteral("cmdReload"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdMarkVerified);
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdReload);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblHeader);
    layout->addWidget(lblMissing);
    layout->addWidget(tabSections, 1);
    layout->addWidget(lblMessage);
    layout->addLayout(buttons);

    // Tab moves through the page in hand, then the window's buttons.
    const QList<QWidget*> chain{tabSections,        txtBriefHistory, cmdSaveHistory,      dtpVitalsTakenOn,
                                txtBloodPressure,   txtTemperature,  txtPulseRate,        txtRespiratoryRate,
                                cmdSaveVitals,      dtpMeasuredOn,   txtHeight,           txtWeight,
                                cmdSaveHeightWeight, cboGuFinding,   cmdSaveGu,           dtpNoteWrittenOn,
                                txtCourseNote,      cmdSaveNote,     cmdImportOrders,     grdOrders,
                                cmdMarkVerified,    cmdPrint,        cmdReload,           cmdClose};
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);

    connect(cmdMarkVerified, &QPushButton::clicked, this, &ClaimFormWindow::markVerified);
    connect(cmdPrint, &QPushButton::clicked, this, &ClaimFormWindow::openPrintPreview);
    connect(cmdReload, &QPushButton::clicked, this, &ClaimFormWindow::reload);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    resize(860, 760);
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
    resetTakenOn();
    load(false);
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
        pacer.addFrameHook(this, [this] { layOutSummary(); });
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
    QDateTime minute = now();
    minute.setTime(QTime(minute.time().hour(), minute.time().minute()));
    for (QDateTimeEdit* editor : {dtpVitalsTakenOn, dtpMeasuredOn, dtpNoteWrittenOn})
        editor->setDateTime(minute);
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

void ClaimFormWindow::load(bool keepTypedHistory)
{
    // What the clerk typed and did not save stays: a reload must not lose work.
    const bool historyTyped = keepTypedHistory && txtBriefHistory->toPlainText() != m_loadedHistory;
    const bool guTyped = keepTypedHistory && cboGuFinding->currentText().trimmed() != recordedGuFinding().trimmed();
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
    m_loadedHistory = m_form->chiefComplaint;
    if (!historyTyped)
        txtBriefHistory->setPlainText(m_loadedHistory);
    if (!guTyped)
        cboGuFinding->setEditText(recordedGuFinding());
    showSections();
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
    lblMeasurementsNow->setText(
        lastEntries(form.measurements, QStringLiteral("No height and weight are recorded."), [](const auto& m) {
            return QStringLiteral("%1  height %2, weight %3").arg(orDash(m.takenOn), orDash(m.height), orDash(m.weight));
        }));
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
    if (txtBriefHistory->toPlainText() != m_loadedHistory)
        unsaved << sectionName(ClaimFormSection::BriefHistory);
    if (typed({txtBloodPressure, txtTemperature, txtPulseRate, txtRespiratoryRate}))
        unsaved << sectionName(ClaimFormSection::VitalSigns);
    if (typed({txtHeight, txtWeight}))
        unsaved << sectionName(ClaimFormSection::HeightWeight);
    if (cboGuFinding->currentText().trimmed() != recordedGuFinding().trimmed())
        unsaved << sectionName(ClaimFormSection::GuEntry);
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

void ClaimFormWindow::refuse(QWidget* field, const QString& message)
{
    m_touched = true;
    showMessage(message + QStringLiteral(" Nothing was saved."), true);
    field->setFocus();
}

QString ClaimFormWindow::recordedGuFinding() const
{
    return m_seen.guEntry ? m_seen.guEntry->text(QStringLiteral("Remarks")) : QString();
}

bool ClaimFormWindow::save(const QString& section, const std::function<void()>& write, const QString& logged)
{
    m_touched = true;
    if (!m_form)
        return false;
    try {
        write();
    } catch (const DatabaseError& error) {
        if (error.message() == QLatin1String(kRecordChangedMessage))
            showChangedByAnother();
        else
            showMessage(QStringLiteral("The %1 was not saved: %2").arg(section, error.message()), true);
        return false;
    } catch (const std::exception& error) {
        showMessage(QStringLiteral("The %1 was not saved: %2").arg(section, errorDescription(error)), true);
        return false;
    }
    saved(section, logged);
    return true;
}

void ClaimFormWindow::saved(const QString& section, const QString& logged)
{
    QString logFailure;
    try {
        m_environment.user.addlog(QStringLiteral("%1 CF4 %2: %3").arg(m_idNum, section, logged));
    } catch (const std::exception& error) {
        logFailure = errorDescription(error);
    }
    load(true);
    if (logFailure.isEmpty())
        showMessage(QStringLiteral("Saved the %1.").arg(section), false);
    else
        showMessage(QStringLiteral("Saved the %1, but the user log could not be written: %2").arg(section, logFailure),
                    true);
}

void ClaimFormWindow::saveBriefHistory()
{
    const InputCheck history = checkText(QStringLiteral("Brief history"), txtBriefHistory->toPlainText(), true, 0);
    if (!history.ok())
        return refuse(txtBriefHistory, history.message);
    const bool outPatient = m_form && m_form->outPatient;
    if (save(sectionName(ClaimFormSection::BriefHistory),
             [&] {
                 vantik::saveBriefHistory(m_environment.user.sqlconnection(), m_idNum, outPatient, m_seen.visit,
                                          history.value);
             },
             history.value)) {
        txtBriefHistory->setPlainText(m_loadedHistory);
    }
}

void ClaimFormWindow::saveVitalSigns()
{
    if (!m_form)
        return;
    const InputCheck takenOn =
        checkTakenOn(QStringLiteral("Taken on"), dtpVitalsTakenOn->dateTime(), m_form->admittedAt, now());
    if (!takenOn.ok())
        return refuse(dtpVitalsTakenOn, takenOn.message);
    const InputCheck pressure = checkBloodPressure(txtBloodPressure->text());
    if (!pressure.ok())
        return refuse(txtBloodPressure, pressure.message);
    const InputCheck temperature = checkTemperature(txtTemperature->text());
    if (!temperature.ok())
        return refuse(txtTemperature, temperature.message);
    const InputCheck pulse = checkPulseRate(txtPulseRate->text());
    if (!pulse.ok())
        return refuse(txtPulseRate, pulse.message);
    const InputCheck respiration = checkRespiratoryRate(txtRespiratoryRate->text());
    if (!respiration.ok())
        return refuse(txtRespiratoryRate, respiration.message);

    const VitalSignsEntry entry{takenOn.value, pressure.value, temperature.value, pulse.value, respiration.value};
    const QString logged = QStringLiteral("%1 BP %2, temperature %3, pulse %4, respiratory rate %5")
                               .arg(shown(dtpVitalsTakenOn->dateTime()), pressure.value, temperature.value,
                                    pulse.value, respiration.value);
    if (save(sectionName(ClaimFormSection::VitalSigns),
             [&] { addVitalSigns(m_environment.user.sqlconnection(), m_idNum, m_form->outPatient, entry); }, logged)) {
        for (QLineEdit* box : {txtBloodPressure, txtTemperature, txtPulseRate, txtRespiratoryRate})
            box->clear();
        resetTakenOn();
    }
}

void ClaimFormWindow::saveHeightWeight()
{
    if (!m_form)
        return;
    const InputCheck takenOn = checkTakenOn(QStringLiteral("Taken on"), dtpMeasuredOn->dateTime(), m_form->admittedAt, now());
    if (!takenOn.ok())
        return refuse(dtpMeasuredOn, takenOn.message);
    const InputCheck height = checkHeight(txtHeight->text());
    if (!height.ok())
        return refuse(txtHeight, height.message);
    const InputCheck weight = checkWeight(txtWeight->text());
    if (!weight.ok())
        return refuse(txtWeight, weight.message);

    const QString logged = QStringLiteral("%1 height %2 cm, weight %3 kg")
                               .arg(shown(dtpMeasuredOn->dateTime()), height.value, weight.value);
    if (save(sectionName(ClaimFormSection::HeightWeight),
             [&] {
                 addHeightWeight(m_environment.user.sqlconnection(), m_idNum, m_form->outPatient, takenOn.value,
                                 height.value, weight.value);
             },
             logged)) {
        txtHeight->clear();
        txtWeight->clear();
        resetTakenOn();
    }
}

void ClaimFormWindow::saveGuFinding()
{
    const InputCheck finding = checkText(QStringLiteral("GU(IE) finding"), cboGuFinding->currentText(), false, 0);
    if (!finding.ok())
        return refuse(cboGuFinding, finding.message);
    save(sectionName(ClaimFormSection::GuEntry),
         [&] { setGuFinding(m_environment.user.sqlconnection(), m_idNum, m_seen.guEntry, finding.value, clerk()); },
         finding.value);
}

void ClaimFormWindow::saveCourseNote()
{
    if (!m_form)
        return;
    const InputCheck writtenOn =
        checkTakenOn(QStringLiteral("Written on"), dtpNoteWrittenOn->dateTime(), m_form->admittedAt, now());
    if (!writtenOn.ok())
        return refuse(dtpNoteWrittenOn, writtenOn.message);
    const InputCheck note = checkText(QStringLiteral("Note"), txtCourseNote->toPlainText(), false, 0);
    if (!note.ok())
        return refuse(txtCourseNote, note.message);
    if (save(sectionName(ClaimFormSection::CourseInTheWard),
             [&] { addCourseNote(m_environment.user.sqlconnection(), m_idNum, writtenOn.value, note.value, clerk()); },
             shown(dtpNoteWrittenOn->dateTime()) + QLatin1Char(' ') + note.value)) {
        txtCourseNote->clear();
        resetTakenOn();
    }
}

void ClaimFormWindow::importOrders()
{
    if (!m_form)
        return;
    m_touched = true;
    QString outcome;
    try {
        outcome = loadDoctorOrders(m_environment.user.sqlconnection(), m_idNum, *grdOrders);
    } catch (const std::exception& error) {
        showMessage(QStringLiteral("The doctors' orders could not be read: ") + errorDescription(error), true);
        return;
    }
    if (outcome != QLatin1String("found")) {
        lblOrders->setText(QStringLiteral("This admission has no doctors' orders."));
        return;
    }
    const int orders = grdOrders->rowCount() - 1;
    try {
        outcome = importDoctorOrders(m_environment.user.sqlconnection(), m_idNum, *grdOrders, clerk());
    } catch (const std::exception& error) {
        // Notes added before a failure stay; the reload shows them.
        load(true);
        showMessage(QStringLiteral("The doctors' orders were not all imported: ") + errorDescription(error), true);
        return;
    }
    if (outcome == QLatin1String("new")) {
        lblOrders->setText(QStringLiteral("Found %1 doctors' orders; the new ones were added to the course in the ward.")
                               .arg(orders));
        saved(sectionName(ClaimFormSection::CourseInTheWard), QStringLiteral("doctors' orders imported"));
    } else {
        lblOrders->setText(QStringLiteral("Found %1 doctors' orders; every one is in the course in the ward already.")
                               .arg(orders));
    }
}

bool ClaimFormWindow::alreadyVerified() const
{
    return m_form && !m_form->verifiedBy.trimmed().isEmpty();
}

bool ClaimFormWindow::canMarkVerified() const
{
    return m_form && !alreadyVerified() && missingSections(*m_form).isEmpty();
}

void ClaimFormWindow::markVerified()
{
    if (!canMarkVerified())
        return;
    m_touched = true;
    const QString by = clerk();
    try {
        markClaimFormVerified(m_environment.user.sqlconnection(), m_idNum, by, now(), m_seen.profile);
    } catch (const DatabaseError& error) {
        if (error.message() == QLatin1String(kRecordChangedMessage))
            showChangedByAnother();
        else
            showMessage(QStringLiteral("Not marked verified: ") + error.message(), true);
        return;
    } catch (const std::exception& error) {
        showMessage(QStringLiteral("Not marked verified: ") + errorDescription(error), true);
        return;
    }
    load(true);
    showMessage(QStringLiteral("Marked verified by %1.").arg(by), false);
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
