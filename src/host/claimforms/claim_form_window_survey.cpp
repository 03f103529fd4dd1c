// The general survey and history page: the chief complaint where the HIS keeps it
// (the first history record), and in the program's own row the general survey,
// the pertinent past medical history and, for women, the menstrual and pregnancy
// history.

#include "host/claimforms/cf4_conditions.h"
#include "host/claimforms/cf4_entry.h"
#include "host/claimforms/claim_form_input.h"
#include "host/claimforms/claim_form_page_parts.h"
#include "host/claimforms/claim_form_window.h"
#include "host/claimforms/claim_form_window_text.h"
#include "host/claimforms/conflict_bar.h"
#include "host/data/database_error.h"
#include "host/user/current_user.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vantik {

namespace {

using namespace page;

const QString kSurvey = QStringLiteral("GenSurveyID");
const QString kSurveyRemark = QStringLiteral("GenSurveyRemarks");
const QString kPastHistory = QStringLiteral("PastMedicalHistory");
const QString kMens = QStringLiteral("MensApplicable");
const QString kLastPeriod = QStringLiteral("LastMensPeriod");
const char* const kCountColumns[6] = {"PregnancyCount", "DeliveryCount", "FullTermCount",
                                      "PrematureCount", "AbortionCount", "LivingChildrenCount"};
const char* const kCountNames[6] = {"Pregnancies", "Deliveries", "Full term", "Premature", "Abortions",
                                    "Living children"};
const char* const kCountObjects[6] = {"txtPregnancies", "txtDeliveries", "txtFullTerm",
                                      "txtPremature", "txtAbortions", "txtLivingChildren"};

bool female(const QString& sex)
{
    const QString s = sex.trimmed();
    return s.compare(QLatin1String("F"), Qt::CaseInsensitive) == 0
        || s.compare(QLatin1String("Female"), Qt::CaseInsensitive) == 0;
}

// A stored count as the page shows it ("3", not "3.0").
QString countText(const QString& stored)
{
    const QString text = stored.trimmed();
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? QString::number(qint64(value)) : text;
}

QString periodText(const QString& stored)
{
    const QDateTime when = dateTimeOfText(stored);
    return when.isValid() ? when.date().toString(QStringLiteral("yyyy-MM-ddT00:00:00")) : QString();
}

} // namespace

