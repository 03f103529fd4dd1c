#include "worklist/frm_claim_worklist.h"

#include "host/component_error.h"
#include "host/data/connection.h"
#include "host/data/recordset.h"
#include "host/data/settings_store.h"
#include "host/ui/busy_guards.h"
#include "host/ui/clock.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/font_fit.h"
#include "host/ui/message_box.h"
#include "host/ui/repaint_pacer.h"
#include "host/ui/wrapping_buttons.h"
#include "host/claimforms/claim_form_classes.h"
#include "host/user/component_registry.h"
#include "host/user/current_user.h"
#include "worklist/claim_worklist_layout.h"
#include "worklist/filter_dates.h"
#include "worklist/vitals_statement.h"
#include "worklist/worklist_columns.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
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
constexpr const char* kWindowFont = "Segoe UI Emoji";
constexpr const char* kTitleFont = "Segoe UI";
constexpr double kDesignPointSize = 8.25;

// Worklist grid widths set at start-up (twips), by column. The discharge and
// verification times are as long as the registration time: at the grid's default
// width their time of day was cut.
constexpr std::pair<int, int> kStartWidths[] = {
    {worklist::RegDate, 2000},     {worklist::DischargeDate, 2000}, {worklist::PatientName, 2000},
    {worklist::CF4Status, 5000},   {worklist::CF4OpenBy, 2000},     {worklist::OpenOn, 2000},
    {worklist::VerifiedOn, 2000},  {worklist::Doctor1, 2000},       {worklist::Service, 1500},
    {worklist::DoctorId, 0},       {worklist::Account, 2000},       {worklist::AdmittingDr, 2000},
};

// The activity log of the design lies partly under the Stop button: its newest
// line, on top, would be half hidden. Its text starts below the button.
class ActivityLog : public QPlainTextEdit {
public:
    explicit ActivityLog(QWidget* parent)
        : QPlainTextEdit(parent)
    {
        setViewportMargins(0, twipsToPixels(worklist::logTopUnderStop()), 0, 0);
        // The strip above the text in the box's colour, not the window's.
        setBackgroundRole(QPalette::Base);
        setAutoFillBackground(true);
    }
};

