// The entry window's saves, one per section: the input checked before anything is
// written, the write checked against the row the clerk typed on, one user-log line.

#include "host/claimforms/claim_form_input.h"
#include "host/claimforms/claim_form_window.h"
#include "host/claimforms/claim_form_window_text.h"
#include "host/component_error.h"
#include "host/data/database_error.h"
#include "host/user/current_user.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace vantik {

namespace {

// Messages name what the save writes, with the verb that agrees with it. A save
// whose connection broke may still have gone through: the clerk must not be told
// that it did not.
QString notSaved(ClaimFormSection section, const std::exception& error)
{
    QString what;
    bool plural = false;
    switch (section) {
    case ClaimFormSection::BriefHistory:
        what = QStringLiteral("The brief history");
        break;
    case ClaimFormSection::VitalSigns:
        what = QStringLiteral("The vital signs");
        plural = true;
        break;
    case ClaimFormSection::HeightWeight:
        what = QStringLiteral("The height and weight");
        plural = true;
        break;
    case ClaimFormSection::GuEntry:
        what = QStringLiteral("The GU(IE) finding");
        break;
    case ClaimFormSection::CourseInTheWard:
        what = QStringLiteral("The note");
        break;
    default:
        return saveOutcomeUnknown(error) ? QStringLiteral("It is not known whether anything was saved")
                                         : QStringLiteral("Nothing was saved");
    }
    if (saveOutcomeUnknown(error))
        return what + QStringLiteral(" may not have been saved");
    return what + (plural ? QStringLiteral(" were not saved") : QStringLiteral(" was not saved"));
}

} // namespace

void ClaimFormWindow::refuse(QWidget* field, const QString& message)
{
    m_touched = true;
    showMessage(message + QStringLiteral(" Nothing was saved."), true);
    field->setFocus();
}

bool ClaimFormWindow::fits(QWidget* field, const QString& name, const QString& value, EntryColumn column)
{
    const InputCheck length =
        checkLength(name, value, declaredLength(m_environment.user.sqlconnection(), column, m_form->outPatient));
    if (!length.ok())
        refuse(field, length.message);
    return length.ok();
}

bool ClaimFormWindow::write(ClaimFormSection section, const std::function<void()>& write)
{
    return runWrite([section](const std::exception& error) { return notSaved(section, error); }, write);
}

bool ClaimFormWindow::write(const QString& what, bool plural, const std::function<void()>& write)
{
    return runWrite(
        [&](const std::exception& error) {
            if (saveOutcomeUnknown(error))
                return what + QStringLiteral(" may not have been saved");
            return what + (plural ? QStringLiteral(" were not saved") : QStringLiteral(" was not saved"));
        },
        write);
}

bool ClaimFormWindow::runWrite(const std::function<QString(const std::exception&)>& notSaved,
                               const std::function<void()>& write)
{
    m_touched = true;
    if (!m_form)
        return false;
    try {
        write();
    } catch (const DatabaseError& error) {
        if (error.message() != QLatin1String(kRecordChangedMessage)) {
            showMessage(notSaved(error) + QStringLiteral(": ") + error.message(), true);
            return false;
        }
        // Read again with the typing kept on its own rows: the page shows what the
        // other user saved, and the clerk chooses.
        load(true);
        showMessage(QStringLiteral("This claim form was changed by another user since it was read; nothing was "
                                   "saved. The tab shows what is saved now: keep theirs, or save yours anyway."),
                    true);
        return false;
    } catch (const std::exception& error) {
        showMessage(notSaved(error) + QStringLiteral(": ") + errorDescription(error), true);
        return false;
    }
    return true;
}

QString ClaimFormWindow::writeUserLog(const QString& line)
{
    try {
        m_environment.user.addlog(line);
    } catch (const std::exception& error) {
        return errorDescription(error);
    }
    return QString();
}

void ClaimFormWindow::saved(ClaimFormSection section, const QString& logged)
{
    saved(sectionName(section), logged);
}

void ClaimFormWindow::saved(const QString& name, const QString& logged)
{
    const QString logFailure = writeUserLog(QStringLiteral("%1 CF4 %2: %3").arg(m_idNum, name, logged));
    load(true);
    if (logFailure.isEmpty())
        showMessage(QStringLiteral("Saved the %1.").arg(name), false);
    else
        showMessage(QStringLiteral("Saved the %1, but the user log could not be written: %2").arg(name, logFailure),
                    true);
}

void ClaimFormWindow::saveBriefHistory()
{
    if (!m_form)
        return;
    const InputCheck history =
        checkText(QStringLiteral("Brief history"), txtBriefHistory->toPlainText(), true,
                  declaredLength(m_environment.user.sqlconnection(), EntryColumn::BriefHistory, m_form->outPatient));
    if (!history.ok())
        return refuse(txtBriefHistory, history.message);
    if (!write(ClaimFormSection::BriefHistory, [&] {
            vantik::saveBriefHistory(m_environment.user.sqlconnection(), m_idNum, m_form->outPatient, m_history.base(),
                                     history.value);
        }))
        return;
    // Saved: nothing of the page is typed any more, and the reload shows the text as stored.
    fillHistory();
    saved(ClaimFormSection::BriefHistory, history.value);
}

