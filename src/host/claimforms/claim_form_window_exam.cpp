// The physical examination page: one row per system with PhilHealth's active
// findings, written as the HIS's own records in its own words. Each system's
// records are checked whole against what the window read, so another clerk's
// change is never overwritten unseen.

#include "host/claimforms/cf4_entry.h"
#include "host/claimforms/claim_form_input.h"
#include "host/claimforms/claim_form_page_parts.h"
#include "host/claimforms/claim_form_window.h"
#include "host/claimforms/conflict_bar.h"
#include "host/claimforms/finding_checks.h"
#include "host/component_error.h"
#include "host/data/database_error.h"
#include "host/user/current_user.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vantik {

namespace {

using ecf4::Library;
using namespace page;

// The control names' part for each system: chkHeent16, txtGenitourinaryRemark...
const char* const kExamNames[ecf4::kExamSystems] = {"Skin", "Heent", "Chest", "Heart", "Abdomen", "Neuro",
                                                    "Genitourinary"};

QList<Library> examLibraries()
{
    QList<Library> systems;
    for (int s = 0; s < ecf4::kExamSystems; ++s)
        systems << Library(s);
    return systems;
}

// The rows of one library out of every condition record of the admission.
QList<SeenRow> rowsOfLibrary(const QList<SeenRow>& all, Library library, const Cf4Wording& wording)
{
    QList<SeenRow> rows;
    const QString area = Cf4Wording::area(library);
    const QString subArea = wording.subArea(library);
    for (const SeenRow& row : all) {
        if (row.text(QStringLiteral("AreaCat")).trimmed().compare(area, Qt::CaseInsensitive) == 0
            && row.text(QStringLiteral("AreaSubCat")).trimmed().compare(subArea, Qt::CaseInsensitive) == 0)
            rows << row;
    }
    std::sort(rows.begin(), rows.end(), [](const SeenRow& a, const SeenRow& b) { return a.texts < b.texts; });
    return rows;
}

QString theirFindings(const QList<SeenRow>& rows)
{
    QStringList words;
    for (const SeenRow& row : rows) {
        const QString remark = row.text(QStringLiteral("Remarks")).trimmed();
        words << row.text(QStringLiteral("Description")).trimmed()
                     + (remark.isEmpty() ? QString() : QStringLiteral(" (") + remark + QLatin1Char(')'));
    }
    return words.isEmpty() ? QStringLiteral("no finding") : words.join(QStringLiteral("; "));
}

} // namespace

QWidget* ClaimFormWindow::buildExamPage()
{
    lblExamNow = nowLabel("lblExamNow");
    auto* rows = new QWidget;
    auto* rowsLayout = new QVBoxLayout(rows);
    for (int s = 0; s < ecf4::kExamSystems; ++s) {
        const Library system = Library(s);
        auto* row = new FindingChecks(system, QString::fromUtf8(ecf4::libraryInfo(system).clerkName),
                                      QString::fromLatin1(kExamNames[s]), 4);
        fraExam[std::size_t(s)] = row;
        rowsLayout->addWidget(row);
        connect(row, &FindingChecks::changed, this, [this] { showConditionConflicts(); });
        for (QWidget* control : row->controls())
            savesOnEnter(control, &ClaimFormWindow::saveExam);
    }
    // The GU marking's finding, as the marking writes it, under the GU row.
    auto* marking = named(new QGroupBox(QStringLiteral("GU(IE) finding as the GU marking records it")),
                          "fraGuMarking", QStringLiteral("GU(IE) finding as the GU marking records it"));
    auto* markingLayout = new QVBoxLayout(marking);
    markingLayout->setContentsMargins(0, 0, 0, 0);
    markingLayout->addWidget(buildGuPage());
    rowsLayout->addWidget(marking);
    rowsLayout->addStretch(1);
    auto* scroll = named(new QScrollArea, "scrExam", QStringLiteral("Physical examination by system"));
    scroll->setWidget(rows);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);

    cmdSaveExam = named(new QPushButton(QStringLiteral("&Save")), "cmdSaveExam",
                        QStringLiteral("Save the physical examination"));
    fraExamConflict = new ConflictBar(QStringLiteral("Exam"), QStringLiteral("physical examination"));
    connect(cmdSaveExam, &QPushButton::clicked, this, &ClaimFormWindow::saveExam);
    connect(fraExamConflict->cmdKeepTheirs, &QPushButton::clicked, this,
            [this] { keepTheirConditions(examLibraries()); });
    connect(fraExamConflict->cmdSaveMine, &QPushButton::clicked, this, [this] {
        for (const Library system : examLibraries())
            m_conditions[std::size_t(system)].base = m_conditions[std::size_t(system)].current;
        showConditionConflicts();
        saveExam();
    });

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblExamNow);
    layout->addWidget(scroll, 1);
    layout->addWidget(fraExamConflict);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSaveExam);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return page;
}

FindingChecks* ClaimFormWindow::checksOf(Library library) const
{
    if (int(library) < ecf4::kExamSystems)
        return fraExam[std::size_t(library)];
    return chkSymptoms;
}

bool ClaimFormWindow::conditionsTyped(Library library) const
{
    const FindingChecks* checks = checksOf(library);
    if (!m_wording || !checks)
        return false;
    return checks->chosen() != recordedFindings(m_conditions[std::size_t(library)].base, library, *m_wording).chosen;
}