QWidget* ClaimFormWindow::buildSurveyPage()
{
    lblSurveyNow = nowLabel("lblSurveyNow");
    optAwake = named(new QRadioButton(QStringLiteral("Awake and a&lert")), "optAwake");
    optAltered = named(new QRadioButton(QStringLiteral("Altered se&nsorium")), "optAltered");
    txtSurveyRemark = named(new QLineEdit, "txtSurveyRemark", QStringLiteral("Altered sensorium: remark"));
    txtSurveyRemark->setPlaceholderText(QStringLiteral("What was seen (needed with altered sensorium)"));
    txtChiefComplaint = named(new QLineEdit, "txtChiefComplaint", QStringLiteral("Chief complaint"));
    txtPastHistory = named(new QPlainTextEdit, "txtPastHistory", QStringLiteral("Pertinent past medical history"));
    txtPastHistory->setTabChangesFocus(true);
    txtPastHistory->setToolTip(QStringLiteral("Enter saves; Shift+Enter starts a new line."));
    txtPastHistory->setMaximumHeight(txtPastHistory->fontMetrics().lineSpacing() * 5);

    fraObGyn = named(new QGroupBox(QStringLiteral("Menstrual and pregnancy history")), "fraObGyn",
                     QStringLiteral("Menstrual and pregnancy history"));
    cboMensApplicable = named(new QComboBox, "cboMensApplicable", QStringLiteral("Menstrual history applicable"));
    cboMensApplicable->addItems({QString(), QStringLiteral("Yes"), QStringLiteral("No")});
    dtpLastPeriod = named(new QDateEdit, "dtpLastPeriod", QStringLiteral("Last menstrual period"));
    dtpLastPeriod->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    dtpLastPeriod->setCalendarPopup(true);
    auto* obGyn = new QGridLayout(fraObGyn);
    obGyn->addWidget(caption(QStringLiteral("A&pplicable:"), cboMensApplicable), 0, 0);
    obGyn->addWidget(cboMensApplicable, 0, 1);
    obGyn->addWidget(caption(QStringLiteral("Last &menstrual period:"), dtpLastPeriod), 1, 0);
    obGyn->addWidget(dtpLastPeriod, 1, 1);
    for (int c = 0; c < 6; ++c) {
        auto* box = named(new QLineEdit, kCountObjects[c], QString::fromLatin1(kCountNames[c]));
        box->setMaximumWidth(60);
        txtPregnancyCounts[std::size_t(c)] = box;
        obGyn->addWidget(new QLabel(QString::fromLatin1(kCountNames[c]) + QLatin1Char(':')), 2 + c / 3, (c % 3) * 2);
        obGyn->addWidget(box, 2 + c / 3, (c % 3) * 2 + 1);
        savesOnEnter(box, &ClaimFormWindow::saveSurvey);
    }
    const auto follow = [this] {
        txtSurveyRemark->setEnabled(optAltered->isChecked());
        const bool applies = cboMensApplicable->currentIndex() == 1;
        dtpLastPeriod->setEnabled(applies);
        for (QLineEdit* box : txtPregnancyCounts)
            box->setEnabled(applies);
    };
    connect(optAltered, &QRadioButton::toggled, this, follow);
    connect(cboMensApplicable, &QComboBox::currentIndexChanged, this, follow);
    follow();

    cmdSaveSurvey = named(new QPushButton(QStringLiteral("&Save")), "cmdSaveSurvey",
                          QStringLiteral("Save the general survey and history"));
    fraSurveyConflict = new ConflictBar(QStringLiteral("Survey"), QStringLiteral("general survey and history"));
    connect(cmdSaveSurvey, &QPushButton::clicked, this, &ClaimFormWindow::saveSurvey);
    for (QWidget* editor : std::initializer_list<QWidget*>{txtSurveyRemark, txtChiefComplaint, txtPastHistory,
                                                           dtpLastPeriod, optAwake, optAltered, cboMensApplicable})
        savesOnEnter(editor, &ClaimFormWindow::saveSurvey);
    connect(fraSurveyConflict->cmdKeepTheirs, &QPushButton::clicked, this, [this] {
        m_surveyEntry.takeCurrent();
        m_complaint.takeCurrent();
        fillSurvey();
        showSurveyConflicts();
        showMessage(QStringLiteral("Kept what the other user saved; your typing was dropped."), false);
    });
    connect(fraSurveyConflict->cmdSaveMine, &QPushButton::clicked, this, [this] {
        m_surveyEntry.takeCurrent();
        m_complaint.takeCurrent();
        showSurveyConflicts();
        saveSurvey();
    });

    auto* survey = new QHBoxLayout;
    survey->addWidget(optAwake);
    survey->addWidget(optAltered);
    survey->addWidget(txtSurveyRemark, 1);
    auto* form = new QFormLayout;
    form->addRow(caption(QStringLiteral("C&hief complaint:"), txtChiefComplaint), txtChiefComplaint);
    form->addRow(new QLabel(QStringLiteral("General survey:")), survey);
    form->addRow(caption(QStringLiteral("Pertinent past me&dical history:"), txtPastHistory), txtPastHistory);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblSurveyNow);
    layout->addLayout(form);
    layout->addWidget(fraObGyn);
    layout->addWidget(fraSurveyConflict);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSaveSurvey);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);
    return page;
}

QList<QPair<QString, QString>> ClaimFormWindow::surveyValues() const
{
    QList<QPair<QString, QString>> values;
    const QString survey = optAwake->isChecked() ? QStringLiteral("1")
                         : optAltered->isChecked() ? QStringLiteral("2")
                                                   : m_surveyEntry.baseText(kSurvey).trimmed();
    values << qMakePair(kSurvey, survey);
    values << qMakePair(kSurveyRemark, optAltered->isChecked() ? txtSurveyRemark->text().simplified() : QString());
    values << qMakePair(kPastHistory, txtPastHistory->toPlainText().trimmed());
    // Men have no menstrual history: their row keeps whatever it holds.
    if (m_form && female(m_form->sex)) {
        const bool applies = cboMensApplicable->currentIndex() == 1;
        values << qMakePair(kMens, applies                                    ? QStringLiteral("Y")
                                   : cboMensApplicable->currentIndex() == 2 ? QStringLiteral("N")
                                                                            : m_surveyEntry.baseText(kMens).trimmed());
        if (applies) {
            values << qMakePair(kLastPeriod, dtpLastPeriod->date().toString(QStringLiteral("yyyy-MM-ddT00:00:00")));
            for (int c = 0; c < 6; ++c)
                values << qMakePair(QString::fromLatin1(kCountColumns[c]),
                                    txtPregnancyCounts[std::size_t(c)]->text().trimmed());
        }
    }
    return values;
}

