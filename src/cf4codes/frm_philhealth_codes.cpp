#include "cf4codes/frm_philhealth_codes.h"

#include "claimwork/row_progress.h"
#include "ecf4/cf4_libraries.h"
#include "ecf4/cf4_source.h"
#include "host/component_error.h"
#include "host/ui/busy_guards.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/message_box.h"
#include "host/ui/message_loop.h"
#include "host/ui/twips.h"
#include "host/user/current_user.h"
#include "worklist/frm_claim_worklist.h"
#include "worklist/secondary_window.h"
#include "worklist/worklist_columns.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>

namespace vantik {

namespace {

using ecf4::Library;

// The window's design, in twips: one place for every position.
struct Place {
    const char* name;
    const char* caption;
    bool inFacility;
    TwipsRect rect;
};

constexpr int kClientWidth = 9600;
constexpr int kClientHeight = 8295;

constexpr Place kPlaces[] = {
    {"fraFacility", "Facility", false, {120, 120, 9360, 1095}},
    {"lblAccreNo", "&Accreditation No.", true, {120, 300, 1575, 255}},
    {"txtAccreNo", "", true, {1740, 270, 1335, 315}},
    {"lblCertificationID", "Certification &ID", true, {3240, 300, 1455, 255}},
    {"txtCertificationID", "", true, {4740, 270, 2775, 315}},
    {"lblUserName", "eClaims &User", true, {120, 690, 1575, 255}},
    {"txtUserName", "", true, {1740, 660, 2775, 315}},
    {"cmdSaveFacility", "Save &Facility", true, {7680, 600, 1560, 375}},
    {"lblFindings", "Findings and s&ymptoms without a code (most frequent first)", false, {120, 1320, 7000, 255}},
    {"grdFindings", "", false, {120, 1590, 9360, 2535}},
    {"lblLibraryEntry", "PhilHealth &entry", false, {120, 4245, 1455, 255}},
    {"cboLibraryEntry", "", false, {1620, 4200, 5955, 315}},
    {"cmdSaveFinding", "Save &Code", false, {7800, 4170, 1680, 375}},
    {"lblDrugs", "D&rugs without a code (most frequent first)", false, {120, 4680, 7000, 255}},
    {"grdDrugs", "", false, {120, 4950, 9360, 2175}},
    {"lblDrugCode", "&Drug code", false, {120, 7290, 1455, 255}},
    {"txtDrugCode", "", false, {1620, 7245, 3255, 315}},
    {"cmdSaveDrug", "Save Dru&g Code", false, {7800, 7215, 1680, 375}},
    {"cmdClose", "Cl&ose", false, {7800, 7800, 1680, 375}},
};

QTableWidget* newTable(QWidget* parent, const QStringList& headers)
{
    auto* table = new QTableWidget(0, int(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(false);
    return table;
}

void fillRow(QTableWidget& table, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        table.setItem(row, c, new QTableWidgetItem(cells[c]));
}

QString entryText(const ecf4::LibraryInfo& info, const ecf4::LibraryEntry& entry)
{
    return QStringLiteral("%1: %2 %3").arg(QString::fromUtf8(info.clerkName), QString::fromLatin1(entry.id),
                                          QString::fromUtf8(entry.description));
}

} // namespace

FrmPhilHealthCodes::FrmPhilHealthCodes(FrmClaimWorklist& main)
    : QWidget(nullptr)
    , m_main(main)
{
    setObjectName(QStringLiteral("frmPhilHealthCodes"));
    setWindowTitle(QStringLiteral("PhilHealth Codes"));
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    resize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));

    connect(cmdSaveFacility, &QPushButton::clicked, this, &FrmPhilHealthCodes::saveFacility);
    connect(cmdSaveFinding, &QPushButton::clicked, this, &FrmPhilHealthCodes::saveFinding);
    connect(cmdSaveDrug, &QPushButton::clicked, this, &FrmPhilHealthCodes::saveDrug);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this, &QWidget::close);
    connect(grdFindings, &QTableWidget::currentCellChanged, this, [this](int row) { offerEntries(row); });
    connect(txtDrugCode, &QLineEdit::returnPressed, this, &FrmPhilHealthCodes::saveDrug);
}

