#include "worklist/frm_claim_worklist.h"

#include "host/component_error.h"
#include "host/data/connection.h"
#include "host/data/recordset.h"
#include "host/data/settings_store.h"
#include "host/ui/busy_guards.h"
#include "host/ui/clock.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_box.h"
#include "host/ui/repaint_pacer.h"
#include "host/claimforms/claim_form_classes.h"
#include "host/user/component_registry.h"
#include "host/user/current_user.h"
#include "worklist/claim_worklist_layout.h"
#include "worklist/filter_dates.h"
#include "worklist/vitals_statement.h"
#include "worklist/worklist_columns.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace vantik {

namespace {

FrmClaimWorklist* g_claimWorklist = nullptr;

constexpr const char* kApplication = "VANTIK";
constexpr const char* kSection = "CF4";
// The department whose users work the claims; the log-in admits only them.
constexpr const char* kDepartmentCode = "21";
constexpr const char* kLibraryHint = ". Update VODURIZevevar.dll";

// Worklist grid widths set at start-up (twips), by column. The discharge and
// verification times are as long as the registration time: at the grid's default
// width their time of day was cut.
constexpr std::pair<int, int> kStartWidths[] = {
    {worklist::RegDate, 2000},     {worklist::DischargeDate, 2000}, {worklist::PatientName, 2000},
    {worklist::CF4Status, 5000},   {worklist::CF4OpenBy, 2000},     {worklist::OpenOn, 2000},
    {worklist::VerifiedOn, 2000},  {worklist::Doctor1, 2000},       {worklist::Service, 1500},
    {worklist::DoctorId, 0},       {worklist::Account, 2000},       {worklist::AdmittingDr, 2000},
};

} // namespace

FrmClaimWorklist* claimWorklist()
{
    return g_claimWorklist;
}

FrmClaimWorklist::FrmClaimWorklist(WorklistServices services, QWidget* parent)
    : QMainWindow(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmClaimWorklist"));
    setWindowTitle(QStringLiteral("VANTIK Claims Worklist"));
    createControls();
    createMenu();
    applyWindowFont();
    connectHandlers();
    resize(twipsToPixels(worklist::kClientWidthTwips),
           twipsToPixels(worklist::kClientHeightTwips) + menuBar()->sizeHint().height());
    g_claimWorklist = this;
}

FrmClaimWorklist::~FrmClaimWorklist()
{
    if (g_claimWorklist == this)
        g_claimWorklist = nullptr;
}

void FrmClaimWorklist::connectHandlers()
{
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { RefreshWorklist(chkSortSD->isChecked() ? 1 : 0); });
    connect(cmdToday, &QPushButton::clicked, this, [this] {
        const QString today = dateBoxText(m_services.clock.today());
        txtStartDate->setText(today);
        txtEndDate->setText(today);
    });
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdStop, &QPushButton::clicked, this, [this] { stopFlag = true; });

    // Each kept filter is written the moment it changes, by the program's own changes too.
    connect(txtStartDate, &QLineEdit::textChanged, this,
            [this](const QString& text) { saveSetting(QStringLiteral("txtStartDate"), text); });
    connect(txtEndDate, &QLineEdit::textChanged, this,
            [this](const QString& text) { saveSetting(QStringLiteral("txtEndDate"), text); });
    for (QCheckBox* box : {chkHemoPatient, chkChemo, chkUnverifiedOnly, chkHasHemoNum, chkMedicare}) {
        connect(box, &QCheckBox::stateChanged, this, [this, box](int state) {
            saveSetting(box->objectName(), state == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0"));
        });
    }
    for (int index = 0; index < int(optPatType.size()); ++index) {
        connect(optPatType[index], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on)
                saveSetting(QStringLiteral("optPatType"), QString::number(index));
        });
    }
    connect(mPrintList, &QAction::triggered, cmdPrintList, &QPushButton::click);
    // The worklist grid's own "Export…": every listed row, as the grid holds it.
    connect(mExportList, &QAction::triggered, Grid1->exportAction(), &QAction::trigger);
}

void FrmClaimWorklist::saveSetting(const QString& key, const QString& value)
{
    if (!m_services.settings.write(QString::fromLatin1(kApplication), QString::fromLatin1(kSection), key, value))
        reportSettingsFailure();
}

