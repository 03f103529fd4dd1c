#include "batchupdate/frm_batch_update.h"

#include "batchupdate/batch_update_layout.h"
#include "host/component_error.h"
#include "host/data/database_error.h"
#include "host/data/recordset.h"
#include "host/ui/busy_guards.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/font_fit.h"
#include "host/ui/message_box.h"
#include "host/ui/message_loop.h"
#include "host/ui/ole_color.h"
#include "host/ui/repaint_pacer.h"
#include "host/ui/wrapping_buttons.h"
#include "host/user/current_user.h"
#include "worklist/frm_claim_worklist.h"
#include "worklist/running_operation.h"
#include "worklist/secondary_window.h"
#include "worklist/worklist_columns.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableView>

namespace vantik {

namespace {

using namespace batchupdate;

const QString kUpdateCaption = QStringLiteral("Update Drugs");
constexpr const char* kWindowFont = "Segoe UI";
constexpr double kDesignPointSize = 8.25;

// The designed drug grid before the first run.
constexpr int kDesignGridRows = 2;
constexpr int kDesignGridColumns = 2;

BoxTexts boxTexts(const std::array<QLineEdit*, kBoxCount>& boxes)
{
    BoxTexts texts;
    for (int j = 0; j < kBoxCount; ++j)
        texts[j] = boxes[j]->text();
    return texts;
}

} // namespace

FrmBatchUpdate::FrmBatchUpdate(FrmClaimWorklist& main)
    : QWidget(nullptr)
    , m_main(main)
{
    setObjectName(QStringLiteral("frmBatchUpdate"));
    setWindowTitle(QStringLiteral("Batch Update"));
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    applyWindowFont();
    resize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));

    Grid1->reset(kDesignGridRows, kDesignGridColumns);
    chkSimulate->setChecked(true);
    txtInst->setPlainText(batchUpdateInstructions());
    txtInst->setAccessibleName(QStringLiteral("Instructions"));
    Grid1->setGridName(QStringLiteral("Drugs of the listed patients"));

    connect(cmdDrugs, &QPushButton::clicked, this, &FrmBatchUpdate::cmdDrugs_Click);
    connect(Grid1->view(), &QTableView::clicked, this, [this](const QModelIndex& index) { Grid1_Click(index.row() + 1); });
}

void FrmBatchUpdate::createControls()
{
    for (const ControlDesign& design : batchUpdateDesign()) {
        const QString name = QString::fromLatin1(design.name);
        const QString caption = QString::fromUtf8(design.caption);
        QWidget* parent = design.inFrame ? static_cast<QWidget*>(fraFindReplace) : this;
        QWidget* control = nullptr;
        if (name == QLatin1String("Grid1")) {
            control = Grid1 = new FlexGridWidget(parent);
        } else if (name == QLatin1String("cmdDrugs")) {
            control = cmdDrugs = new WrapPushButton(caption, parent);
        } else if (name == QLatin1String("fraFindReplace")) {
            control = fraFindReplace = new QGroupBox(caption, parent);
        } else if (name == QLatin1String("Label1")) {
            control = Label1[std::size_t(design.index)] = new QLabel(caption, parent);
        } else if (name == QLatin1String("Label2")) {
            auto* label = new QLabel(caption, parent);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            control = Label2 = label;
        } else if (name == QLatin1String("txtDrugName")) {
            control = txtDrugName = new QLineEdit(parent);
        } else if (name == QLatin1String("txtField")) {
            control = txtField[std::size_t(design.index)] = new QLineEdit(parent);
        } else if (name == QLatin1String("txtFieldTO")) {
            control = txtFieldTO[std::size_t(design.index)] = new QLineEdit(parent);
        } else if (name == QLatin1String("chkSimulate")) {
            control = chkSimulate = new WrapCheckBox(caption, parent);
        } else if (name == QLatin1String("txtInst")) {
            txtInst = new QPlainTextEdit(parent);
            QPalette palette = txtInst->palette();
            palette.setColor(QPalette::Base, oleToColor(kInstructionsColor));
            txtInst->setPalette(palette);
            control = txtInst;
        }
        Q_ASSERT(control);
        control->setObjectName(name);
        if (design.index >= 0)
            control->setProperty("index", design.index);
        control->setGeometry(design.rect.toPixels());
    }
}

