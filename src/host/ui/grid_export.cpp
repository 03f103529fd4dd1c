#include "host/ui/grid_export.h"

#include "host/ui/flex_grid.h"
#include "host/ui/grid_values.h"

#include <QBuffer>
#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <vector>

namespace vantik {

namespace {

// A sheet holds this many rows, the header included.
constexpr int kSheetRows = LXW_ROW_MAX;
// Text longer than this does not fit a workbook cell.
constexpr int kCellCharacters = 32767;
// Column widths in characters: a little room beside the widest value, and a
// limit so that one long remark does not push the other columns off screen.
constexpr double kWidthPadding = 2.0;
constexpr double kWidestColumn = 60.0;
constexpr double kDateWidth = 11.0;
constexpr double kDateTimeWidth = 19.0;

QString exportFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("The list could not be exported to %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

void appendCsvField(QByteArray& out, const QString& text)
{
    const bool quoted = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"'))
                        || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    if (!quoted) {
        out += text.toUtf8();
        return;
    }
    out += '"';
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    out += doubled.toUtf8();
    out += '"';
}

/// A file name as the workbook library takes it: UTF-8 on Windows, where it
/// converts names for the wide file functions; the file system's bytes elsewhere.
QByteArray libraryFileName(const QString& path)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(path).toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

struct SheetColumn {
    int gridColumn = 0;
    ColumnValues values;
    double width = 0;
};

std::vector<SheetColumn> sheetColumns(const FlexGrid& grid)
{
    std::vector<SheetColumn> columns;
    const int rows = grid.rowCount();
    for (const int column : shownColumns(grid)) {
        SheetColumn sheet{column, describeColumn(grid, column), 0};
        double widest = grid.text(0, column).size() * 1.1; // bold
        if (sheet.values.kind == ValueKind::Date) {
            widest = std::max(widest, sheet.values.withTime ? kDateTimeWidth : kDateWidth);
        } else {
            for (int row = 1; row < rows && widest < kWidestColumn; ++row)
                widest = std::max<double>(widest, grid.text(row, column).size());
        }
        sheet.width = std::min(widest, kWidestColumn) + kWidthPadding;
        columns.push_back(sheet);
    }
    return columns;
}

class Workbook {
public:
    explicit Workbook(const QString& path)
    {
        lxw_workbook_options options{};
        // Rows go to the file as they are written: a year's list does not have
        // to fit in memory twice.
        options.constant_memory = LXW_TRUE;
        // Its scratch files go where Qt's do; left to the C library, Windows puts
        // them in the root of the system drive, which a clerk may not write to.
        m_scratch = libraryFileName(QDir::tempPath());
        options.tmpdir = m_scratch.data();
        m_path = libraryFileName(path);
        m_book = workbook_new_opt(m_path.constData(), &options);
    }
    ~Workbook()
    {
        if (m_book)
            workbook_close(m_book);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_workbook* get() const { return m_book; }
    lxw_error close()
    {
        const lxw_error error = workbook_close(m_book);
        m_book = nullptr;
        return error;
    }

private:
    QByteArray m_scratch;
    QByteArray m_path;
    lxw_workbook* m_book = nullptr;
};

QString reasonOf(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

/// Writes the workbook; returns the reason it failed, or nothing.
QString writeWorkbook(const FlexGrid& grid, const QString& path)
{
    const int rows = grid.rowCount();
    if (rows > kSheetRows)
        return QStringLiteral("the list has %1 rows and a worksheet holds at most %2; export it as CSV instead.")
            .arg(rows - 1)
            .arg(kSheetRows - 1);

    Workbook book(path);
    if (!book.get())
        return QStringLiteral("the workbook could not be started.");
    lxw_worksheet* sheet = workbook_add_worksheet(book.get(), "List");
    lxw_format* header = workbook_add_format(book.get());
    format_set_bold(header);
    lxw_format* date = workbook_add_format(book.get());
    format_set_num_format(date, "mm/dd/yyyy");
    lxw_format* dateTime = workbook_add_format(book.get());
    format_set_num_format(dateTime, "mm/dd/yyyy hh:mm AM/PM");
    // Text written as text keeps "0012" and "26000742" as typed.
    lxw_format* text = workbook_add_format(book.get());
    format_set_num_format(text, "@");

    const std::vector<SheetColumn> columns = sheetColumns(grid);
    for (std::size_t at = 0; at < columns.size(); ++at) {
        const SheetColumn& column = columns[at];
        lxw_format* format = column.values.kind == ValueKind::Date ? (column.values.withTime ? dateTime : date)
                             : column.values.kind == ValueKind::Text ? text
                                                                     : nullptr;
        worksheet_set_column(sheet, lxw_col_t(at), lxw_col_t(at), column.width, format);
    }
    worksheet_freeze_panes(sheet, 1, 0);

    for (int row = 0; row < rows; ++row) {
        for (std::size_t at = 0; at < columns.size(); ++at) {
            const SheetColumn& column = columns[at];
            const QString value = grid.text(row, column.gridColumn);
            const auto r = lxw_row_t(row);
            const auto c = lxw_col_t(at);
            lxw_error error = LXW_NO_ERROR;
            if (row == 0) {
                error = worksheet_write_string(sheet, r, c, value.toUtf8().constData(), header);
            } else if (value.isEmpty()) {
                continue;
            } else if (value.size() > kCellCharacters) {
                return QStringLiteral("row %1 of column \"%2\" holds %3 characters, more than a workbook cell "
                                      "takes (%4); export the list as CSV instead.")
                    .arg(row)
                    .arg(grid.text(0, column.gridColumn))
                    .arg(value.size())
                    .arg(kCellCharacters);
            } else if (column.values.kind == ValueKind::Number) {
                error = worksheet_write_number(sheet, r, c, *parsePlainNumber(value), nullptr);
            } else if (column.values.kind == ValueKind::Date) {
                const QDateTime when = *parseShownDateTime(value);
                lxw_datetime stamp{when.date().year(), when.date().month(), when.date().day(),
                                   when.time().hour(), when.time().minute(),
                                   when.time().second() + when.time().msec() / 1000.0};
                error = worksheet_write_datetime(sheet, r, c, &stamp, column.values.withTime ? dateTime : date);
            } else {
                error = worksheet_write_string(sheet, r, c, value.toUtf8().constData(), text);
            }
            if (error != LXW_NO_ERROR)
                return reasonOf(error) + QLatin1Char('.');
        }
    }
    const lxw_error closed = book.close();
    if (closed != LXW_NO_ERROR)
        return reasonOf(closed) + QLatin1Char('.');
    return {};
}

/// Copies the finished workbook into the file being saved; the reason it failed, or nothing.
QString copyInto(QFile& from, QSaveFile& to)
{
    if (!from.open(QIODevice::ReadOnly))
        return from.errorString() + QLatin1Char('.');
    while (!from.atEnd()) {
        const QByteArray chunk = from.read(1 << 20);
        if (chunk.isEmpty() && from.error() != QFileDevice::NoError)
            return from.errorString() + QLatin1Char('.');
        if (to.write(chunk) != chunk.size())
            return to.errorString() + QLatin1Char('.');
    }
    return {};
}

void exportWorkbook(const FlexGrid& grid, const QString& path)
{
    // The library writes to a name, and Windows renames no file over an existing
    // one: the workbook is made aside and copied into a QSaveFile, which replaces
    // the target whole (keeping its permissions) or not at all, on every system.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ExportError(exportFailure(path, file.errorString() + QLatin1Char('.')));
    // A folder of its own (the owner's alone), not a temporary file: an open one
    // could not be written by the library on Windows.
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        throw ExportError(exportFailure(path, scratch.errorString() + QLatin1Char('.')));
    QFile book(scratch.filePath(QStringLiteral("list.xlsx")));
    QString failure = writeWorkbook(grid, book.fileName());
    if (failure.isEmpty())
        failure = copyInto(book, file);
    if (failure.isEmpty() && !file.commit())
        failure = file.errorString() + QLatin1Char('.');
    if (!failure.isEmpty())
        throw ExportError(exportFailure(path, failure));
}

void exportCsv(const FlexGrid& grid, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ExportError(exportFailure(path, file.errorString() + QLatin1Char('.')));
    if (!writeGridCsv(grid, file) || !file.commit())
        throw ExportError(exportFailure(path, file.errorString() + QLatin1Char('.')));
}

} // namespace

ExportFormat exportFormatFor(const QString& path)
{
    return path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive) ? ExportFormat::Xlsx : ExportFormat::Csv;
}

bool writeGridCsv(const FlexGrid& grid, QIODevice& device)
{
    const std::vector<int> columns = shownColumns(grid);
    QByteArray chunk("\xEF\xBB\xBF");
    const int rows = grid.rowCount();
    for (int row = 0; row < rows; ++row) {
        for (std::size_t at = 0; at < columns.size(); ++at) {
            if (at > 0)
                chunk += ',';
            appendCsvField(chunk, grid.text(row, columns[at]));
        }
        chunk += "\r\n";
        if (chunk.size() >= 1 << 16 || row == rows - 1) {
            if (device.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return true;
}

QByteArray gridCsv(const FlexGrid& grid)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeGridCsv(grid, buffer);
    return bytes;
}

void exportGrid(const FlexGrid& grid, const QString& path, ExportFormat format)
{
    if (format == ExportFormat::Xlsx)
        exportWorkbook(grid, path);
    else
        exportCsv(grid, path);
}

} // namespace vantik
