// The signs and symptoms page: PhilHealth's active list as check boxes, written as
// the HIS's records in its own words, with the pain site and the other complaint
// the HIS has no place for in the program's own row.

#include "host/claimforms/cf4_entry.h"
#include "host/claimforms/claim_form_input.h"
#include "host/claimforms/claim_form_page_parts.h"
#include "host/claimforms/claim_form_window.h"
#include "host/claimforms/conflict_bar.h"
#include "host/claimforms/finding_checks.h"
#include "host/data/database_error.h"
#include "host/user/current_user.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <tuple>

namespace vantik {

namespace {

using ecf4::Library;
using namespace page;

const QString kPainSite = QStringLiteral("PainSite");
const QString kOtherComplaint = QStringLiteral("OtherComplaint");

} // namespace

QWidget* ClaimFormWindow::buildSymptomsPage()
{
    lblSymptomsNow = nowLabel("lblSymptomsNow");
    chkSymptoms = new FindingChecks(Library::SignsSymptoms, QStringLiteral("Signs and symptoms"),
                                    QStringLiteral("Symptom"), 3);
    chkSymptoms->setObjectName(QStringLiteral("chkSymptoms"));
    txtPainSite = named(new QLineEdit, "txtPainSite");
    txtPainSite->setPlaceholderText(QStringLiteral("Where it hurts (needed with Pain)"));
    txtOtherComplaint = named(new QLineEdit, "txtOtherComplaint");
    txtOtherComplaint->setPlaceholderText(QStringLiteral("The complaint (needed with Others)"));
    cmdSaveSymptoms = named(new QPushButton(QStringLiteral("&Save")), "cmdSaveSymptoms",
                            QStringLiteral("Save the signs and symptoms"));
    fraSymptomsConflict = new ConflictBar(QStringLiteral("Symptoms"), QStringLiteral("signs and symptoms"));

    connect(chkSymptoms, &FindingChecks::changed, this, [this] {
        followSymptoms();
        showConditionConflicts();
    });
    followSymptoms();
    connect(cmdSaveSymptoms, &QPushButton::clicked, this, &ClaimFormWindow::saveSymptoms);
    for (QWidget* editor : std::initializer_list<QWidget*>{txtPainSite, txtOtherComplaint})
        savesOnEnter(editor, &ClaimFormWindow::saveSymptoms);
    for (QWidget* control : chkSymptoms->controls())
        savesOnEnter(control, &ClaimFormWindow::saveSymptoms);
    connect(fraSymptomsConflict->cmdKeepTheirs, &QPushButton::clicked, this, [this] {
        m_symptomEntry.takeCurrent();
        fillSymptomTexts();
        keepTheirConditions({Library::SignsSymptoms});
    });
    connect(fraSymptomsConflict->cmdSaveMine, &QPushButton::clicked, this, [this] {
        m_symptomEntry.takeCurrent();
        m_conditions[std::size_t(Library::SignsSymptoms)].base = m_conditions[std::size_t(Library::SignsSymptoms)].current;
        showConditionConflicts();
        saveSymptoms();
    });

    auto* form = new QFormLayout;
    form->addRow(caption(QStringLiteral("Pain s&ite:"), txtPainSite), txtPainSite);
    form->addRow(caption(QStringLiteral("Other compla&int:"), txtOtherComplaint), txtOtherComplaint);
    txtPainSite->setAccessibleName(QStringLiteral("Pain site"));
    txtOtherComplaint->setAccessibleName(QStringLiteral("Other complaint"));

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblSymptomsNow);
    auto* scroll = named(new QScrollArea, "scrSymptoms", QStringLiteral("Signs and symptoms"));
    scroll->setWidget(chkSymptoms);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    layout->addWidget(scroll, 1);
    layout->addLayout(form);
    layout->addWidget(fraSymptomsConflict);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSaveSymptoms);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return page;
}

bool ClaimFormWindow::symptomChecked(const char* id) const
{
    const QCheckBox* box = chkSymptoms->box(QLatin1String(id));
    return box && box->isChecked();
}

