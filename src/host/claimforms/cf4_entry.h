#pragma once

// The program's own row of CF4 items the HIS does not hold (MEDICARE..tbCF4Entry,
// one per claim), as the entry window reads and writes it.

#include "host/claimforms/claim_form_saves.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace vantik {

class Connection;

/// The claim's row as it stands now; none when it has none. Throws DatabaseError.
std::optional<SeenRow> readCf4Entry(Connection& connection, const QString& idNum);

/// Writes the columns given into the claim's row (made when there is none), with
/// the clerk (in capitals) and the time as the last change, unless the row is no
/// longer as seen. Throws DatabaseError.
void saveCf4Entry(Connection& connection, const QString& idNum, const std::optional<SeenRow>& seen,
                  const QList<QPair<QString, QString>>& columns, const QString& clerk, const QDateTime& now);

/// The declared length of a text column of the row; 0 when none is known.
int cf4EntryLength(Connection& connection, const QString& column);

} // namespace vantik
