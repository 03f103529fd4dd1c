#include "host/data/result_set.h"
#include "host/ui/flex_grid_widget.h"
#include "host/ui/grid_export.h"
#include "host/ui/grid_export_prompt.h"
#include "host/ui/grid_values.h"
#include "support/xlsx_sheet.h"
#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTableView>

#include <gmock/gmock.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace vantik {
namespace {

using ::testing::ElementsAre;

// Texts that break naive writers and readers.
const QStringList kAwkward{"O'Brien, Ma. Niña", "say \"ah\"", "two\nlines", "", "Ñoño é", "crlf\r\nend", "  padded  "};

/// A bound list: identifiers as text, a decimal, a datetime, converted dates, a
/// hidden column and an unnamed empty one.
ResultSet awkwardList()
{
    ResultSet result({"IdNum", "Patient Name", "Amount", "Taken", "RegDate", "Secret", ""},
                     {SqlType::Text, SqlType::Text, SqlType::Decimal, SqlType::DateTime, SqlType::Text,
                      SqlType::Text, SqlType::Text});
    for (int row = 0; row < kAwkward.size(); ++row) {
        result.appendCell(row == 1 ? QStringLiteral("00012") : QStringLiteral("2600074%1").arg(row));
        result.appendCell(kAwkward[row]);
        result.appendCell(row == 3 ? QString() : QStringLiteral("%1.5").arg(row * 100));
        result.appendCell(QStringLiteral("1/%1/2024 9:07:00 AM").arg(row + 1));
        result.appendCell(QStringLiteral("Nov %1 2026 12:00AM").arg(row + 1, 2));
        result.appendCell(QStringLiteral("HIDDEN"));
        result.appendCell(QString());
    }
    return result;
}

void fill(FlexGridWidget& grid)
{
    grid.bind(awkwardList());
    grid.setColumnWidth(5, 0);
}

/// RFC 4180 fields, line by line.
QList<QStringList> parseCsv(const QString& text)
{
    QList<QStringList> rows{{}};
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            rows.last().append(field);
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            rows.last().append(field);
            field.clear();
            rows.append(QStringList());
            ++i;
        } else {
            field += c;
        }
    }
    if (rows.last().isEmpty() && field.isEmpty())
        rows.removeLast();
    return rows;
}

QStringList shownRow(const FlexGrid& grid, int row)
{
    QStringList cells;
    for (const int column : shownColumns(grid))
        cells.append(grid.text(row, column));
    return cells;
}