bool ClaimFormWindow::surveyTyped() const
{
    for (const auto& [column, value] : surveyValues()) {
        QString stored = m_surveyEntry.baseText(column).trimmed();
        if (column == kLastPeriod)
            stored = periodText(stored);
        else if (column.endsWith(QLatin1String("Count")))
            stored = countText(stored);
        if (stored != value)
            return true;
    }
    return false;
}

bool ClaimFormWindow::chiefComplaintTyped() const
{
    return txtChiefComplaint->text().simplified() != m_complaint.baseText(QStringLiteral("ChiefComplaint")).trimmed();
}

void ClaimFormWindow::fillSurvey()
{
    const QString survey = m_surveyEntry.baseText(kSurvey).trimmed();
    // Neither button checked when nothing is recorded: a radio group cannot be cleared otherwise.
    optAwake->setAutoExclusive(false);
    optAltered->setAutoExclusive(false);
    optAwake->setChecked(survey == QLatin1String("1"));
    optAltered->setChecked(survey == QLatin1String("2"));
    optAwake->setAutoExclusive(true);
    optAltered->setAutoExclusive(true);
    txtSurveyRemark->setText(m_surveyEntry.baseText(kSurveyRemark).trimmed());
    txtPastHistory->setPlainText(m_surveyEntry.baseText(kPastHistory).trimmed());
    txtChiefComplaint->setText(m_complaint.baseText(QStringLiteral("ChiefComplaint")).trimmed());
    const QString mens = m_surveyEntry.baseText(kMens).trimmed().toUpper();
    cboMensApplicable->setCurrentIndex(mens == QLatin1String("Y") ? 1 : mens == QLatin1String("N") ? 2 : 0);
    const QDateTime period = dateTimeOfText(m_surveyEntry.baseText(kLastPeriod));
    dtpLastPeriod->setDate(period.isValid() ? period.date()
                                            : (m_form && m_form->admittedAt.isValid() ? m_form->admittedAt.date()
                                                                                      : now().date()));
    for (int c = 0; c < 6; ++c)
        txtPregnancyCounts[std::size_t(c)]->setText(countText(m_surveyEntry.baseText(QLatin1String(kCountColumns[c]))));
}

void ClaimFormWindow::readSurveyEntry(const std::optional<SeenRow>& entry, const std::optional<SeenRow>& complaint,
                                      bool keepTyped)
{
    const bool typed = keepTyped && (surveyTyped() || chiefComplaintTyped());
    m_surveyEntry.read(entry, typed);
    m_complaint.read(complaint, typed);
    if (!typed)
        fillSurvey();
    const bool women = m_form && female(m_form->sex);
    fraObGyn->setVisible(women);
    fraObGyn->setEnabled(women);
    lblSurveyNow->setText(women ? QStringLiteral("The chief complaint goes into the first history record.")
                                : QStringLiteral("The chief complaint goes into the first history record. The "
                                                 "menstrual and pregnancy history applies to women only."));
    showSurveyConflicts();
}

void ClaimFormWindow::showSurveyConflicts()
{
    const bool typed = surveyTyped() || chiefComplaintTyped();
    if (!typed || (!m_surveyEntry.changedUnder() && !m_complaint.changedUnder())) {
        fraSurveyConflict->hide();
        return;
    }
    QStringList theirs;
    if (m_complaint.changedUnder())
        theirs << QStringLiteral("chief complaint: ")
                      + orDash(m_complaint.current() ? m_complaint.current()->text(QStringLiteral("ChiefComplaint"))
                                                     : QString());
    if (m_surveyEntry.changedUnder()) {
        const std::optional<SeenRow>& row = m_surveyEntry.current();
        theirs << (row ? QStringLiteral("general survey %1, past history %2 (by %3)")
                             .arg(orDash(row->text(kSurvey)), orDash(row->text(kPastHistory)),
                                  orDash(row->text(QStringLiteral("ChangedBy"))))
                       : QStringLiteral("the CF4 items were removed"));
    }
    fraSurveyConflict->showTheirs(theirs.join(QStringLiteral("; ")));
}

