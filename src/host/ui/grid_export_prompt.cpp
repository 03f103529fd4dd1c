#include "host/ui/grid_export_prompt.h"

#include "host/ui/busy_guards.h"
#include "host/ui/grid_export.h"
#include "host/ui/message_box.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace vantik {

namespace {

const QString kWorkbookFilter = QStringLiteral("Excel workbook (*.xlsx)");
const QString kCsvFilter = QStringLiteral("CSV, comma-separated (*.csv)");

QString askForPath(QWidget* parent, const QString& suggestedPath)
{
    QString filter = suggestedPath.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? kCsvFilter : kWorkbookFilter;
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Export"), suggestedPath,
                                                kWorkbookFilter + QStringLiteral(";;") + kCsvFilter, &filter);
    if (path.isEmpty())
        return path;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("xlsx") && suffix != QLatin1String("csv"))
        path += filter == kCsvFilter ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    return path;
}

QString& lastFolder()
{
    static QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder;
}

QString fileNameOf(QString name)
{
    static const QString kNotInNames = QStringLiteral("/\\:*?\"<>|");
    for (QChar& character : name) {
        if (kNotInNames.contains(character) || character.unicode() < 0x20)
            character = QLatin1Char('_');
    }
    name = name.trimmed();
    return name.isEmpty() ? QStringLiteral("List") : name;
}

} // namespace

ExportPrompts& exportPrompts()
{
    static ExportPrompts prompts{askForPath,
                                 [](QWidget* parent, const QString& message) {
                                     QtMessageBox().warning(parent, message);
                                 }};
    return prompts;
}

bool exportGridAsked(QWidget* parent, const FlexGrid& grid, const QString& name)
{
    ExportPrompts& prompts = exportPrompts();
    const QString suggested = QDir(lastFolder()).filePath(fileNameOf(name) + QStringLiteral(".xlsx"));
    const QString path = prompts.choosePath(parent, suggested);
    if (path.isEmpty())
        return false;
    lastFolder() = QFileInfo(path).absolutePath();
    std::optional<BusyPointer> busy(std::in_place);
    try {
        exportGrid(grid, path, exportFormatFor(path));
    } catch (const std::exception& error) {
        busy.reset(); // the clerk reads the message with the normal pointer
        prompts.tell(parent, QString::fromUtf8(error.what()));
        return false;
    }
    return true;
}

} // namespace vantik
