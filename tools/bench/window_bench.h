#pragma once

#include <QList>
#include <QString>

namespace vantik::bench {

/// vantik-bench --window: the clerk's cases through the program as it runs, the
/// real main window with its real current-user component (log-in, user log file
/// and window) and claim-form library, shown on the display Qt was given. Each
/// case runs with the tests' scripted yield and with the program's message loop,
/// both timed until the windows have painted the final state. Writes are
/// committed, on a copy of the database. Throws on failure.
void runWindowBench(const QString& folder, int repeat, const QList<int>& cases);

} // namespace vantik::bench