void FrmBatchUpdate::applyWindowFont()
{
    QList<CaptionRoom> captions;
    for (const ControlDesign& design : batchUpdateDesign()) {
        const QString caption = QString::fromUtf8(design.caption);
        if (caption.isEmpty())
            continue;
        const QRect rect = design.rect.toPixels();
        const QString name = QString::fromLatin1(design.name);
        QSize room = rect.size();
        if (name.startsWith(QLatin1String("cmd")))
            room = QSize(rect.width() - 8, rect.height() - 4);
        else if (name.startsWith(QLatin1String("chk")))
            room = QSize(rect.width() - 20, rect.height());
        else if (name.startsWith(QLatin1String("fra")))
            room = QSize(rect.width() - 16, QFontMetrics(QFont()).height() * 2);
        captions.append({caption, room});
    }
    const QStringList fallback{QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")};
    setFont(chooseWindowFont({QString::fromLatin1(kWindowFont)}, kDesignPointSize, fallback, captions));
}

void FrmBatchUpdate::cmdDrugs_Click()
{
    // The one yield below could deliver a second click; one run at a time.
    if (m_running)
        return;
    m_running = true;
    const QString caption = cmdDrugs->text();
    RunPosition at;
    try {
        BusyPointer busy;
        // Counted from before the yield: the main window must not close under the run.
        RunningOperation running(m_main);
        m_main.services().messageLoop.yieldOnce();
        // Read after the yield, as the run reads the boxes.
        const QString refusal = replaceRefusal(boxTexts(txtField), boxTexts(txtFieldTO));
        if (!refusal.isEmpty())
            throw ComponentError(refusal);
        listDrugs(running, at);
        if (!chkSimulate->isChecked()) {
            for (int j = 0; j < kBoxCount; ++j) {
                txtField[j]->clear();
                txtFieldTO[j]->clear();
            }
        }
        cmdDrugs->setText(kUpdateCaption);
    } catch (const std::exception& error) {
        cmdDrugs->setText(caption);
        m_main.services().messages.warning(this, failureMessage(error, at));
    }
    m_running = false;
    if (m_closeAfterRun)
        close();
}

void FrmBatchUpdate::listDrugs(RunningOperation& running, RunPosition& at)
{
    // The run reads the worklist only now, after its yield: a refresh during the
    // yield gives it the new list, which is the one the clerk sees.
    running.takeCurrentList();
    Grid1->reset(kDesignGridRows, kDrugColumnCount);
    Grid1->setColumnWidth(GenericName, kGenericNameWidthTwips);
    for (int column = 0; column < kDrugColumnCount; ++column)
        Grid1->setText(0, column, drugColumnTitles()[column]);

    FlexGrid& worklist = *m_main.Grid1;
    const int lastRow = worklist.rowCount() - 1;
    // The change lines of the user log wait for the frames too.
    BatchScope batch;
    Recordset drugs;
    for (int row = 1; row <= lastRow; ++row) {
        if (!running.beforeRow(row))
            break;
        at = RunPosition{true, worklist.text(row, worklist::IdNum), false, false, {}};
        showProgress(row, lastRow);
        drugs.open(drugQuery(at.patientId), m_main.pclsUser->sqlconnection(), CursorType::ForwardOnly,
                   LockType::Optimistic);
        while (!drugs.eof()) {
            DrugRecordTexts record;
            for (int column = 0; column < kDrugColumnCount; ++column)
                record.fields[column] = drugs.field(column);
            at.inRecord = true;
            at.saved = false;
            at.record = record;
            appendDrugRow(record);
            // A NULL name is no name, not even the empty one.
            if (!drugs.isNull(GenericName) && txtDrugName->text() == record.fields[GenericName])
                replaceInRecord(drugs, at);
            drugs.moveNext();
            at.inRecord = false;
        }
        drugs.close();
    }
}

void FrmBatchUpdate::appendDrugRow(const DrugRecordTexts& record)
{
    QStringList cells;
    bool holdsTab = false;
    for (const QString& text : record.fields) {
        cells.append(text);
        holdsTab = holdsTab || text.contains(QLatin1Char('\t'));
    }
    Grid1->appendRow(cells.join(QLatin1Char('\t')));
    // A tab typed into a field would shift the cells after it; the change lines
    // and the cells written back must show the field as it is.
    if (holdsTab) {
        const int row = Grid1->rowCount() - 1;
        for (int column = 0; column < kDrugColumnCount; ++column)
            Grid1->setText(row, column, record.fields[column]);
    }
}

void FrmBatchUpdate::replaceInRecord(Recordset& drugs, RunPosition& at)
{
    const DrugRecordTexts& record = at.record;
    const std::vector<DrugFieldChange> changes = findAndReplace(record, boxTexts(txtField), boxTexts(txtFieldTO));
    if (changes.empty())
        return;
    if (chkSimulate->isChecked()) {
        for (const DrugFieldChange& change : changes)
            m_main.pclsUser->addlog(change.line);
        return;
    }
    try {
        for (const DrugFieldChange& change : changes)
            drugs.setField(kFirstBoxColumn + change.box, change.text);
        drugs.update();
    } catch (const std::exception& error) {
        try {
            m_main.pclsUser->addlog(record.fields[IDNum] + QLatin1Char(' ') + record.fields[GenericName]
                                    + (saveOutcomeUnknown(error) ? QStringLiteral(" may not have been saved: ")
                                                                 : QStringLiteral(" not saved: "))
                                    + errorDescription(error));
        } catch (const std::exception&) {
            // The message box still names the record and the reason.
        }
        throw;
    }
    // The cells show new values only once they are saved: a record whose save
    // fails keeps showing what the database holds.
    const int row = Grid1->rowCount() - 1;
    for (const DrugFieldChange& change : changes)
        Grid1->setText(row, kFirstBoxColumn + change.box, change.text);
    // The change lines follow the save, never precede it: a log that showed them
    // first could tell of a change that a crash before the commit kept out.
    at.saved = true;
    try {
        for (const DrugFieldChange& change : changes)
            m_main.pclsUser->addlog(change.line);
    } catch (const std::exception& error) {
        throw ComponentError(QStringLiteral("IDNum %1, GenericName %2 was saved, but the user log could not be "
                                            "written: %3")
                                 .arg(record.fields[IDNum], record.fields[GenericName], errorDescription(error)));
    }
}

void FrmBatchUpdate::showProgress(int patient, int patients)
{
    // The run does not yield: the windows are painted at the pacer's frames, a
    // few times a second, not at every patient.
    cmdDrugs->setText(QStringLiteral("Patient %1 of %2").arg(patient).arg(patients));
    RepaintPacer::instance().paintIfDue();
}

QString FrmBatchUpdate::failureMessage(const std::exception& error, const RunPosition& at)
{
    QString text = errorDescription(error);
    if (at.inRecord && !at.saved) {
        text += (saveOutcomeUnknown(error)
                     ? QStringLiteral("\n\nThe run stopped at IDNum %1, GenericName %2; this record may not have "
                                      "been saved.")
                     : QStringLiteral("\n\nThe run stopped at IDNum %1, GenericName %2; this record was not saved."))
                    .arg(at.record.fields[IDNum], at.record.fields[GenericName]);
    } else if (at.inPatient) {
        text += QStringLiteral("\n\nThe run stopped at IDNum %1.").arg(at.patientId);
    }
    return text;
}

void FrmBatchUpdate::Grid1_Click(int row)
{
    txtDrugName->setText(Grid1->text(row, GenericName));
    for (int j = 0; j < kBoxCount; ++j) {
        txtField[j]->setText(Grid1->text(row, kFirstBoxColumn + j));
        txtFieldTO[j]->setText(txtField[j]->text());
    }
}

void FrmBatchUpdate::closeEvent(QCloseEvent* event)
{
    // Only the run's one yield lets a close in; the window goes when the run ends.
    if (m_running) {
        m_closeAfterRun = true;
        event->ignore();
        return;
    }
    QPointer<FrmBatchUpdate>& open = SecondaryWindow<FrmBatchUpdate>::of(m_main);
    if (open == this)
        open = nullptr; // the next opening creates the window anew
    QWidget::closeEvent(event);
}

void openBatchUpdate(FrmClaimWorklist& main)
{
    SecondaryWindow<FrmBatchUpdate>::show(main, [&main] { return new FrmBatchUpdate(main); });
}

FrmBatchUpdate* batchUpdateWindow(FrmClaimWorklist& main)
{
    return SecondaryWindow<FrmBatchUpdate>::of(main).data();
}

} // namespace vantik