void FrmClaimWorklist::reportSettingsFailure()
{
    const QString failure = m_services.settings.takeWriteFailure();
    if (!failure.isEmpty())
        m_services.messages.warning(this, failure);
}

void FrmClaimWorklist::startupStep(const std::function<void()>& step)
{
    try {
        step();
    } catch (const std::exception& error) {
        m_services.messages.warning(this, errorDescription(error) + QLatin1String(kLibraryHint));
    }
}

bool FrmClaimWorklist::load()
{
    pclsUser = m_services.registry.create(QString::fromLatin1(kCurrentUserProgId));
    pclsUser->PasswordDeptCode(QString::fromLatin1(kDepartmentCode));
    pclsUser->setexepath(m_services.executableFolder);
    pclsUser->ShowMain();
    if (!pclsUser->Connected())
        return false;
    reportSettingsFailure(); // the log-in's own choices may not have been kept
    // Said once, now, rather than by the first save that fails.
    if (const QString notice = pclsUser->sqlconnection().readOnlyNotice(); !notice.isEmpty())
        m_services.messages.information(this, notice);

    startupStep([this] { SSTab1->setCurrentIndex(0); });
    startupStep([this] { pclsUser->VODURIZevevar().UseClasses(true); });
    startupStep([this] { pclsUser->VODURIZevevar().InitWithDB(); });
    restoreFilters();
    startupStep([this] {
        for (const auto& [column, twips] : kStartWidths)
            Grid1->setColumnWidth(column, twips);
    });
    return true;
}

void FrmClaimWorklist::restoreFilters()
{
    const QString application = QString::fromLatin1(kApplication);
    const QString section = QString::fromLatin1(kSection);
    const QString today = dateBoxText(m_services.clock.today());
    const auto read = [&](const QString& key, const QString& fallback) {
        return m_services.settings.read(application, section, key, fallback);
    };
    const auto storedNumber = [&](const QString& key) {
        const QString stored = read(key, QStringLiteral("0"));
        bool ok = false;
        const int value = stored.trimmed().toInt(&ok);
        if (!ok)
            throw ComponentError(QStringLiteral("Type mismatch: the stored %1 \"%2\" is not a number").arg(key, stored));
        return value;
    };

    startupStep([&] { txtStartDate->setText(read(QStringLiteral("txtStartDate"), today)); });
    startupStep([&] { txtEndDate->setText(read(QStringLiteral("txtEndDate"), today)); });
    for (QCheckBox* box : {chkHemoPatient, chkChemo, chkUnverifiedOnly, chkHasHemoNum, chkMedicare}) {
        startupStep([&] {
            const int state = storedNumber(box->objectName());
            if (state != 0 && state != 1)
                throw ComponentError(
                    QStringLiteral("Invalid property value: the stored %1 %2 is no check state").arg(box->objectName()).arg(state));
            box->setChecked(state == 1);
        });
    }
    startupStep([&] {
        const int index = storedNumber(QStringLiteral("optPatType"));
        if (index < 0 || index >= int(optPatType.size()))
            throw ComponentError(
                QStringLiteral("Control array element %1 doesn't exist: the stored optPatType is no patient type").arg(index));
        optPatType[index]->setChecked(true);
    });
}

WorklistFilter FrmClaimWorklist::readFilter() const
{
    WorklistFilter filter;
    filter.outPatient = !optPatType[0]->isChecked();
    filter.byDischargeDate = !optDateType[0]->isChecked();
    filter.hospNum = txtHospNum->text();
    filter.idNum = txtIDNum->text();
    filter.startDate = txtStartDate->text();
    filter.endDate = txtEndDate->text();
    filter.lastName = txtLastName->text();
    filter.firstName = txtFirstName->text();
    filter.top500 = chkTop500->isChecked();
    filter.hemoPatient = chkHemoPatient->isChecked();
    filter.chemo = chkChemo->isChecked();
    filter.hasHemoNum = chkHasHemoNum->isChecked();
    filter.medicare = chkMedicare->isChecked();
    filter.discharged = optDischarged[1]->isChecked()   ? DischargeFilter::No
                        : optDischarged[2]->isChecked() ? DischargeFilter::Yes
                                                        : DischargeFilter::All;
    filter.unverifiedOnly = chkUnverifiedOnly->isChecked();
    filter.verifiedOnly = chkVerifiedOnly->isChecked();
    filter.doctorId = txtDrID->text();
    filter.assignedTo = txtAssignedTo->text();
    filter.verifiedBy = txtVerifiedBy->text();
    filter.changedBy = txtChangedBy->text();
    filter.openBy = txtOpenBy->text();
    return filter;
}