void ClaimFormWindow::saveSurvey()
{
    if (!m_form)
        return;
    Connection& connection = m_environment.user.sqlconnection();
    const QString complaint = txtChiefComplaint->text().simplified();
    if (chiefComplaintTyped()) {
        const InputCheck text = checkText(QStringLiteral("Chief complaint"), complaint, true,
                                          declaredLength(connection, EntryColumn::ChiefComplaint, m_form->outPatient));
        if (!text.ok())
            return refuse(txtChiefComplaint, text.message);
    }
    if (optAltered->isChecked() && isEmptyRemark(txtSurveyRemark->text()))
        return refuse(txtSurveyRemark,
                      QStringLiteral("General survey: with altered sensorium, type what was seen."));
    const QString past = txtPastHistory->toPlainText().trimmed();
    if (!past.isEmpty() && isEmptyRemark(past))
        return refuse(txtPastHistory, QStringLiteral("Pertinent past medical history: \"%1\" does not count; type "
                                                     "what was found (for example \"No known illness\").")
                                          .arg(past));
    QList<QPair<QString, QString>> values = surveyValues();
    for (auto& [column, value] : values) {
        if (column == kLastPeriod) {
            const InputCheck period = checkLastPeriod(dtpLastPeriod->date(), m_form->admittedAt, now());
            if (!period.ok())
                return refuse(dtpLastPeriod, period.message);
        } else if (column.endsWith(QLatin1String("Count"))) {
            for (int c = 0; c < 6; ++c) {
                if (column != QLatin1String(kCountColumns[c]))
                    continue;
                const InputCheck count = checkCount(QString::fromLatin1(kCountNames[c]), value);
                if (!count.ok())
                    return refuse(txtPregnancyCounts[std::size_t(c)], count.message);
                value = count.value;
            }
        } else {
            QWidget* field = column == kSurveyRemark ? static_cast<QWidget*>(txtSurveyRemark)
                                                     : static_cast<QWidget*>(txtPastHistory);
            const InputCheck length = checkLength(column == kSurveyRemark ? QStringLiteral("General survey remark")
                                                  : column == kPastHistory ? QStringLiteral("Past medical history")
                                                                           : column,
                                                  value, cf4EntryLength(connection, column));
            if (!length.ok())
                return refuse(field, length.message);
        }
    }
    const bool entry = surveyTyped();
    const bool chief = chiefComplaintTyped();
    if (!entry && !chief) {
        showMessage(QStringLiteral("Nothing was changed on this page; nothing was saved."), false);
        return;
    }
    // A new history record is taken at the admission.
    const QString takenOn = m_form->admittedAt.isValid()
                                ? m_form->admittedAt.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))
                                : now().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    if (!write(QStringLiteral("The general survey and history"), false, [&] {
            if ((entry && readCf4Entry(connection, m_idNum) != m_surveyEntry.base())
                || (chief && readSeenClaimRows(connection, m_idNum, m_form->outPatient).complaint != m_complaint.base()))
                throw DatabaseError(QString::fromUtf8(kRecordChangedMessage));
            if (entry)
                saveCf4Entry(connection, m_idNum, m_surveyEntry.base(), values, clerk(), now());
            if (chief)
                saveChiefComplaint(connection, m_idNum, m_form->outPatient, m_complaint.base(), takenOn, complaint);
        }))
        return;
    QStringList logged;
    if (chief)
        logged << QStringLiteral("chief complaint ") + complaint;
    if (entry) {
        for (const auto& [column, value] : values)
            logged << column + QLatin1Char(' ') + orDash(value);
    }
    fillSurvey(); // nothing is typed any more; the read that follows shows what is stored
    saved(QStringLiteral("general survey and history"), logged.join(QStringLiteral(", ")));
}

} // namespace vantik