QString controlKey(const char* name, int index)
{
    return index < 0 ? QString::fromLatin1(name) : QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QWidget* createControl(const worklist::ControlDesign& design, QWidget* parent)
{
    const QString name = QString::fromLatin1(design.name);
    const QString caption = QString::fromUtf8(design.caption);
    QWidget* control = nullptr;
    if (name == QLatin1String("txtLog")) {
        auto* log = new ActivityLog(parent);
        log->setLineWrapMode(QPlainTextEdit::NoWrap);
        log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        control = log;
    } else if (name.startsWith(QLatin1String("txt"))) {
        control = new QLineEdit(parent);
    } else if (name.startsWith(QLatin1String("Label")) || name.startsWith(QLatin1String("lbl"))) {
        control = new QLabel(caption, parent);
    } else if (name.startsWith(QLatin1String("cmd"))) {
        control = new WrapPushButton(caption, parent);
    } else if (name.startsWith(QLatin1String("chk"))) {
        control = new WrapCheckBox(caption, parent);
    } else if (name.startsWith(QLatin1String("opt"))) {
        control = new QRadioButton(caption, parent);
    } else if (name.startsWith(QLatin1String("Frame")) || name.startsWith(QLatin1String("fra"))) {
        control = new QGroupBox(caption, parent);
    } else if (name.startsWith(QLatin1String("SSTab"))) {
        control = new QTabWidget(parent);
    } else {
        control = new FlexGridWidget(parent);
    }
    control->setObjectName(name);
    if (design.index >= 0)
        control->setProperty("index", design.index);
    control->setGeometry(design.rect.toPixels());
    return control;
}

// The room a control gives its caption, in pixels.
std::optional<QSize> captionRoom(const worklist::ControlDesign& design)
{
    const QString name = QString::fromLatin1(design.name);
    if (QByteArray(design.caption).isEmpty() || name.startsWith(QLatin1String("txt")))
        return std::nullopt;
    QRect rect = design.rect.toPixels();
    rect.setLeft(std::max(rect.left(), 0)); // the part of an overhanging label that shows
    if (name.startsWith(QLatin1String("cmd")))
        return QSize(rect.width() - 8, rect.height() - 4);
    if (name.startsWith(QLatin1String("chk")) || name.startsWith(QLatin1String("opt")))
        return QSize(rect.width() - 20, rect.height());
    if (name.startsWith(QLatin1String("Frame")) || name.startsWith(QLatin1String("fra")))
        return QSize(rect.width() - 16, QFontMetrics(QFont()).height() * 2);
    return rect.size();
}

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

void FrmClaimWorklist::createControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(client);

    QHash<QString, QWidget*> made;
    QHash<worklist::Container, QWidget*> containers{{worklist::Container::Window, client}};
    for (const worklist::ControlDesign& design : worklist::claimWorklistDesign()) {
        QWidget* control = createControl(design, containers.value(design.container));
        made.insert(controlKey(design.name, design.index), control);
        const QString name = QString::fromLatin1(design.name);
        if (name == QLatin1String("Frame1"))
            containers.insert(worklist::Container::Frame1, control);
        else if (name == QLatin1String("Frame2"))
            containers.insert(worklist::Container::Frame2, control);
        else if (name == QLatin1String("fraSearchBy"))
            containers.insert(worklist::Container::FraSearchBy, control);
        else if (name == QLatin1String("fraImport"))
            containers.insert(worklist::Container::FraImport, control);
        else if (auto* tabs = qobject_cast<QTabWidget*>(control)) {
            const std::pair<worklist::Container, const char*> pages[] = {{worklist::Container::TabFilter, "Filter"},
                                                                         {worklist::Container::TabOther, "Other"},
                                                                         {worklist::Container::TabOptions, "Options"}};
            for (const auto& [container, title] : pages) {
                auto* page = new QWidget(tabs);
                page->setObjectName(QStringLiteral("SSTab1Page%1").arg(QLatin1String(title)));
                tabs->addTab(page, QString::fromLatin1(title));
                containers.insert(container, page);
            }
        }
    }
    const auto get = [&made](const char* name, int index = -1) { return made.value(controlKey(name, index)); };
    const auto edit = [&](const char* name) { return qobject_cast<QLineEdit*>(get(name)); };
    const auto label = [&](const char* name) { return qobject_cast<QLabel*>(get(name)); };
    const auto button = [&](const char* name, int index = -1) { return qobject_cast<QPushButton*>(get(name, index)); };
    const auto check = [&](const char* name) { return qobject_cast<QCheckBox*>(get(name)); };
    const auto option = [&](const char* name, int index) { return qobject_cast<QRadioButton*>(get(name, index)); };
    const auto group = [&](const char* name) { return qobject_cast<QGroupBox*>(get(name)); };
    const auto grid = [&](const char* name) { return qobject_cast<FlexGridWidget*>(get(name)); };

    Label5 = label("Label5");
    txtIDNum = edit("txtIDNum");
    Label4 = label("Label4");
    txtHospNum = edit("txtHospNum");
    Label6 = label("Label6");
    txtLastName = edit("txtLastName");
    Label7 = label("Label7");
    txtFirstName = edit("txtFirstName");
    Label2 = label("Label2");
    txtStartDate = edit("txtStartDate");
    Label3 = label("Label3");
    txtEndDate = edit("txtEndDate");
    cmdRefresh = button("cmdRefresh");
    cmdToday = button("cmdToday");
    cmdPrintList = button("cmdPrintList");
    chkSortSD = check("chkSortSD");
    SSTab1 = qobject_cast<QTabWidget*>(get("SSTab1"));
    cmdStop = button("cmdStop");
    txtLog = qobject_cast<QPlainTextEdit*>(get("txtLog"));
    Label13 = label("Label13");
    cmdCF4 = button("cmdCF4");
    cmdPrint = button("cmdPrint");
    cmdValidate = {button("cmdValidate", 0), button("cmdValidate", 1)};
    cmdCheckDays = {button("cmdCheckDays", 0), button("cmdCheckDays", 1)};
    lblCount = label("lblCount");
    cmdValidate2 = button("cmdValidate2", 2);
    Grid1 = grid("Grid1");
    Label1 = label("Label1");
    cmdClose = button("cmdClose");
    cmdSaveAllOrders = button("cmdSaveAllOrders");
    fraImport = group("fraImport");
    cmdX = button("cmdX");
    txtIDNumDOCORD = edit("txtIDNumDOCORD");
    cmdImportAllOrdres = button("cmdImportAllOrdres");
    grdDocOrders = grid("grdDocOrders");
    grdDocOrdersOPD = grid("grdDocOrdersOPD");
    Label8 = label("Label8");
    txtDrID = edit("txtDrID");
    Label9 = label("Label9");
    txtAssignedTo = edit("txtAssignedTo");
    Label10 = label("Label10");
    txtVerifiedBy = edit("txtVerifiedBy");
    Label11 = label("Label11");
    txtOpenBy = edit("txtOpenBy");
    Label12 = label("Label12");
    txtChangedBy = edit("txtChangedBy");
    Frame2 = group("Frame2");
    optPatType = {option("optPatType", 0), option("optPatType", 1)};
    Frame1 = group("Frame1");
    optDischarged = {option("optDischarged", 0), option("optDischarged", 1), option("optDischarged", 2)};
    chkHemoPatient = check("chkHemoPatient");
    chkHasHemoNum = check("chkHasHemoNum");
    chkChemo = check("chkChemo");
    chkVerifiedOnly = check("chkVerifiedOnly");
    chkUnverifiedOnly = check("chkUnverifiedOnly");
    chkMedicare = check("chkMedicare");
    chkGETVitals = check("chkGETVitals");
    cmdGenerateScript = button("cmdGenerateScript");
    cmdBatchUpdate = button("cmdBatchUpdate");
    fraSearchBy = group("fraSearchBy");
    optDateType = {option("optDateType", 0), option("optDateType", 1)};
    cmdCheckHTWT = button("cmdCheckHTWT");
    chkTop500 = check("chkTop500");
    txtMessage = edit("txtMessage");

    // Labels: right-aligned beside their boxes, their access keys moving to the box.
    const std::pair<QLabel*, QWidget*> buddies[] = {
        {Label5, txtIDNum},       {Label4, txtHospNum},       {Label6, txtLastName},     {Label7, txtFirstName},
        {Label2, txtStartDate},   {Label3, txtEndDate},       {Label8, txtDrID},         {Label9, txtAssignedTo},
        {Label10, txtVerifiedBy}, {Label11, txtOpenBy},       {Label12, txtChangedBy},
    };
    for (const auto& [caption, box] : buddies) {
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setBuddy(box);
    }
    Grid1->setMinimumSize(0, 0);
    lblCount->setTextFormat(Qt::PlainText);

    // Names for the controls that have no caption or label of their own.
    SSTab1->setAccessibleName(QStringLiteral("Filters and options"));
    txtMessage->setAccessibleName(QStringLiteral("SQL statement"));
    txtLog->setAccessibleName(QStringLiteral("Activity log"));
    Grid1->setGridName(QStringLiteral("Worklist"));
    txtIDNumDOCORD->setAccessibleName(QStringLiteral("IDNum of the orders"));
    grdDocOrders->setGridName(QStringLiteral("Doctors' orders"));
    grdDocOrdersOPD->setGridName(QStringLiteral("Out-patient doctors' orders"));

    // The design state of the filters that are not kept between starts.
    chkTop500->setChecked(true);
    optPatType[0]->setChecked(true);
    optDateType[0]->setChecked(true);
    optDischarged[0]->setChecked(true);
    SSTab1->setCurrentIndex(0);
    cmdRefresh->setDefault(true);

    cmdClose->hide();
    cmdSaveAllOrders->hide();
    cmdSaveAllOrders->setEnabled(false);
    fraImport->hide();
    cmdImportAllOrdres->hide();
}