void FrmPhilHealthCodes::createControls()
{
    QLabel* lastLabel = nullptr;
    for (const Place& place : kPlaces) {
        const QString name = QString::fromLatin1(place.name);
        const QString caption = QString::fromUtf8(place.caption);
        QWidget* parent = place.inFacility ? static_cast<QWidget*>(fraFacility) : this;
        QWidget* control = nullptr;
        if (name.startsWith(QLatin1String("lbl"))) {
            control = lastLabel = new QLabel(caption, parent);
        } else if (name.startsWith(QLatin1String("cmd"))) {
            auto* button = new QPushButton(caption, parent);
            button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
            control = button;
        } else if (name == QLatin1String("fraFacility")) {
            control = fraFacility = new QGroupBox(caption, parent);
            fraFacility->setAccessibleName(caption);
        } else if (name.startsWith(QLatin1String("txt"))) {
            control = new QLineEdit(parent);
        } else if (name == QLatin1String("cboLibraryEntry")) {
            control = cboLibraryEntry = new QComboBox(parent);
        } else if (name == QLatin1String("grdFindings")) {
            control = grdFindings = newTable(parent, {QStringLiteral("Area"), QStringLiteral("Sub-area"),
                                                      QStringLiteral("Description"), QStringLiteral("Records")});
        } else if (name == QLatin1String("grdDrugs")) {
            control = grdDrugs = newTable(parent, {QStringLiteral("Generic name"), QStringLiteral("Dosage"),
                                                   QStringLiteral("Unit"), QStringLiteral("Records")});
        }
        Q_ASSERT(control);
        control->setObjectName(name);
        control->setGeometry(place.rect.toPixels());
        // Each box, list and grid is named by the label just before it, which also gives its access key.
        if (lastLabel && control != lastLabel && !name.startsWith(QLatin1String("cmd"))) {
            lastLabel->setBuddy(control);
            control->setAccessibleName(lastLabel->text().remove(QLatin1Char('&')));
            lastLabel = nullptr;
        }
    }
    txtAccreNo = findChild<QLineEdit*>(QStringLiteral("txtAccreNo"));
    txtCertificationID = findChild<QLineEdit*>(QStringLiteral("txtCertificationID"));
    txtUserName = findChild<QLineEdit*>(QStringLiteral("txtUserName"));
    txtDrugCode = findChild<QLineEdit*>(QStringLiteral("txtDrugCode"));
    cmdSaveFacility = findChild<QPushButton*>(QStringLiteral("cmdSaveFacility"));
    cmdSaveFinding = findChild<QPushButton*>(QStringLiteral("cmdSaveFinding"));
    cmdSaveDrug = findChild<QPushButton*>(QStringLiteral("cmdSaveDrug"));
    cmdClose = findChild<QPushButton*>(QStringLiteral("cmdClose"));
    // Longer values are not cut here: the save refuses them and says so.
    txtDrugCode->setMaxLength(30);
    txtDrugCode->setPlaceholderText(QStringLiteral("30 letters and digits"));
}

void FrmPhilHealthCodes::reload()
{
    // A year's list takes a while: progress and Stop as in the main window's passes, and
    // nothing to save here meanwhile.
    m_main.stopFlag = false;
    setEnabled(false);
    try {
        BusyPointer busy(Qt::BusyCursor);
        RowProgress progress(m_main, QStringLiteral("Reading the listed claims' codes"));
        Connection& connection = m_main.pclsUser->sqlconnection();
        QStringList idNums;
        const FlexGrid& grid = *m_main.Grid1;
        for (int row = 1; row < grid.rowCount(); ++row)
            idNums << grid.text(row, worklist::IdNum);
        m_items = ecf4::uncodedInClaims(connection, idNums, [this, &progress](int index, int count) {
            progress.show(index + 1, count);
            m_main.services().messageLoop.yieldOnce();
            return !m_main.stopFlag && !m_main.closeRequested();
        });
        const ecf4::Facility facility = ecf4::readFacility(connection);
        txtAccreNo->setText(facility.accreditationNo);
        txtCertificationID->setText(facility.certificationId);
        txtUserName->setText(facility.userName);
    } catch (const std::exception& error) {
        m_items = {};
        tell(error);
    }
    setEnabled(true);
    showItems();
}

void FrmPhilHealthCodes::showItems()
{
    grdFindings->setRowCount(int(m_items.findings.size()));
    for (int r = 0; r < grdFindings->rowCount(); ++r) {
        const ecf4::UncodedFinding& item = m_items.findings[r];
        fillRow(*grdFindings, r, {item.area, item.subArea, item.description, QString::number(item.records)});
    }
    grdDrugs->setRowCount(int(m_items.drugs.size()));
    for (int r = 0; r < grdDrugs->rowCount(); ++r) {
        const ecf4::UncodedDrug& item = m_items.drugs[r];
        fillRow(*grdDrugs, r, {item.genericName, item.dosage, item.unit, QString::number(item.records)});
    }
    grdFindings->resizeColumnsToContents();
    grdDrugs->resizeColumnsToContents();
    if (grdFindings->rowCount() > 0)
        grdFindings->setCurrentCell(0, 0);
    else
        offerEntries(-1);
    if (grdDrugs->rowCount() > 0)
        grdDrugs->setCurrentCell(0, 0);
    cmdSaveFinding->setEnabled(grdFindings->rowCount() > 0);
    cmdSaveDrug->setEnabled(grdDrugs->rowCount() > 0);
}

