#pragma once

#include "ecf4/code_mapping.h"

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vantik {

class FrmClaimWorklist;

/// "PhilHealth Codes…": the HIS's findings, symptoms and drugs met in the listed
/// claims that have no PhilHealth code yet, most frequent first, with the library
/// entry or drug code the clerk gives each; and the hospital's own values. Every
/// save goes through the recordset and writes one user-log line.
class FrmPhilHealthCodes : public QWidget {
    Q_OBJECT
public:
    explicit FrmPhilHealthCodes(FrmClaimWorklist& main);

    /// Reads the listed claims' uncoded items and the facility's values again.
    void reload();

    /// Saves the chosen library entry for the finding of the current row.
    void saveFinding();
    /// Saves the typed drug code for the drug of the current row.
    void saveDrug();
    void saveFacility();

    QGroupBox* fraFacility = nullptr;
    QLineEdit* txtAccreNo = nullptr;
    QLineEdit* txtCertificationID = nullptr;
    QLineEdit* txtUserName = nullptr;
    QPushButton* cmdSaveFacility = nullptr;
    QTableWidget* grdFindings = nullptr;
    QComboBox* cboLibraryEntry = nullptr;
    QPushButton* cmdSaveFinding = nullptr;
    QTableWidget* grdDrugs = nullptr;
    QLineEdit* txtDrugCode = nullptr;
    QPushButton* cmdSaveDrug = nullptr;
    QPushButton* cmdClose = nullptr;

private:
    void createControls();
    void showItems();
    void offerEntries(int findingRow);
    /// A failure of a save or read, in a message box; the window stays as it was.
    void tell(const std::exception& error);

    FrmClaimWorklist& m_main;
    ecf4::UncodedItems m_items;
};

/// Opens the window (or brings it forward) over the main window's list.
void openPhilHealthCodes(FrmClaimWorklist& main);
/// The window while it is open; nullptr otherwise.
FrmPhilHealthCodes* philHealthCodesWindow(FrmClaimWorklist& main);

/// Connects the main window's "PhilHealth Codes…" item.
void installPhilHealthCodes(FrmClaimWorklist& main);

} // namespace vantik
