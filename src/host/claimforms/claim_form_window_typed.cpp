// What the clerk typed in the entry window and the rows it was typed on: a
// section's baseline moves only when its text is saved or dropped, so a reload
// never lets a save overwrite what another user saved in between unseen.

#include "host/claimforms/claim_form_window.h"
#include "host/claimforms/claim_form_window_text.h"
#include "host/claimforms/conflict_bar.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace vantik {

namespace {

const QString kBriefHistory = QStringLiteral("BriefHistory");
const QString kRemarks = QStringLiteral("Remarks");
const QString kHeight = QStringLiteral("Height");
const QString kWeight = QStringLiteral("Weight");

QString recordDate(const std::optional<SeenRow>& record)
{
    return record ? orDash(shownTime(dateTimeOfText(record->text(QStringLiteral("HistoryDate"))))) : QString();
}

// What another user saved, as the page shows it, with who and when where the table says.
QString theirHistory(const std::optional<SeenRow>& visit)
{
    return visit ? orDash(visit->text(kBriefHistory)) : QStringLiteral("the admission is no longer there");
}

QString theirGuFinding(const std::optional<SeenRow>& entry)
{
    if (!entry)
        return QStringLiteral("no GU(IE) finding");
    QString text = QStringLiteral("%1 (code %2, result %3)")
                       .arg(orDash(entry->text(kRemarks)), orDash(entry->text(QStringLiteral("Code"))),
                            orDash(entry->text(QStringLiteral("Result"))));
    const QString by = entry->text(QStringLiteral("EncodedBy"));
    if (!by.trimmed().isEmpty()) {
        text += QStringLiteral(", entered by %1 on %2")
                    .arg(by, orDash(shownTime(dateTimeOfText(entry->text(QStringLiteral("EncodedOn"))))));
    }
    return text;
}

QString theirMeasurements(const std::optional<SeenRow>& record)
{
    if (!record)
        return QStringLiteral("no history record");
    return QStringLiteral("height %1, weight %2 (history record of %3)")
        .arg(orDash(record->text(kHeight)), orDash(record->text(kWeight)), recordDate(record));
}

} // namespace

bool ClaimFormWindow::historyTyped() const
{
    return txtBriefHistory->toPlainText() != m_history.baseText(kBriefHistory);
}

bool ClaimFormWindow::guTyped() const
{
    return cboGuFinding->currentText().trimmed() != m_gu.baseText(kRemarks).trimmed();
}

bool ClaimFormWindow::measurementsTyped() const
{
    return txtHeight->text().trimmed() != m_measurements.baseText(kHeight).trimmed()
        || txtWeight->text().trimmed() != m_measurements.baseText(kWeight).trimmed();
}

void ClaimFormWindow::takeReadRows(bool keepTyped)
{
    const bool history = keepTyped && historyTyped();
    const bool gu = keepTyped && guTyped();
    const bool measurements = keepTyped && measurementsTyped();
    m_history.read(m_seen.visit, history);
    m_gu.read(m_seen.guEntry, gu);
    m_measurements.read(m_seen.firstHistory, measurements);
    // Another user saving just what the clerk typed leaves nothing to decide.
    if (history && m_history.current() && txtBriefHistory->toPlainText() == m_history.current()->text(kBriefHistory))
        m_history.takeCurrent();
    if (gu && m_gu.current() && cboGuFinding->currentText().trimmed() == m_gu.current()->text(kRemarks).trimmed())
        m_gu.takeCurrent();
    if (measurements && m_measurements.current()
        && txtHeight->text().trimmed() == m_measurements.current()->text(kHeight).trimmed()
        && txtWeight->text().trimmed() == m_measurements.current()->text(kWeight).trimmed())
        m_measurements.takeCurrent();
    if (!history)
        fillHistory();
    if (!gu)
        fillGuFinding();
    if (!measurements)
        fillMeasurements();
    // A record to edit keeps its own date; the page writes only its height and weight.
    const QDateTime recorded = dateTimeOfText(m_measurements.baseText(QStringLiteral("HistoryDate")));
    if (m_measurements.base() && recorded.isValid())
        dtpMeasuredOn->setDateTime(recorded);
    dtpMeasuredOn->setEnabled(!m_measurements.base());
    dtpMeasuredOn->setToolTip(m_measurements.base() ? QStringLiteral("The date of the admission's first history "
                                                                     "record; it is not changed here.")
                                                    : QString());
    showConflicts();
}

void ClaimFormWindow::fillHistory()
{
    txtBriefHistory->setPlainText(m_history.baseText(kBriefHistory));
}

void ClaimFormWindow::fillGuFinding()
{
    cboGuFinding->setEditText(m_gu.baseText(kRemarks));
}

void ClaimFormWindow::fillMeasurements()
{
    txtHeight->setText(m_measurements.baseText(kHeight).trimmed());
    txtWeight->setText(m_measurements.baseText(kWeight).trimmed());
}

void ClaimFormWindow::showConflicts()
{
    const auto show = [](ConflictBar* bar, bool conflict, const QString& theirs) {
        if (conflict)
            bar->showTheirs(theirs);
        else
            bar->hide();
    };
    show(fraHistoryConflict, historyTyped() && m_history.changedUnder(), theirHistory(m_history.current()));
    show(fraGuConflict, guTyped() && m_gu.changedUnder(), theirGuFinding(m_gu.current()));
    show(fraMeasurementsConflict, measurementsTyped() && m_measurements.changedUnder(),
         theirMeasurements(m_measurements.current()));
}

void ClaimFormWindow::keepTheirs(ClaimFormSection section)
{
    switch (section) {
    case ClaimFormSection::BriefHistory:
        m_history.takeCurrent();
        fillHistory();
        break;
    case ClaimFormSection::GuEntry:
        m_gu.takeCurrent();
        fillGuFinding();
        break;
    case ClaimFormSection::HeightWeight:
        m_measurements.takeCurrent();
        fillMeasurements();
        break;
    default:
        return;
    }
    // The page now edits what is saved (the first history record may be new to it).
    takeReadRows(true);
    showSections();
    showMessage(QStringLiteral("Kept what the other user saved; your typing was dropped."), false);
}

void ClaimFormWindow::saveMine(ClaimFormSection section)
{
    // The clerk has seen what is saved now and replaces it knowingly; should it
    // change yet again before the save lands, the save is refused as before.
    switch (section) {
    case ClaimFormSection::BriefHistory:
        m_history.takeCurrent();
        showConflicts();
        saveBriefHistory();
        break;
    case ClaimFormSection::GuEntry:
        m_gu.takeCurrent();
        showConflicts();
        saveGuFinding();
        break;
    case ClaimFormSection::HeightWeight:
        m_measurements.takeCurrent();
        showConflicts();
        saveHeightWeight();
        break;
    default:
        break;
    }
}

} // namespace vantik