void ClaimFormWindow::saveVitalSigns()
{
    if (!m_form)
        return;
    const InputCheck takenOn = checkTakenOn(QStringLiteral("Taken on"), dtpVitalsTakenOn->dateTime(),
                                            m_form->admittedAt, m_form->dischargedAt, now());
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
    if (!fits(txtBloodPressure, QStringLiteral("Blood pressure"), pressure.value, EntryColumn::BloodPressure)
        || !fits(txtTemperature, QStringLiteral("Temperature"), temperature.value, EntryColumn::Temperature)
        || !fits(txtPulseRate, QStringLiteral("Pulse"), pulse.value, EntryColumn::PulseRate)
        || !fits(txtRespiratoryRate, QStringLiteral("Respiratory rate"), respiration.value,
                 EntryColumn::RespiratoryRate))
        return;

    const VitalSignsEntry entry{takenOn.value, pressure.value, temperature.value, pulse.value, respiration.value};
    if (!write(ClaimFormSection::VitalSigns, [&] {
            addVitalSigns(m_environment.user.sqlconnection(), m_idNum, m_form->outPatient, entry, clerk());
        }))
        return;
    const QString logged = QStringLiteral("%1 BP %2, temperature %3, pulse %4, respiratory rate %5")
                               .arg(shownTime(dtpVitalsTakenOn->dateTime()), pressure.value, temperature.value,
                                    pulse.value, respiration.value);
    for (QLineEdit* box : {txtBloodPressure, txtTemperature, txtPulseRate, txtRespiratoryRate})
        box->clear();
    saved(ClaimFormSection::VitalSigns, logged);
    resetTakenOn();
}

void ClaimFormWindow::saveHeightWeight()
{
    if (!m_form)
        return;
    // With a history record the page changes its height and weight, nothing else
    // of it; only a new record takes the date typed.
    const std::optional<SeenRow> record = m_measurements.base();
    QString takenOnValue;
    QString takenOnShown = orDash(shownTime(dateTimeOfText(m_measurements.baseText(QStringLiteral("HistoryDate")))));
    if (!record) {
        const InputCheck takenOn = checkTakenOn(QStringLiteral("Taken on"), dtpMeasuredOn->dateTime(),
                                                m_form->admittedAt, m_form->dischargedAt, now());
        if (!takenOn.ok())
            return refuse(dtpMeasuredOn, takenOn.message);
        takenOnValue = takenOn.value;
        takenOnShown = shownTime(dtpMeasuredOn->dateTime());
    }
    const InputCheck height = checkHeight(txtHeight->text());
    if (!height.ok())
        return refuse(txtHeight, height.message);
    const InputCheck weight = checkWeight(txtWeight->text());
    if (!weight.ok())
        return refuse(txtWeight, weight.message);
    if (!fits(txtHeight, QStringLiteral("Height (cm)"), height.value, EntryColumn::Height)
        || !fits(txtWeight, QStringLiteral("Weight (kg)"), weight.value, EntryColumn::Weight))
        return;

    if (!write(ClaimFormSection::HeightWeight, [&] {
            vantik::saveHeightWeight(m_environment.user.sqlconnection(), m_idNum, m_form->outPatient, record,
                                     takenOnValue, height.value, weight.value);
        }))
        return;
    fillMeasurements();
    saved(ClaimFormSection::HeightWeight,
          QStringLiteral("%1 height %2 cm, weight %3 kg").arg(takenOnShown, height.value, weight.value));
    resetTakenOn();
}

void ClaimFormWindow::saveGuFinding()
{
    if (!m_form)
        return;
    const InputCheck finding =
        checkText(QStringLiteral("GU(IE) finding"), cboGuFinding->currentText(), false,
                  declaredLength(m_environment.user.sqlconnection(), EntryColumn::GuFinding, m_form->outPatient));
    if (!finding.ok())
        return refuse(cboGuFinding, finding.message);
    if (!write(ClaimFormSection::GuEntry, [&] {
            setGuFinding(m_environment.user.sqlconnection(), m_idNum, m_gu.base(), finding.value, clerk());
        }))
        return;
    fillGuFinding();
    saved(ClaimFormSection::GuEntry, finding.value);
}

void ClaimFormWindow::saveCourseNote()
{
    if (!m_form)
        return;
    const InputCheck writtenOn = checkTakenOn(QStringLiteral("Written on"), dtpNoteWrittenOn->dateTime(),
                                              m_form->admittedAt, m_form->dischargedAt, now());
    if (!writtenOn.ok())
        return refuse(dtpNoteWrittenOn, writtenOn.message);
    const InputCheck note =
        checkText(QStringLiteral("Note"), txtCourseNote->toPlainText(), false,
                  declaredLength(m_environment.user.sqlconnection(), EntryColumn::CourseNote, m_form->outPatient));
    if (!note.ok())
        return refuse(txtCourseNote, note.message);
    if (!write(ClaimFormSection::CourseInTheWard, [&] {
            addCourseNote(m_environment.user.sqlconnection(), m_idNum, writtenOn.value, note.value, clerk());
        }))
        return;
    const QString logged = shownTime(dtpNoteWrittenOn->dateTime()) + QLatin1Char(' ') + note.value;
    txtCourseNote->clear();
    saved(ClaimFormSection::CourseInTheWard, logged);
    resetTakenOn();
}

} // namespace vantik
