#pragma once

#include "batchupdate/drug_update.h"

#include <QWidget>

#include <array>
#include <exception>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vantik {

class FlexGridWidget;
class FrmClaimWorklist;
class RunningOperation;
class Recordset;

/// The drug batch update window: lists the drug records of the patients the main
/// window lists and finds and replaces Quantity, Dosage, Route and UnitCode of
/// one drug in them. Controls are public members named as the host names them
/// (also their object names); a control array's member carries its index in the
/// "index" property.
class FrmBatchUpdate : public QWidget {
    Q_OBJECT
public:
    explicit FrmBatchUpdate(FrmClaimWorklist& main);

    /// The drug run: lists the drugs of every listed patient and applies the
    /// find-and-replace step to the records of the drug named in txtDrugName.
    void cmdDrugs_Click();
    /// Fills the drug name and both rows of boxes from a row of the drug grid.
    void Grid1_Click(int row);

    FlexGridWidget* Grid1 = nullptr;
    QPushButton* cmdDrugs = nullptr;
    QGroupBox* fraFindReplace = nullptr;
    std::array<QLabel*, 7> Label1{};
    QLineEdit* txtDrugName = nullptr;
    QLabel* Label2 = nullptr;
    std::array<QLineEdit*, batchupdate::kBoxCount> txtField{};
    std::array<QLineEdit*, batchupdate::kBoxCount> txtFieldTO{};
    QCheckBox* chkSimulate = nullptr;
    QPlainTextEdit* txtInst = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    /// Where a run is, for the message when it fails.
    struct RunPosition {
        bool inPatient = false;
        QString patientId;
        bool inRecord = false;
        bool saved = false; // the record in hand is saved, its change lines may not be logged yet
        batchupdate::DrugRecordTexts record;
    };

    void createControls();
    void applyWindowFont();
    void listDrugs(RunningOperation& running, RunPosition& at);
    void appendDrugRow(const batchupdate::DrugRecordTexts& record);
    void replaceInRecord(Recordset& drugs, RunPosition& at);
    void showProgress(int patient, int patients);
    static QString failureMessage(const std::exception& error, const RunPosition& at);

    FrmClaimWorklist& m_main;
    bool m_running = false;
    bool m_closeAfterRun = false;
};

/// Opens the drug batch update window: creates it when none is open, else shows
/// the open one as it is. It is modeless and has no owner window.
void openBatchUpdate(FrmClaimWorklist& main);

/// The open drug batch update window, or nullptr.
FrmBatchUpdate* batchUpdateWindow(FrmClaimWorklist& main);

} // namespace vantik
