#pragma once

#include "worklist/worklist_statement.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace vantik {

class Clock;
class ComponentRegistry;
class CurrentUser;
class FlexGridWidget;
class MessageBox;
class MessageLoop;
class SettingsStore;

/// What the main window needs from outside: where components come from, the
/// settings store, message boxes, the yield point, today's date, and the folder
/// of the executable.
struct WorklistServices {
    ComponentRegistry& registry;
    SettingsStore& settings;
    MessageBox& messages;
    MessageLoop& messageLoop;
    const Clock& clock;
    QString executableFolder;
};

/// The main window: the filter set, the worklist grid, the activity log and the
/// buttons and menus of every operation. Controls are public members named as the
/// host names them (also their object names); the other windows reach the
/// current-user component through pclsUser.
class FrmClaimWorklist : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmClaimWorklist(WorklistServices services, QWidget* parent = nullptr);
    ~FrmClaimWorklist() override;

    /// The start-up: log-in, library, restored filters, grid widths. False when
    /// no connection resulted: the program then ends without a word. Errors of
    /// the component's creation and log-in are not caught here.
    bool load();

    /// Lists the patients of the filter set; sortFlag 1 orders by service and doctor.
    void RefreshWorklist(int sortFlag);

    /// The filter set as the controls hold it.
    WorklistFilter readFilter() const;

    /// Message boxes, the yield point, the settings store and today, for the
    /// operations and windows that work on this window.
    const WorklistServices& services() const { return m_services; }

    /// Batch operations running now (RunningOperation keeps the count).
    void operationStarted() { ++m_runningOperations; }
    void operationEnded();
    bool operationRunning() const { return m_runningOperations > 0; }
    /// The clerk chose to close the window while an operation ran: it stops at its
    /// next row and the window then closes.
    bool closeRequested() const { return m_closeRequested; }

    std::unique_ptr<CurrentUser> pclsUser;
    /// Set by "&Stop"; the batch loops clear it when they start and test it per row.
    bool stopFlag = false;

    // Directly on the window.
    QLabel* Label5 = nullptr;
    QLineEdit* txtIDNum = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* txtHospNum = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* txtLastName = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* txtFirstName = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtStartDate = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtEndDate = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdToday = nullptr;
    QPushButton* cmdPrintList = nullptr;
    QCheckBox* chkSortSD = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QPushButton* cmdStop = nullptr;
    QPlainTextEdit* txtLog = nullptr;
    QLabel* Label13 = nullptr;
    QPushButton* cmdCF4 = nullptr;
    QPushButton* cmdPrint = nullptr;
    std::array<QPushButton*, 2> cmdValidate{};
    std::array<QPushButton*, 2> cmdCheckDays{};
    QLabel* lblCount = nullptr;
    QPushButton* cmdValidate2 = nullptr;
    FlexGridWidget* Grid1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdSaveAllOrders = nullptr;
    QGroupBox* fraImport = nullptr;
    QPushButton* cmdX = nullptr;
    QLineEdit* txtIDNumDOCORD = nullptr;
    QPushButton* cmdImportAllOrdres = nullptr;
    FlexGridWidget* grdDocOrders = nullptr;
    FlexGridWidget* grdDocOrdersOPD = nullptr;

    // Tab "Filter".
    QLabel* Label8 = nullptr;
    QLineEdit* txtDrID = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* txtAssignedTo = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* txtVerifiedBy = nullptr;
    QLabel* Label11 = nullptr;
    QLineEdit* txtOpenBy = nullptr;
    QLabel* Label12 = nullptr;
    QLineEdit* txtChangedBy = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 2> optPatType{};
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 3> optDischarged{};
    QCheckBox* chkHemoPatient = nullptr;
    QCheckBox* chkHasHemoNum = nullptr;
    QCheckBox* chkChemo = nullptr;
    QCheckBox* chkVerifiedOnly = nullptr;
    QCheckBox* chkUnverifiedOnly = nullptr;
    QCheckBox* chkMedicare = nullptr;

    // Tab "Other".
    QCheckBox* chkGETVitals = nullptr;
    QPushButton* cmdGenerateScript = nullptr;
    QPushButton* cmdBatchUpdate = nullptr;
    QPushButton* cmdCheckECF4 = nullptr;
    QPushButton* cmdExportECF4 = nullptr;

    // Tab "Options".
    QGroupBox* fraSearchBy = nullptr;
    std::array<QRadioButton*, 2> optDateType{};
    QPushButton* cmdCheckHTWT = nullptr;
    QCheckBox* chkTop500 = nullptr;
    QLineEdit* txtMessage = nullptr;

    // The menu.
    QMenu* mMenu = nullptr;
    QAction* mPrintList = nullptr;
    QAction* mExportList = nullptr;
    QAction* mAccomplismentReport = nullptr;
    QAction* mAccomplismentReport2 = nullptr;
    QAction* mChart = nullptr;
    QAction* mPhilHealthCodes = nullptr;
    QMenu* mBatchTools = nullptr;
    QAction* mCountCourse = nullptr;
    QAction* mMarkGU = nullptr;
    QAction* mGUFNotAssessed = nullptr;
    QAction* mSaveAll = nullptr;
    QAction* mBatchUpdate = nullptr;
    QAction* mCheckECF4 = nullptr;
    QAction* mExportECF4 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createMenu();
    void connectHandlers();
    void placeTabPageControls();
    void applyWindowFont();
    void followWindowSize();
    void restoreFilters();
    void saveSetting(const QString& key, const QString& value);
    /// Tells the clerk, once per run, that the settings cannot be saved.
    void reportSettingsFailure();
    /// One start-up step: a failure shows its description with the library hint and the load goes on.
    void startupStep(const std::function<void()>& step);
    void listVitalSigns();

    /// Closes the program's other windows, which live on the main window's list and
    /// connection; false when one of them refused.
    bool closeOtherWindows();

    WorklistServices m_services;
    int m_runningOperations = 0;
    bool m_closeRequested = false;
};

/// The program's main window while it exists (the one window the others reach).
FrmClaimWorklist* claimWorklist();

} // namespace vantik
