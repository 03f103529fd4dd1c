// The pages of the CF4 entry window, one per section the clerk can complete.

#include "host/claimforms/claim_form_edits.h"
#include "host/claimforms/claim_form_window.h"
#include "host/claimforms/claim_form_page_parts.h"
#include "host/claimforms/conflict_bar.h"
#include "host/ui/flex_grid_widget.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vantik {

namespace {

using namespace page;

QDateTimeEdit* takenOnEditor(const char* objectName, const QString& accessibleName)
{
    auto* editor = named(new QDateTimeEdit, objectName, accessibleName);
    editor->setDisplayFormat(QStringLiteral("MM/dd/yyyy hh:mm AP"));
    editor->setCalendarPopup(true);
    editor->setMinimumWidth(200);
    return editor;
}

QWidget* pageWith(QLabel* now, QFormLayout* form, ConflictBar* conflict, QPushButton* save, QWidget* below = nullptr)
{
    // Values are short: fields as wide as their content, not as the window.
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(now);
    layout->addLayout(form);
    if (conflict)
        layout->addWidget(conflict);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    if (below)
        layout->addWidget(below, 1);
    else
        layout->addStretch(1);
    return page;
}

} // namespace

QWidget* ClaimFormWindow::buildSummaryPage()
{
    auto* page = new QWidget;
    txtSummary = named(new QTextBrowser, "txtSummary", QStringLiteral("Claim form summary"));
    lblReadOnly = named(new QLabel(QStringLiteral("Medicines come from pharmacy and the discharge date from the ward: "
                                                  "they are read-only here.")),
                        "lblReadOnly");
    lblReadOnly->setWordWrap(true);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(txtSummary, 1);
    layout->addWidget(lblReadOnly);
    return page;
}

QWidget* ClaimFormWindow::buildHistoryPage()
{
    auto* page = new QWidget;
    lblHistoryNow = nowLabel("lblHistoryNow");
    txtBriefHistory = named(new QPlainTextEdit, "txtBriefHistory");
    txtBriefHistory->setTabChangesFocus(true);
    txtBriefHistory->setToolTip(QStringLiteral("Enter saves; Shift+Enter starts a new line."));
    cmdSaveHistory = named(new QPushButton(QStringLiteral("&Save")), "cmdSaveHistory",
                           QStringLiteral("Save the brief history"));
    fraHistoryConflict = new ConflictBar(QStringLiteral("History"), QStringLiteral("brief history"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblHistoryNow);
    layout->addWidget(caption(QStringLiteral("Brief h&istory (what the patient came with):"), txtBriefHistory));
    layout->addWidget(txtBriefHistory, 1);
    layout->addWidget(fraHistoryConflict);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSaveHistory);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(cmdSaveHistory, &QPushButton::clicked, this, &ClaimFormWindow::saveBriefHistory);
    savesOnEnter(txtBriefHistory, &ClaimFormWindow::saveBriefHistory);
    connect(fraHistoryConflict->cmdKeepTheirs, &QPushButton::clicked, this,
            [this] { keepTheirs(ClaimFormSection::BriefHistory); });
    connect(fraHistoryConflict->cmdSaveMine, &QPushButton::clicked, this,
            [this] { saveMine(ClaimFormSection::BriefHistory); });
    return page;
}

QWidget* ClaimFormWindow::buildVitalsPage()
{
    lblVitalsNow = nowLabel("lblVitalsNow");
    dtpVitalsTakenOn = takenOnEditor("dtpVitalsTakenOn", QStringLiteral("Vital signs taken on"));
    txtBloodPressure = named(new QLineEdit, "txtBloodPressure");
    txtBloodPressure->setPlaceholderText(QStringLiteral("120/80"));
    txtTemperature = named(new QLineEdit, "txtTemperature");
    txtTemperature->setPlaceholderText(QStringLiteral("37.0"));
    txtPulseRate = named(new QLineEdit, "txtPulseRate");
    txtRespiratoryRate = named(new QLineEdit, "txtRespiratoryRate");
    cmdSaveVitals = named(new QPushButton(QStringLiteral("&Save")), "cmdSaveVitals",
                          QStringLiteral("Save the vital signs"));
    auto* form = new QFormLayout;
    form->addRow(caption(QStringLiteral("Taken o&n:"), dtpVitalsTakenOn), dtpVitalsTakenOn);
    form->addRow(caption(QStringLiteral("&Blood pressure (systolic/diastolic):"), txtBloodPressure), txtBloodPressure);
    form->addRow(caption(QStringLiteral("T&emperature (°C):"), txtTemperature), txtTemperature);
    form->addRow(caption(QStringLiteral("Pu&lse (per minute):"), txtPulseRate), txtPulseRate);
    form->addRow(caption(QStringLiteral("Respir&atory rate (per minute):"), txtRespiratoryRate), txtRespiratoryRate);
    connect(cmdSaveVitals, &QPushButton::clicked, this, &ClaimFormWindow::saveVitalSigns);
    for (QWidget* editor : std::initializer_list<QWidget*>{dtpVitalsTakenOn, txtBloodPressure, txtTemperature,
                                                           txtPulseRate, txtRespiratoryRate})
        savesOnEnter(editor, &ClaimFormWindow::saveVitalSigns);
    return pageWith(lblVitalsNow, form, nullptr, cmdSaveVitals);
}