TEST(GridValues, DatesNumbersAndIdentifiersAreToldApart)
{
    EXPECT_EQ(parseShownDateTime(u"Nov  9 2026 10:30AM"), QDateTime(QDate(2026, 11, 9), QTime(10, 30), Qt::UTC));
    EXPECT_EQ(parseShownDateTime(u"Jul 22 1974 12:00AM"), QDateTime(QDate(1974, 7, 22), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(parseShownDateTime(u"Jan  1 2026 12:15PM"), QDateTime(QDate(2026, 1, 1), QTime(12, 15), Qt::UTC));
    EXPECT_EQ(parseShownDateTime(u"1/5/2024 9:07:00 PM"), QDateTime(QDate(2024, 1, 5), QTime(21, 7), Qt::UTC));
    EXPECT_EQ(parseShownDateTime(u"01/05/2024"), QDateTime(QDate(2024, 1, 5), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(parseShownDateTime(u"2024-01-05 09:07:00.250"), QDateTime(QDate(2024, 1, 5), QTime(9, 7, 0, 250), Qt::UTC));
    for (const char16_t* notADate : {u"Feb 30 2026 10:30AM", u"13/01/2024", u"26000742", u"Nov 9", u"N/A"})
        EXPECT_FALSE(parseShownDateTime(notADate)) << QString::fromUtf16(notADate).toStdString();

    EXPECT_EQ(parsePlainNumber(u"150.5"), 150.5);
    EXPECT_EQ(parsePlainNumber(u"-3"), -3);
    for (const char16_t* notANumber : {u"0012", u"1e5", u"+4", u"12.", u"1234567890123456", u"", u"1,000"})
        EXPECT_FALSE(parsePlainNumber(notANumber)) << QString::fromUtf16(notANumber).toStdString();

    for (const char16_t* name : {u"IdNum", u"hospnum", u"OPDIDNum", u"AttendingDr1 ID", u"UnitCode", u"Account No"})
        EXPECT_TRUE(isIdentifierName(name)) << QString::fromUtf16(name).toStdString();
    for (const char16_t* name : {u"Quantity", u"TotalAmount", u"Complete", u"Length Stay"})
        EXPECT_FALSE(isIdentifierName(name)) << QString::fromUtf16(name).toStdString();

    // A grid filled cell by cell: numbers count only under a name that is no identifier.
    FlexGridWidget grid;
    grid.reset(1, 4);
    for (int column = 0; column < 4; ++column)
        grid.setText(0, column, QStringList{"IDNum", "Quantity", "Route", "Ordered"}[column]);
    grid.appendRow("26000742\t2\tOral tablet\tNov  9 2026 10:30AM");
    grid.appendRow("26000743\t0.5\tIV\tNov 10 2026 12:00AM");
    EXPECT_EQ(describeColumn(grid, 0).kind, ValueKind::Text);
    EXPECT_TRUE(describeColumn(grid, 0).singleWords);
    EXPECT_EQ(describeColumn(grid, 1).kind, ValueKind::Number);
    EXPECT_EQ(describeColumn(grid, 2).kind, ValueKind::Text);
    EXPECT_FALSE(describeColumn(grid, 2).singleWords);
    EXPECT_EQ(describeColumn(grid, 3).kind, ValueKind::Date);
    EXPECT_TRUE(describeColumn(grid, 3).withTime);
}

TEST(GridExport, CsvRoundTripsEveryRowOfTheShownColumns)
{
    FlexGridWidget grid;
    fill(grid);
    const QByteArray bytes = gridCsv(grid);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.contains("\r\n"));
    const QList<QStringList> rows = parseCsv(QString::fromUtf8(bytes.mid(3)));
    ASSERT_EQ(rows.size(), grid.rowCount());
    EXPECT_THAT(rows[0], ElementsAre("IdNum", "Patient Name", "Amount", "Taken", "RegDate"));
    for (int row = 0; row < grid.rowCount(); ++row)
        EXPECT_EQ(rows[row], shownRow(grid, row)) << row;
    EXPECT_EQ(rows[2][0], "00012");
    EXPECT_FALSE(bytes.contains("HIDDEN"));
}

TEST(GridExport, WorkbookKeepsTextsNumbersAndDatesApartWithAFrozenBoldHeader)
{
    test::TempDir dir;
    FlexGridWidget grid;
    fill(grid);
    const QString path = dir.file("list.xlsx");
    exportGrid(grid, path, exportFormatFor(path));
    const test::XlsxSheet sheet = test::readXlsx(path);

    EXPECT_EQ(sheet.frozenTopLeft, "A2");
    for (int column = 0; column < 5; ++column) {
        const test::XlsxCell header = sheet.cells.value(test::cellRef(0, column));
        EXPECT_TRUE(sheet.styleBold.value(header.style)) << column;
        EXPECT_EQ(header.value, grid.text(0, column));
    }
    EXPECT_FALSE(sheet.cells.contains("F1")); // the hidden and the empty column stay out
    for (int row = 1; row < grid.rowCount(); ++row) {
        const test::XlsxCell id = sheet.cells.value(test::cellRef(row, 0));
        EXPECT_NE(id.type, "") << "identifiers are text";
        EXPECT_EQ(id.value, grid.text(row, 0));
        const QString name = grid.text(row, 1);
        if (name.isEmpty()) {
            EXPECT_FALSE(sheet.cells.contains(test::cellRef(row, 1)));
        } else {
            EXPECT_EQ(sheet.text(test::cellRef(row, 1)), name) << row;
        }
        if (const QString amount = grid.text(row, 2); !amount.isEmpty()) {
            const test::XlsxCell number = sheet.cells.value(test::cellRef(row, 2));
            EXPECT_EQ(number.type, "");
            EXPECT_EQ(number.value.toDouble(), amount.toDouble());
        }
        const test::XlsxCell taken = sheet.cells.value(test::cellRef(row, 3));
        EXPECT_EQ(taken.type, "");
        EXPECT_THAT(sheet.styleFormats.value(taken.style).toStdString(), ::testing::HasSubstr("yyyy hh:mm"));
        // 1 January 2024 is day 45292 of the workbook's calendar.
        EXPECT_NEAR(taken.value.toDouble(), 45292 + (row - 1) + (9 * 60 + 7) / 1440.0, 1e-6);
        const test::XlsxCell registered = sheet.cells.value(test::cellRef(row, 4));
        EXPECT_EQ(sheet.styleFormats.value(registered.style), "mm/dd/yyyy");
    }
    EXPECT_EQ(sheet.text("A3"), "00012");
    EXPECT_GE(sheet.columnWidths.value(2), QStringLiteral("O'Brien, Ma. Niña").size());
}

TEST(GridExport, AFailedWriteLeavesNoHalfFileAndNamesTheReason)
{
    test::TempDir dir;
    FlexGridWidget grid;
    fill(grid);
    const QString kept = dir.file("kept.xlsx");
    QFile before(kept);
    ASSERT_TRUE(before.open(QIODevice::WriteOnly));
    before.write("what was there");
    before.close();

    // A text too long for a workbook cell stops the export midway.
    grid.setText(3, 1, QString(40000, u'x'));
    try {
        exportGrid(grid, kept, ExportFormat::Xlsx);
        ADD_FAILURE() << "an over-long cell was exported";
    } catch (const ExportError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr("kept.xlsx"));
        EXPECT_THAT(error.what(), ::testing::HasSubstr("Patient Name"));
    }
    QFile after(kept);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), "what was there");
    EXPECT_THAT(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), ElementsAre("kept.xlsx"));

    for (const ExportFormat format : {ExportFormat::Csv, ExportFormat::Xlsx}) {
        const QString nowhere = dir.file("no-such-folder/list.csv");
        try {
            exportGrid(grid, nowhere, format);
            ADD_FAILURE() << "exported into a missing folder";
        } catch (const ExportError& error) {
            EXPECT_THAT(error.what(), ::testing::HasSubstr("no-such-folder"));
        }
    }
}