void ClaimFormWindow::followSymptoms()
{
    txtPainSite->setEnabled(symptomChecked(ecf4::kPainId));
    txtOtherComplaint->setEnabled(symptomChecked(ecf4::kOtherComplaintId));
}

// A site or complaint whose symptom is not checked goes with it.
QString ClaimFormWindow::painSiteToSave() const
{
    return symptomChecked(ecf4::kPainId) ? txtPainSite->text().simplified() : QString();
}

QString ClaimFormWindow::otherComplaintToSave() const
{
    return symptomChecked(ecf4::kOtherComplaintId) ? txtOtherComplaint->text().simplified() : QString();
}

bool ClaimFormWindow::symptomTextsTyped() const
{
    return painSiteToSave() != m_symptomEntry.baseText(kPainSite).trimmed()
        || otherComplaintToSave() != m_symptomEntry.baseText(kOtherComplaint).trimmed();
}

void ClaimFormWindow::fillSymptomTexts()
{
    txtPainSite->setText(m_symptomEntry.baseText(kPainSite).trimmed());
    txtOtherComplaint->setText(m_symptomEntry.baseText(kOtherComplaint).trimmed());
}

void ClaimFormWindow::readSymptomEntry(const std::optional<SeenRow>& entry, bool keepTyped)
{
    const bool typed = keepTyped && symptomTextsTyped();
    m_symptomEntry.read(entry, typed);
    if (!typed)
        fillSymptomTexts();
    followSymptoms();
    lblSymptomsNow->setText(QStringLiteral("Check each sign or symptom the patient came with; Pain needs its site "
                                           "and Others the complaint."));
}

void ClaimFormWindow::saveSymptoms()
{
    if (!m_form)
        return;
    QList<Library> typed;
    if (!checkCodedFindings({Library::SignsSymptoms}, typed))
        return;
    const QString painSite = painSiteToSave();
    const QString otherComplaint = otherComplaintToSave();
    if (symptomChecked(ecf4::kPainId) && isEmptyRemark(painSite))
        return refuse(txtPainSite, QStringLiteral("Pain site: with Pain checked, type where the pain is."));
    if (symptomChecked(ecf4::kOtherComplaintId) && isEmptyRemark(otherComplaint))
        return refuse(txtOtherComplaint, QStringLiteral("Other complaint: with Others checked, type the complaint."));
    Connection& connection = m_environment.user.sqlconnection();
    for (const auto& [field, name, value, column] :
         {std::tuple{txtPainSite, QStringLiteral("Pain site"), painSite, kPainSite},
          std::tuple{txtOtherComplaint, QStringLiteral("Other complaint"), otherComplaint, kOtherComplaint}}) {
        const InputCheck length = checkLength(name, value, cf4EntryLength(connection, column));
        if (!length.ok())
            return refuse(field, length.message);
    }
    const bool texts = symptomTextsTyped();
    if (typed.isEmpty() && !texts) {
        showMessage(QStringLiteral("Nothing was changed on this page; nothing was saved."), false);
        return;
    }
    QStringList logged;
    if (!write(QStringLiteral("The signs and symptoms"), true, [&] {
            requireConditionsAsSeen(typed);
            if (texts && readCf4Entry(connection, m_idNum) != m_symptomEntry.base())
                throw DatabaseError(QString::fromUtf8(kRecordChangedMessage));
            logged = writeCodedFindings(typed, false);
            if (texts) {
                saveCf4Entry(connection, m_idNum, m_symptomEntry.base(),
                             {{kPainSite, painSite}, {kOtherComplaint, otherComplaint}}, clerk(), now());
            }
        }))
        return;
    conditionsSaved(typed);
    if (!painSite.isEmpty())
        logged << QStringLiteral("pain site ") + painSite;
    if (!otherComplaint.isEmpty())
        logged << QStringLiteral("other complaint ") + otherComplaint;
    // Nothing of the page is typed any more: the read that follows shows what is stored.
    fillSymptomTexts();
    saved(QStringLiteral("signs and symptoms"), logged.join(QStringLiteral("; ")));
}

} // namespace vantik