void FrmClaimWorklist::RefreshWorklist(int sortFlag)
{
    const WorklistFilter filter = readFilter();
    if (!filter.outPatient && isOutPatientId(filter.idNum)
        && !m_services.messages.question(this, QStringLiteral("Outpatient ID selected for In-Patient. Continue?")))
        return;

    QString statement;
    try {
        statement = buildWorklistStatement(filter, sortFlag);
    } catch (const FilterError& error) {
        m_services.messages.warning(this, QStringLiteral("Refresh: ") + errorDescription(error));
        return;
    }
    txtMessage->setText(statement);
    txtMessage->setCursorPosition(0);

    try {
        std::optional<BusyPointer> busy(std::in_place);
        Grid1->reset(2, Grid1->columnCount());
        Grid1->bind(pclsUser->sqlconnection().execute(statement));

        const int dataRows = Grid1->rowCount() - 1;
        if (dataRows <= 1 && chkHemoPatient->isChecked() && optPatType[0]->isChecked()) {
            busy.reset(); // the clerk reads the hint with the normal pointer
            m_services.messages.information(this, QStringLiteral("There maybe no inpatient hemodialysis patients"));
            chkHemoPatient->setChecked(false);
            busy.emplace();
        }
        if (chkGETVitals->isChecked())
            listVitalSigns();
        busy.reset();
        lblCount->setText(QString::number(Grid1->rowCount() - 1));
    } catch (const std::exception& error) {
        m_services.messages.warning(this, QStringLiteral("Refresh: ") + errorDescription(error));
    }
}

void FrmClaimWorklist::listVitalSigns()
{
    // The pass holds the window until it ends: no yield, as the refresh never yields.
    // As a batch, its log lines reach the log window a frame's worth at a time.
    const int rows = Grid1->rowCount() - 1;
    Connection& connection = pclsUser->sqlconnection();
    BatchScope batch;
    Recordset vitals;
    for (int row = 1; row <= rows; ++row) {
        const QString idNum = Grid1->text(row, worklist::IdNum);
        vitals.open(vitalsStatement(idNum), connection, CursorType::ForwardOnly, LockType::ReadOnly);
        pclsUser->addlog(vitalsLine(idNum, vitals));
        vitals.close();
        RepaintPacer::instance().paintIfDue();
    }
}

void FrmClaimWorklist::operationEnded()
{
    --m_runningOperations;
    // The close the clerk asked for waits until the operation is off the stack.
    if (m_runningOperations == 0 && m_closeRequested)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void FrmClaimWorklist::closeEvent(QCloseEvent* event)
{
    // A close can arrive during an operation's yield. Closing there would leave the
    // operation running on behind a window the clerk no longer sees.
    if (operationRunning()) {
        event->ignore();
        if (!m_closeRequested
            && m_services.messages.question(this, QStringLiteral("An operation is still running. Stop it and close?"))) {
            m_closeRequested = true;
            stopFlag = true;
        }
        return;
    }
    if (!closeOtherWindows()) {
        m_closeRequested = false;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool FrmClaimWorklist::closeOtherWindows()
{
    // The drug, report and chart windows, the claim forms and the user log all work
    // on this window's list and connection: the program ends with this window.
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other == this || !other->isVisible() || other->windowType() == Qt::Popup
            || other->windowType() == Qt::ToolTip)
            continue;
        if (!other->close())
            return false;
    }
    return true;
}

void FrmClaimWorklist::keyPressEvent(QKeyEvent* event)
{
    // Enter reaches here from the boxes and check boxes: the window's default
    // button, or the focused button. Esc is the hidden Close button's.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // In the worklist grid Enter opens the row's claim form; refreshing as
        // well would lose the clerk's place in the list.
        if (Grid1->isAncestorOf(focusWidget()))
            return;
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); focused && focused->isVisible())
            focused->click();
        else
            cmdRefresh->click();
        return;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdClose->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace vantik