void FrmPhilHealthCodes::offerEntries(int findingRow)
{
    cboLibraryEntry->clear();
    if (findingRow < 0 || findingRow >= m_items.findings.size())
        return;
    const ecf4::UncodedFinding& finding = m_items.findings[findingRow];
    // The library the sub-area's other codes are in first, so that the likely entry is near;
    // an entry spelled as the HIS spells the finding is chosen for the clerk to confirm.
    QList<ecf4::LibraryInfo> order;
    for (const ecf4::LibraryInfo& info : ecf4::libraries()) {
        if (finding.likely && info.library == *finding.likely)
            order.prepend(info);
        else
            order.append(info);
    }
    int chosen = 0;
    for (const ecf4::LibraryInfo& info : order) {
        for (const ecf4::LibraryEntry& entry : info.entries) {
            if (!entry.active)
                continue;
            if (chosen == 0 && finding.likely && info.library == *finding.likely
                && finding.description.compare(QString::fromUtf8(entry.description), Qt::CaseInsensitive) == 0)
                chosen = cboLibraryEntry->count();
            cboLibraryEntry->addItem(entryText(info, entry),
                                     QVariantList{int(info.library), QString::fromLatin1(entry.id)});
        }
    }
    cboLibraryEntry->setCurrentIndex(chosen);
}

void FrmPhilHealthCodes::saveFinding()
{
    const int row = grdFindings->currentRow();
    if (row < 0 || row >= m_items.findings.size() || cboLibraryEntry->currentIndex() < 0)
        return;
    const QVariantList choice = cboLibraryEntry->currentData().toList();
    const auto library = static_cast<Library>(choice.value(0).toInt());
    const QString id = choice.value(1).toString();
    const ecf4::UncodedFinding finding = m_items.findings[row];
    try {
        BusyPointer busy;
        ecf4::saveFindingCode(m_main.pclsUser->sqlconnection(), finding, library, id, m_main.pclsUser->userName());
    } catch (const std::exception& error) {
        tell(error);
        return;
    }
    m_main.pclsUser->addlog(QStringLiteral("PhilHealth code: %1 / %2 / %3 = %4 %5")
                                .arg(finding.area, finding.subArea, finding.description,
                                     QString::fromLatin1(ecf4::libraryInfo(library).name), id));
    m_items.findings.removeAt(row);
    showItems();
    grdFindings->setCurrentCell(std::min(row, grdFindings->rowCount() - 1), 0);
}

void FrmPhilHealthCodes::saveDrug()
{
    const int row = grdDrugs->currentRow();
    if (row < 0 || row >= m_items.drugs.size())
        return;
    const ecf4::UncodedDrug drug = m_items.drugs[row];
    const QString code = txtDrugCode->text().trimmed();
    try {
        BusyPointer busy;
        ecf4::saveDrugCode(m_main.pclsUser->sqlconnection(), drug, code, m_main.pclsUser->userName());
    } catch (const std::exception& error) {
        tell(error);
        return;
    }
    m_main.pclsUser->addlog(
        QStringLiteral("PhilHealth drug code: %1 / %2 / %3 = %4").arg(drug.genericName, drug.dosage, drug.unit, code));
    txtDrugCode->clear();
    m_items.drugs.removeAt(row);
    showItems();
    grdDrugs->setCurrentCell(std::min(row, grdDrugs->rowCount() - 1), 0);
}

void FrmPhilHealthCodes::saveFacility()
{
    const ecf4::Facility facility{txtAccreNo->text().trimmed(), txtCertificationID->text().trimmed(),
                                  txtUserName->text().trimmed()};
    try {
        BusyPointer busy;
        ecf4::saveFacility(m_main.pclsUser->sqlconnection(), facility, m_main.pclsUser->userName());
    } catch (const std::exception& error) {
        tell(error);
        return;
    }
    m_main.pclsUser->addlog(QStringLiteral("PhilHealth facility: accreditation no. %1, certification ID %2, user %3")
                                .arg(facility.accreditationNo, facility.certificationId, facility.userName));
}

void FrmPhilHealthCodes::tell(const std::exception& error)
{
    m_main.services().messages.warning(this, errorDescription(error));
}

void openPhilHealthCodes(FrmClaimWorklist& main)
{
    // Read afresh at every opening: the list and other clerks' codes may have changed.
    SecondaryWindow<FrmPhilHealthCodes>::show(main, [&main] { return new FrmPhilHealthCodes(main); }).reload();
}

FrmPhilHealthCodes* philHealthCodesWindow(FrmClaimWorklist& main)
{
    return SecondaryWindow<FrmPhilHealthCodes>::of(main).data();
}

void installPhilHealthCodes(FrmClaimWorklist& main)
{
    QObject::connect(main.mPhilHealthCodes, &QAction::triggered, &main, [&main] { openPhilHealthCodes(main); });
}

} // namespace vantik