QWidget* ClaimFormWindow::buildMeasurementPage()
{
    lblMeasurementsNow = nowLabel("lblMeasurementsNow");
    dtpMeasuredOn = takenOnEditor("dtpMeasuredOn", QStringLiteral("Height and weight taken on"));
    txtHeight = named(new QLineEdit, "txtHeight");
    txtWeight = named(new QLineEdit, "txtWeight");
    cmdSaveHeightWeight = named(new QPushButton(QStringLiteral("&Save")), "cmdSaveHeightWeight",
                                QStringLiteral("Save the height and weight"));
    auto* form = new QFormLayout;
    form->addRow(caption(QStringLiteral("Taken o&n:"), dtpMeasuredOn), dtpMeasuredOn);
    form->addRow(caption(QStringLiteral("H&eight (cm)"), txtHeight), txtHeight);
    form->addRow(caption(QStringLiteral("Wei&ght (kg)"), txtWeight), txtWeight);
    connect(cmdSaveHeightWeight, &QPushButton::clicked, this, &ClaimFormWindow::saveHeightWeight);
    for (QWidget* editor : std::initializer_list<QWidget*>{dtpMeasuredOn, txtHeight, txtWeight})
        savesOnEnter(editor, &ClaimFormWindow::saveHeightWeight);
    fraMeasurementsConflict = new ConflictBar(QStringLiteral("Measurements"), QStringLiteral("height and weight"));
    connect(fraMeasurementsConflict->cmdKeepTheirs, &QPushButton::clicked, this,
            [this] { keepTheirs(ClaimFormSection::HeightWeight); });
    connect(fraMeasurementsConflict->cmdSaveMine, &QPushButton::clicked, this,
            [this] { saveMine(ClaimFormSection::HeightWeight); });
    return pageWith(lblMeasurementsNow, form, fraMeasurementsConflict, cmdSaveHeightWeight);
}

QWidget* ClaimFormWindow::buildGuPage()
{
    lblGuNow = nowLabel("lblGuNow");
    cboGuFinding = named(new QComboBox, "cboGuFinding");
    cboGuFinding->setEditable(true);
    cboGuFinding->setInsertPolicy(QComboBox::NoInsert);
    cboGuFinding->addItems(guFindings());
    cboGuFinding->setToolTip(QStringLiteral("Choose a finding or type one."));
    cmdSaveGu = named(new QPushButton(QStringLiteral("&Save")), "cmdSaveGu", QStringLiteral("Save the GU(IE) finding"));
    auto* form = new QFormLayout;
    form->addRow(caption(QStringLiteral("&Finding:"), cboGuFinding), cboGuFinding);
    connect(cmdSaveGu, &QPushButton::clicked, this, &ClaimFormWindow::saveGuFinding);
    savesOnEnter(cboGuFinding, &ClaimFormWindow::saveGuFinding);
    savesOnEnter(cboGuFinding->lineEdit(), &ClaimFormWindow::saveGuFinding);
    fraGuConflict = new ConflictBar(QStringLiteral("Gu"), QStringLiteral("GU(IE) finding"));
    connect(fraGuConflict->cmdKeepTheirs, &QPushButton::clicked, this, [this] { keepTheirs(ClaimFormSection::GuEntry); });
    connect(fraGuConflict->cmdSaveMine, &QPushButton::clicked, this, [this] { saveMine(ClaimFormSection::GuEntry); });
    return pageWith(lblGuNow, form, fraGuConflict, cmdSaveGu);
}

QWidget* ClaimFormWindow::buildCoursePage()
{
    lblNotesNow = nowLabel("lblNotesNow");
    dtpNoteWrittenOn = takenOnEditor("dtpNoteWrittenOn", QStringLiteral("Note written on"));
    txtCourseNote = named(new QPlainTextEdit, "txtCourseNote");
    txtCourseNote->setTabChangesFocus(true);
    txtCourseNote->setToolTip(QStringLiteral("Enter saves; Shift+Enter starts a new line."));
    txtCourseNote->setMaximumHeight(txtCourseNote->fontMetrics().lineSpacing() * 5);
    cmdSaveNote = named(new QPushButton(QStringLiteral("&Save")), "cmdSaveNote", QStringLiteral("Save the note"));
    cmdImportOrders = named(new QPushButton(QStringLiteral("&Import doctors' orders")), "cmdImportOrders");
    lblOrders = named(new QLabel, "lblOrders");
    lblOrders->setWordWrap(true);
    grdOrders = named(new FlexGridWidget, "grdOrders");
    grdOrders->setGridName(QStringLiteral("Doctors' orders of the admission"));
    auto* form = new QFormLayout;
    form->addRow(caption(QStringLiteral("Written o&n:"), dtpNoteWrittenOn), dtpNoteWrittenOn);
    form->addRow(caption(QStringLiteral("Not&e:"), txtCourseNote), txtCourseNote);
    connect(cmdSaveNote, &QPushButton::clicked, this, &ClaimFormWindow::saveCourseNote);
    connect(cmdImportOrders, &QPushButton::clicked, this, &ClaimFormWindow::importOrders);
    savesOnEnter(dtpNoteWrittenOn, &ClaimFormWindow::saveCourseNote);
    savesOnEnter(txtCourseNote, &ClaimFormWindow::saveCourseNote);

    auto* orders = new QWidget;
    auto* ordersLayout = new QVBoxLayout(orders);
    ordersLayout->setContentsMargins(0, 0, 0, 0);
    auto* importRow = new QHBoxLayout;
    importRow->addWidget(cmdImportOrders);
    importRow->addWidget(lblOrders, 1);
    ordersLayout->addLayout(importRow);
    ordersLayout->addWidget(grdOrders, 1);
    return pageWith(lblNotesNow, form, nullptr, cmdSaveNote, orders);
}

} // namespace vantik
