#include "host/claimforms/grid_print_preview.h"
#include "host/claimforms/grid_printer.h"
#include "host/component_error.h"
#include "host/ui/flex_grid_widget.h"
#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>

namespace vantik {
namespace {

const QDateTime kPrintedAt(QDate(2025, 3, 14), QTime(14, 5));

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPageCount(const QString& pdf)
{
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run("pdfinfo", {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

/// The text of each page.
QStringList pdfPages(const QString& pdf)
{
    QStringList pages = run("pdftotext", {"-layout", pdf, "-"}).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QString rowId(int row)
{
    return QStringLiteral("A%1").arg(row, 5, 10, QLatin1Char('0'));
}

/// IdNum, Patient, a hidden Secret column, Doctor.
void fillWorklist(FlexGridWidget& grid, int dataRows)
{
    grid.reset(1, 4);
    const QStringList header{"IdNum", "Patient", "Secret", "Doctor"};
    for (int column = 0; column < header.size(); ++column)
        grid.setText(0, column, header[column]);
    for (int row = 1; row <= dataRows; ++row)
        grid.appendRow(QStringLiteral("%1\tDELA CRUZ, JUAN %2\tHIDDENVALUE\tDR SANTOS").arg(rowId(row)).arg(row));
    grid.setColumnWidth(0, 1400);
    grid.setColumnWidth(1, 3000);
    grid.setColumnWidth(2, 0);
    grid.setColumnWidth(3, 2500);
}

int printToPdf(const QString& pdf, const QString& title, const FlexGrid& grid, QPrinter* keep = nullptr)
{
    QPrinter own(QPrinter::HighResolution);
    QPrinter& printer = keep ? *keep : own;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return printGrid(printer, title, grid, kPrintedAt);
}

TEST(GridPrinter, EveryPageCarriesTitleDateHeaderAndPageNumberAndEveryRowPrintsOnce)
{
    test::TempDir dir;
    FlexGridWidget grid;

    fillWorklist(grid, 3);
    grid.setRowBackground(2, kOleYellow);
    const QString small = dir.file("small.pdf");
    EXPECT_EQ(printToPdf(small, "Claims Worklist", grid), 1);
    EXPECT_EQ(pdfPageCount(small), 1);
    const QString text = pdfPages(small).value(0);
    for (const char* expected : {"Claims Worklist", "Printed 03/14/2025 02:05 PM", "IdNum", "Patient", "Doctor",
                                 "DELA CRUZ, JUAN 2", "DR SANTOS", "Page 1 of 1"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains("Secret"));
    EXPECT_FALSE(text.contains("HIDDENVALUE"));

    // Only the header row: one page all the same.
    fillWorklist(grid, 0);
    const QString empty = dir.file("empty.pdf");
    EXPECT_EQ(printToPdf(empty, "Accomplishment Report", grid), 1);
    const QString emptyText = pdfPages(empty).value(0);
    EXPECT_TRUE(emptyText.contains("IdNum"));
    EXPECT_TRUE(emptyText.contains("Page 1 of 1"));

    fillWorklist(grid, 150);
    const QString longer = dir.file("long.pdf");
    const int pageCount = printToPdf(longer, "Claims Worklist", grid);
    EXPECT_GE(pageCount, 3);
    EXPECT_EQ(pdfPageCount(longer), pageCount);
    const QStringList pages = pdfPages(longer);
    ASSERT_EQ(pages.size(), pageCount);
    for (int page = 1; page <= pageCount; ++page) {
        const QString& onPage = pages[page - 1];
        EXPECT_TRUE(onPage.contains("Claims Worklist")) << page;
        EXPECT_TRUE(onPage.contains("Printed 03/14/2025")) << page;
        EXPECT_TRUE(onPage.contains("IdNum") && onPage.contains("Patient") && onPage.contains("Doctor")) << page;
        EXPECT_TRUE(onPage.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pageCount))) << page;
        EXPECT_FALSE(onPage.contains("HIDDENVALUE")) << page;
    }
    // No row lost or printed twice where one page ends and the next begins.
    const QString all = pages.join(QString());
    for (int row = 1; row <= 150; ++row)
        EXPECT_EQ(all.count(rowId(row)), 1) << row;
}

/// A worklist as the main window lists it: 24 columns with the start-up widths,
/// the attending doctor's ID hidden, the unnamed HemoNum column empty.
void fillRealWorklist(FlexGridWidget& grid, int dataRows)
{
    const QStringList header{"hospnum", "IdNum", "RegDate", "Discharge Date", "Patient Name", "BriefHistory",
                             "isHemoDialysis", "CF4Status", "CF4AssignedTo", "CF4OpenBy", "Open On", "VerifiedON",
                             "CF4VerifiedBy", "MedicareType", "OPDIDNum", "", "IsChemo", "Sex", "Doctor1",
                             "Service", "AttendingDr1", "ACCOUNT", "Length Stay", "AdmittingDr"};
    const QStringList names{"Espiritu, Patricia", "D'Souza, Maria Concepcion", "Buenaventura, Maricel",
                            "Guevarra, Ma. Cristina Ñ."};
    const QStringList histories{"G2P1 (1001) 39 weeks AOG in labor", "N/A",
                                "Fever x 5 days, positive NS1, dengue; admitted for monitoring of platelets and "
                                "hydration, with abdominal pain and vomiting since yesterday"};
    const QStringList doctors{"Mendoza, Roberto  [Obstetrics and Gynecology]", "Manalastas, Ricardo  [Cardiology]",
                              "Navarro, Francis  [Internal Medicine]"};
    grid.reset(1, int(header.size()));
    for (int column = 0; column < header.size(); ++column)
        grid.setText(0, column, header[column]);
    for (int row = 1; row <= dataRows; ++row) {
        const int day = 1 + row % 28;
        const QStringList cells{
            QString::number(1000000 + row * 7),
            QStringLiteral("2600%1").arg(row, 4, 10, QLatin1Char('0')) + (row % 9 == 0 ? "b" : ""),
            QStringLiteral("Nov %1 2026 %2:55AM").arg(day, 2).arg(1 + row % 12, 2),
            QStringLiteral("Nov %1 2026 11:42AM").arg(day, 2),
            names[row % names.size()],
            histories[row % histories.size()],
            row % 5 == 0 ? "True" : "False",
            row % 3 == 0 ? "RETURNED: incomplete vital signs" : "VERIFIED",
            "MREYES",
            "LBAUTISTA",
            QStringLiteral("Nov %1 2026  1:42AM").arg(day, 2),
            row % 3 == 0 ? "" : QStringLiteral("Nov %1 2026  9:42AM").arg(day, 2),
            row % 3 == 0 ? "" : "AGARCIA",
            "M",
            row % 4 == 0 ? QStringLiteral("B2600%1").arg(row, 4, 10, QLatin1Char('0')) : "",
            "",
            "False",
            row % 2 ? "F" : "M",
            doctors[row % doctors.size()],
            "Internal Medicine",
            "DR0127",
            row % 2 ? QStringLiteral("PERSONAL %1").arg(1000000 + row * 7) : "Kapitolyo Savings Bank",
            QString::number(row % 21),
            "Tiongson, Ramon"};
        grid.appendRow(cells.join('\t'));
    }
    const std::pair<int, int> widths[] = {{2, 2000}, {4, 2000}, {7, 5000}, {9, 2000}, {10, 2000}, {18, 2000},
                                          {19, 1500}, {20, 0},   {21, 2000}, {23, 2000}};
    for (const auto& [column, twips] : widths)
        grid.setColumnWidth(column, twips);
}

TEST(GridPrinter, AWideListContinuesAcrossPagesWithItsIdentifiersWholeOnEach)
{
    test::TempDir dir;
    FlexGridWidget grid;
    fillRealWorklist(grid, 200);
    grid.setRowBackground(3, kOleGreen);
    QPrinter printer(QPrinter::HighResolution);
    const QString pdf = dir.file("worklist.pdf");
    const int pageCount = printToPdf(pdf, "Claims Worklist", grid, &printer);
    if (const QString keep = qEnvironmentVariable("VANTIK_WORKLIST_PDF"); !keep.isEmpty())
        QFile::copy(pdf, keep);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    const QStringList pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), pageCount);
    ASSERT_EQ(pageCount % 2, 0) << "two pages across for each stretch of rows";

    const QString all = pages.join(QString());
    const QRegularExpression word(QStringLiteral("\\S+"));
    QStringList words;
    for (auto it = word.globalMatch(all); it.hasNext();)
        words.append(it.next().captured());
    for (int row = 1; row <= 200; ++row) {
        // Printed whole, once on each of the two pages across (a personal
        // account repeats the hospital number).
        EXPECT_EQ(words.count(grid.text(row, 0)), row % 2 ? 3 : 2) << row;
        EXPECT_EQ(words.count(grid.text(row, 1)), 2) << row;
    }
    EXPECT_FALSE(all.contains("DR0127")) << "the hidden column stays out";
    EXPECT_TRUE(all.contains("Length")) << "every named column is printed";
    EXPECT_TRUE(all.contains("AdmittingDr"));
    for (int page = 1; page <= pageCount; ++page) {
        const QString& onPage = pages[page - 1];
        EXPECT_TRUE(onPage.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pageCount))) << page;
        EXPECT_TRUE(onPage.contains("hospnum") && onPage.contains("IdNum")) << page;
        EXPECT_TRUE(onPage.contains(QStringLiteral("Columns, part %1 of 2").arg(2 - page % 2))) << page;
    }
    // Dates, doctors and names are not cut; the long history wraps and ends in "…".
    EXPECT_TRUE(all.contains("Nov 10 2026 11:42AM"));
    EXPECT_TRUE(all.contains("Guevarra, Ma. Cristina Ñ."));
    EXPECT_TRUE(all.contains("\u2026"));
}

TEST(GridPrinter, ANarrowListPrintsUprightInTheLargestFontAndAFailingPrinterIsAComponentError)
{
    test::TempDir dir;
    FlexGridWidget grid;
    grid.reset(3, 30);
    for (int column = 0; column < 30; ++column) {
        grid.setText(0, column, QStringLiteral("C%1").arg(column));
        grid.setColumnWidth(column, 2000);
    }
    // One endless word: cut at the page's half, never lost in the middle of a column.
    const QString longText = QStringLiteral("VERYLONGWORD").repeated(40);
    grid.setText(1, 0, longText);
    grid.setText(2, 29, "LAST");

    QPrinter printer(QPrinter::HighResolution);
    const QString wide = dir.file("wide.pdf");
    const int pages = printToPdf(wide, "Claims Worklist", grid, &printer);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    const QString text = pdfPages(wide).join(QString());
    EXPECT_EQ(pages, 2);
    EXPECT_TRUE(text.contains("C0") && text.contains("C29") && text.contains("LAST")) << text.toStdString();
    EXPECT_TRUE(text.contains("VERYLONGWORD\u2026") || text.contains("VERYLONGWOR\u2026")
                || text.contains("\u2026"));
    EXPECT_FALSE(text.contains(longText));

    // A narrow grid stays upright.
    fillWorklist(grid, 2);
    EXPECT_EQ(printToPdf(dir.file("narrow.pdf"), "Claims Worklist", grid, &printer), 1);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);

    const QString unwritable = dir.file("no-such-folder/list.pdf");
    try {
        printToPdf(unwritable, "Claims Worklist", grid);
        ADD_FAILURE() << "printing to a missing folder succeeded";
    } catch (const ComponentError& error) {
        EXPECT_TRUE(error.description().contains("Claims Worklist")) << error.what();
        EXPECT_TRUE(error.description().contains(unwritable)) << error.what();
    }
}

TEST(GridPrinter, PreviewShowsThePrintedPages)
{
    FlexGridWidget grid;
    fillWorklist(grid, 150);
    int previewPages = -1;
    QString caption;
    QTimer::singleShot(0, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QPrintPreviewDialog*>(window); dialog && dialog->isVisible()) {
                caption = dialog->windowTitle();
                if (auto* preview = dialog->findChild<QPrintPreviewWidget*>())
                    previewPages = preview->pageCount();
                dialog->reject();
            }
        }
    });
    previewGrid(nullptr, "Claims Worklist", grid);
    EXPECT_GE(previewPages, 3);
    EXPECT_TRUE(caption.startsWith("Claims Worklist"));
}

} // namespace
} // namespace vantik