void ClaimFormWindow::readConditions(bool keepTyped)
{
    QList<SeenRow> all;
    std::optional<SeenRow> entry;
    try {
        m_wording = Cf4Wording::read(m_environment.user.sqlconnection());
        m_wordingError.clear();
        all = readAllConditionRows(m_environment.user.sqlconnection(), m_idNum);
        entry = readCf4Entry(m_environment.user.sqlconnection(), m_idNum);
    } catch (const std::exception& error) {
        m_wording.reset();
        m_wordingError = errorDescription(error);
    }
    // The pages that write the program's own row need it (or its table) to be there.
    for (QWidget* page : {cmdSaveSymptoms->parentWidget(), cmdSaveSurvey->parentWidget()})
        page->setEnabled(m_wording.has_value());
    readSymptomEntry(entry, keepTyped);
    readSurveyEntry(entry, m_seen.complaint, keepTyped);
    const QString unavailable = QStringLiteral("The findings cannot be edited here: ") + m_wordingError;
    lblExamNow->setText(m_wording ? QStringLiteral("Check what was found for each system; \"Essentially normal\" "
                                                   "stands alone. Save writes the systems you changed.")
                                  : unavailable);
    for (int l = 0; l < ecf4::kLibraryCount; ++l) {
        const Library library = Library(l);
        FindingChecks* checks = checksOf(library);
        if (!checks)
            continue;
        checks->setEnabled(m_wording.has_value());
        if (!m_wording)
            continue;
        ConditionBaseline& baseline = m_conditions[std::size_t(l)];
        const bool typed = keepTyped && conditionsTyped(library);
        baseline.current = rowsOfLibrary(all, library, *m_wording);
        // Another user saving just what the clerk chose leaves nothing to decide.
        if (!typed
            || recordedFindings(baseline.current, library, *m_wording).chosen == checks->chosen()
            || baseline.base == baseline.current)
            baseline.base = baseline.current;
        if (!typed || baseline.base == baseline.current)
            checks->setChosen(recordedFindings(baseline.base, library, *m_wording));
    }
    showConditionConflicts();
}

void ClaimFormWindow::showConditionConflicts()
{
    const auto show = [this](ConflictBar* bar, const QList<Library>& libraries) {
        if (!bar) // the window is still being made
            return;
        QStringList theirs;
        for (const Library library : libraries) {
            const ConditionBaseline& baseline = m_conditions[std::size_t(library)];
            if (m_wording && conditionsTyped(library) && baseline.base != baseline.current)
                theirs << QString::fromUtf8(ecf4::libraryInfo(library).clerkName) + QStringLiteral(": ")
                              + theirFindings(baseline.current);
        }
        if (theirs.isEmpty())
            bar->hide();
        else
            bar->showTheirs(theirs.join(QStringLiteral(" | ")));
    };
    show(fraExamConflict, examLibraries());
    show(fraSymptomsConflict, {Library::SignsSymptoms});
}

void ClaimFormWindow::keepTheirConditions(const QList<Library>& libraries)
{
    if (!m_wording)
        return;
    for (const Library library : libraries) {
        ConditionBaseline& baseline = m_conditions[std::size_t(library)];
        baseline.base = baseline.current;
        checksOf(library)->setChosen(recordedFindings(baseline.base, library, *m_wording));
    }
    showConditionConflicts();
    showSections();
    showMessage(QStringLiteral("Kept what the other user saved; your choices were dropped."), false);
}

bool ClaimFormWindow::checkCodedFindings(const QList<Library>& libraries, QList<Library>& typed)
{
    if (!m_wording) {
        showMessage(QStringLiteral("Nothing was saved: ") + m_wordingError, true);
        return false;
    }
    for (const Library library : libraries) {
        if (!conditionsTyped(library))
            continue;
        FindingChecks* checks = checksOf(library);
        if (const QString problem = checks->problem(); !problem.isEmpty()) {
            refuse(checks->problemField(), problem);
            return false;
        }
        if (checks->txtRemark
            && !fits(checks->txtRemark, checks->title() + QStringLiteral(", Others"),
                     checks->txtRemark->text().simplified(), EntryColumn::GuFinding))
            return false;
        typed << library;
    }
    return true;
}

void ClaimFormWindow::requireConditionsAsSeen(const QList<Library>& typed)
{
    // Every library is checked before any is written: a conflict in one saves none.
    for (const Library library : typed) {
        if (readConditionRows(m_environment.user.sqlconnection(), m_idNum, library, *m_wording)
            != m_conditions[std::size_t(library)].base)
            throw DatabaseError(QString::fromUtf8(kRecordChangedMessage));
    }
}

QStringList ClaimFormWindow::writeCodedFindings(const QList<Library>& typed, bool nameEach)
{
    QStringList logged;
    for (const Library library : typed) {
        const QString change = saveConditions(m_environment.user.sqlconnection(), m_idNum, library, *m_wording,
                                              m_conditions[std::size_t(library)].base, checksOf(library)->chosen(),
                                              clerk(), now());
        logged << (nameEach ? QString::fromUtf8(ecf4::libraryInfo(library).clerkName) + QStringLiteral(": ") + change
                            : change);
    }
    return logged;
}

void ClaimFormWindow::conditionsSaved(const QList<Library>& typed)
{
    // The read that follows the save makes the records the page's baseline.
    for (const Library library : typed) {
        m_conditions[std::size_t(library)].base.clear();
        checksOf(library)->setChosen({});
    }
}

void ClaimFormWindow::saveExam()
{
    if (!m_form)
        return;
    QList<Library> typed;
    if (!checkCodedFindings(examLibraries(), typed))
        return;
    if (typed.isEmpty()) {
        showMessage(QStringLiteral("No system was changed; nothing was saved."), false);
        return;
    }
    QStringList logged;
    if (!write(QStringLiteral("The physical examination"), false, [&] {
            requireConditionsAsSeen(typed);
            logged = writeCodedFindings(typed, true);
        }))
        return;
    conditionsSaved(typed);
    saved(QStringLiteral("physical exam"), logged.join(QStringLiteral(" | ")));
}

} // namespace vantik
