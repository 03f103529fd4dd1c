#include "host/claimforms/grid_printer.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/grid_export_prompt.h"
#include "host/ui/grid_values.h"
#include "reports/frm_report.h"
#include "reports/install_reports.h"
#include "support/demo_db.h"
#include "support/worklist/worklist_window_fixture.h"
#include "support/xlsx_sheet.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>

#include <gmock/gmock.h>

namespace vantik::test {
namespace {

QString pdfText(const QString& pdf)
{
    QProcess process;
    process.start("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(process.waitForFinished(60000));
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList wordsOf(const QString& text)
{
    QStringList words;
    static const QRegularExpression word(QStringLiteral("\\S+"));
    for (auto it = word.globalMatch(text); it.hasNext();)
        words.append(it.next().captured());
    return words;
}

/// The grid printed to a PDF as PrintGrid prints it; the text of all pages.
QString printed(const FlexGrid& grid, const QString& title, const QString& pdf)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printGrid(printer, title, grid, QDateTime(QDate(2026, 11, 30), QTime(9, 0)));
    if (const QString keep = qEnvironmentVariable("VANTIK_KEEP_PDF"); !keep.isEmpty())
        QFile::copy(pdf, keep + "/" + title + ".pdf");
    return pdfText(pdf);
}

class ListOutputTest : public WorklistWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(start(sharedDemoDb()));
        installReports(*window);
        window->txtStartDate->setText("06/01/2026");
        window->txtEndDate->setText("11/30/2026");
    }
    TempDir folder;
};

TEST_F(ListOutputTest, TheListedWorklistPrintsEveryIdentifierWhole)
{
    window->cmdRefresh->click();
    const FlexGrid& grid = *window->Grid1;
    ASSERT_GT(grid.rowCount(), 40);
    const QString text = printed(grid, "Claims Worklist", folder.file("worklist.pdf"));
    const QStringList words = wordsOf(text);
    for (int row = 1; row < grid.rowCount(); ++row) {
        EXPECT_TRUE(words.contains(grid.text(row, 0))) << grid.text(row, 0).toStdString();
        EXPECT_TRUE(words.contains(grid.text(row, 1))) << grid.text(row, 1).toStdString();
    }
}

TEST_F(ListOutputTest, TheReportPrintsDoctorsWholeAndNoEmptyColumn)
{
    window->mAccomplismentReport->trigger();
    FrmReport* report = reportWindow(*window);
    ASSERT_NE(report, nullptr);
    const FlexGrid& grid = *report->Grid2;
    ASSERT_GT(grid.rowCount(), 3);
    const QString text = printed(grid, "Accomplishment Report", folder.file("report.pdf"));
    const QString flat = wordsOf(text).join(' ');
    for (int row = 1; row < grid.rowCount(); ++row) {
        const QString doctor = wordsOf(grid.text(row, 1)).join(' ');
        EXPECT_TRUE(flat.contains(doctor)) << doctor.toStdString();
    }
    EXPECT_FALSE(text.contains(QStringLiteral("\u2026")));
}

TEST_F(ListOutputTest, ExportListWritesEveryListedRowKeepingIdentifiersTextAndDatesDates)
{
    window->cmdRefresh->click();
    const FlexGrid& grid = *window->Grid1;
    ASSERT_GT(grid.rowCount(), 40);

    struct RealPrompts {
        ExportPrompts kept = exportPrompts();
        ~RealPrompts() { exportPrompts() = kept; }
    } restore;
    const QString path = folder.file("worklist.xlsx");
    QStringList told;
    exportPrompts().choosePath = [&](QWidget*, const QString&) { return path; };
    exportPrompts().tell = [&](QWidget*, const QString& message) { told.append(message); };
    window->mExportList->trigger();
    EXPECT_TRUE(told.isEmpty()) << told.join('\n').toStdString();

    const XlsxSheet sheet = readXlsx(path);
    const std::vector<int> shown = shownColumns(grid);
    QMap<QString, int> at; // header -> sheet column
    for (std::size_t column = 0; column < shown.size(); ++column) {
        EXPECT_EQ(sheet.text(cellRef(0, int(column))), grid.text(0, shown[column]));
        at.insert(grid.text(0, shown[column]), int(column));
    }
    EXPECT_FALSE(at.contains("AttendingDr1")) << "the hidden column stays out";
    ASSERT_TRUE(at.contains("IdNum") && at.contains("RegDate") && at.contains("Length Stay"));
    EXPECT_TRUE(sheet.cells.contains(cellRef(grid.rowCount() - 1, 0)));
    EXPECT_FALSE(sheet.cells.contains(cellRef(grid.rowCount(), 0)));
    for (int row = 1; row < grid.rowCount(); ++row) {
        const XlsxCell id = sheet.cells.value(cellRef(row, at["IdNum"]));
        EXPECT_NE(id.type, "");
        EXPECT_EQ(id.value, grid.text(row, 1));
        const XlsxCell registered = sheet.cells.value(cellRef(row, at["RegDate"]));
        EXPECT_EQ(registered.type, "");
        EXPECT_THAT(sheet.styleFormats.value(registered.style).toStdString(), ::testing::HasSubstr("yyyy"));
        if (const QString stay = grid.text(row, 22); !stay.isEmpty()) {
            const XlsxCell days = sheet.cells.value(cellRef(row, at["Length Stay"]));
            EXPECT_EQ(days.type, "") << row;
            EXPECT_EQ(days.value, stay);
        }
    }
}

} // namespace
} // namespace vantik::test