// Exporting again under the same name is the everyday case, and Windows renames no
// file over another. A new file gets the usual permissions (not a temporary file's
// owner-only ones); a replaced one keeps those the clerk gave it.
TEST(GridExport, ExportingAgainReplacesTheFileAndKeepsItsPermissions)
{
    test::TempDir dir;
    FlexGridWidget grid;
    fill(grid);
#ifdef Q_OS_UNIX
    const mode_t umask = ::umask(022);
    constexpr QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup
                                                 | QFileDevice::ReadOther | QFileDevice::WriteOther;
#endif
    for (const QString name : {"list.xlsx", "list.csv"}) {
        const QString path = dir.file(name);
        exportGrid(grid, path, exportFormatFor(path));
#ifdef Q_OS_UNIX
        EXPECT_EQ(QFile::permissions(path) & kOthers, QFileDevice::ReadGroup | QFileDevice::ReadOther) << name.toStdString();
        ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
#endif
        grid.setText(2, 1, "Exported again");
        exportGrid(grid, path, exportFormatFor(path));
        if (exportFormatFor(path) == ExportFormat::Xlsx) {
            EXPECT_EQ(test::readXlsx(path).text("B3"), "Exported again");
        } else {
            QFile csv(path);
            ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
            EXPECT_EQ(csv.readAll(), gridCsv(grid));
        }
#ifdef Q_OS_UNIX
        EXPECT_EQ(QFile::permissions(path) & kOthers, QFileDevice::Permissions()) << name.toStdString();
#endif
        fill(grid);
    }
#ifdef Q_OS_UNIX
    ::umask(umask);
#endif
    EXPECT_THAT(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), ElementsAre("list.csv", "list.xlsx"));
}

TEST(GridExport, EveryGridOffersExportInItsContextMenu)
{
    test::TempDir dir;
    FlexGridWidget grid;
    grid.setWindowTitle("Claims Worklist");
    fill(grid);
    ASSERT_TRUE(grid.view()->actions().contains(grid.exportAction()));
    EXPECT_EQ(grid.view()->contextMenuPolicy(), Qt::ActionsContextMenu);
    EXPECT_EQ(grid.exportAction()->text(), QStringLiteral("Export\u2026"));

    ExportPrompts& prompts = exportPrompts();
    struct RealPrompts {
        ExportPrompts kept = exportPrompts();
        ~RealPrompts() { exportPrompts() = kept; }
    } restore;
    QStringList suggested, told;
    QString answer = dir.file("worklist.csv");
    prompts.choosePath = [&](QWidget*, const QString& path) {
        suggested.append(path);
        return answer;
    };
    prompts.tell = [&](QWidget*, const QString& message) { told.append(message); };

    grid.exportAction()->trigger();
    ASSERT_EQ(suggested.size(), 1);
    EXPECT_TRUE(suggested[0].endsWith("/Claims Worklist.xlsx")) << suggested[0].toStdString();
    QFile csv(answer);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), gridCsv(grid));

    // The folder chosen last is offered next; cancelling writes nothing.
    answer.clear();
    grid.exportAction()->trigger();
    EXPECT_EQ(suggested[1], dir.file("Claims Worklist.xlsx"));

    answer = dir.file("missing/worklist.xlsx");
    grid.exportAction()->trigger();
    ASSERT_EQ(told.size(), 1);
    EXPECT_THAT(told[0].toStdString(), ::testing::HasSubstr("missing"));
}

} // namespace
} // namespace vantik
