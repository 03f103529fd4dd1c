#pragma once

#include <QString>

namespace vantik::embedded {

/// A name for SQLite in double quotes, a quote inside doubled.
QString quoteName(const QString& name);

/// How long a statement waits for another program's lock on a file before it fails.
inline constexpr int kBusyTimeoutMs = 5000;

} // namespace vantik::embedded
