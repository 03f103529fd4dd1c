#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace vantik {

class FrmClaimWorklist;

/// "All Listed: Check eCF4": every listed claim's readiness in order until the
/// list ends or Stop is pressed; the row green when ready, red when not, and one
/// activity-log line with the reasons per claim that is not ready.
void checkListedCf4(FrmClaimWorklist& window);

/// "Export eCF4…": asks for a folder, writes one file per ready listed claim and
/// the summary of every listed row there, and says what it did.
void exportListedCf4(FrmClaimWorklist& window);

/// Asks the clerk for the export's folder; empty when cancelled. One for the
/// program (a folder dialog); tests replace it.
using FolderChooser = std::function<QString(QWidget* parent, const QString& startFolder)>;
FolderChooser& cf4FolderChooser();

} // namespace vantik
