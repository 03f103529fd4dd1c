// The main window's controls: made from the design table, placed in twips, given
// a font their captions fit, and kept following the window's size.

#include "worklist/frm_claim_worklist.h"

#include "host/ui/flex_grid_widget.h"
#include "host/ui/font_fit.h"
#include "host/ui/wrapping_buttons.h"
#include "worklist/claim_worklist_layout.h"

#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

namespace vantik {

namespace {

constexpr const char* kWindowFont = "Segoe UI Emoji";
constexpr const char* kTitleFont = "Segoe UI";
constexpr double kDesignPointSize = 8.25;

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
    cmdCheckECF4 = button("cmdCheckECF4");
    cmdExportECF4 = button("cmdExportECF4");
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
    mPhilHealthCodes = item(mMenu, "mPhilHealthCodes", "PhilHealth Codes\u2026");
    mBatchTools = mMenu->addMenu(QStringLiteral("Batch Tools"));
    mBatchTools->setObjectName(QStringLiteral("mBatchTools"));
    mCountCourse = item(mBatchTools, "mCountCourse", "Count Course in the ward");
    mMarkGU = item(mBatchTools, "mMarkGU", "Mark listed male patient GU to 'not applicable'");
    mGUFNotAssessed =
        item(mBatchTools, "mGUFNotAssessed", "Chemo/Hemo Patient - Mark listed female patient GU to 'Not Assessed'");
    mSaveAll = item(mBatchTools, "mSaveAll", "Save ALL Listed Patients Orders to Course in the Ward");
    mBatchUpdate = item(mBatchTools, "mBatchUpdate", "Batch Update Drugs");
    mBatchTools->addSeparator();
    // The eCF4 items repeat the buttons of the "Other" tab.
    mCheckECF4 = item(mBatchTools, "mCheckECF4", "All Listed: Check &eCF4");
    mExportECF4 = item(mBatchTools, "mExportECF4", "E&xport eCF4\u2026");
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

} // namespace vantik
