#include "host/claimforms/grid_print_preview.h"

#include "host/claimforms/grid_printer.h"
#include "host/component_error.h"

#include <QDateTime>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <optional>

namespace vantik {

void previewGrid(QWidget* parent, const QString& title, const FlexGrid& grid)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    preparePageForGrid(printer, grid);
    // The preview and the print made from it carry the same time.
    const QDateTime printedAt = QDateTime::currentDateTime();

    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(title.isEmpty() ? QStringLiteral("Print Preview")
                                          : QStringLiteral("%1 - Print Preview").arg(title));
    dialog.resize(1000, 760);

    // An exception must not cross Qt's event loop: keep it and raise it once
    // the dialog is closed.
    std::optional<ComponentError> failure;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        if (failure)
            return;
        try {
            paintGrid(*target, title, grid, printedAt);
        } catch (const ComponentError& error) {
            failure = error;
        } catch (const std::exception& error) {
            failure = ComponentError(errorDescription(error));
        }
        if (failure)
            QMetaObject::invokeMethod(&dialog, &QDialog::reject, Qt::QueuedConnection);
    });
    dialog.exec();
    if (failure)
        throw *failure;
}

} // namespace vantik