void FrmClaimWorklist::createMenu()
{
    mMenu = menuBar()->addMenu(QStringLiteral("Menu"));
    mMenu->setObjectName(QStringLiteral("mMenu"));
    const auto item = [](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    mPrintList = item(mMenu, "mPrintList", "Print List");
    mExportList = item(mMenu, "mExportList", "Export List\u2026");
    mAccomplismentReport = item(mMenu, "mAccomplismentReport", "Accomplisment Report (by Attending Dr)");
    mAccomplismentReport2 = item(mMenu, "mAccomplismentReport2", "Accomplisment Report (by Admitting Dr)");
    mChart = item(mMenu, "mChart", "Chart");
    mBatchTools = mMenu->addMenu(QStringLiteral("Batch Tools"));
    mBatchTools->setObjectName(QStringLiteral("mBatchTools"));
    mCountCourse = item(mBatchTools, "mCountCourse", "Count Course in the ward");
    mMarkGU = item(mBatchTools, "mMarkGU", "Mark listed male patient GU to 'not applicable'");
    mGUFNotAssessed =
        item(mBatchTools, "mGUFNotAssessed", "Chemo/Hemo Patient - Mark listed female patient GU to 'Not Assessed'");
    mSaveAll = item(mBatchTools, "mSaveAll", "Save ALL Listed Patients Orders to Course in the Ward");
    mBatchUpdate = item(mBatchTools, "mBatchUpdate", "Batch Update Drugs");
}

void FrmClaimWorklist::applyWindowFont()
{
    QList<CaptionRoom> captions;
    for (const worklist::ControlDesign& design : worklist::claimWorklistDesign()) {
        if (const auto room = captionRoom(design))
            captions.append({QString::fromUtf8(design.caption), *room});
    }
    const QStringList fallback{QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")};
    const QFont font = chooseWindowFont({QString::fromLatin1(kWindowFont)}, kDesignPointSize, fallback, captions);
    setFont(font);
    menuBar()->setFont(font);
    const QFont title = chooseWindowFont({QString::fromLatin1(kTitleFont)}, kDesignPointSize, fallback,
                                         {{Label1->text(), *captionRoom(worklist::controlDesign("Label1"))}});
    Label1->setFont(title);
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

void FrmClaimWorklist::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    placeTabPageControls();
    followWindowSize();
}

void FrmClaimWorklist::placeTabPageControls()
{
    // Page positions count from the tab control's corner, tab strip included.
    const QPoint pageOrigin = SSTab1->widget(0)->mapTo(SSTab1, QPoint(0, 0));
    for (const worklist::ControlDesign& design : worklist::claimWorklistDesign()) {
        if (design.container != worklist::Container::TabFilter && design.container != worklist::Container::TabOther
            && design.container != worklist::Container::TabOptions)
            continue;
        for (QWidget* control : SSTab1->findChildren<QWidget*>(QString::fromLatin1(design.name))) {
            if (design.index < 0 || control->property("index").toInt() == design.index)
                control->move(design.rect.toPixels().topLeft() - pageOrigin);
        }
    }
}

void FrmClaimWorklist::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    followWindowSize();
}

void FrmClaimWorklist::followWindowSize()
{
    const QSize outer = frameGeometry().size();
    const worklist::FollowingSizes sizes =
        worklist::followWindowSize(pixelsToTwips(outer.width()), pixelsToTwips(outer.height()));
    if (sizes.gridWidth)
        Grid1->resize(twipsToPixels(*sizes.gridWidth), Grid1->height());
    if (sizes.gridHeight)
        Grid1->resize(Grid1->width(), twipsToPixels(*sizes.gridHeight));
    if (sizes.logHeight)
        txtLog->resize(txtLog->width(), twipsToPixels(*sizes.logHeight));
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
