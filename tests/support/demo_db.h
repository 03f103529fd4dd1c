#pragma once

#include <QString>

namespace vantik::test {

/// A small demo database (300 admissions and visits, seed 1), made once per test
/// program in a temporary folder. Tests that write must copy it first.
QString sharedDemoDb();

/// A fresh copy of the shared demo database in the given folder; returns the folder.
QString copyOfDemoDb(const QString& folder);

} // namespace vantik::test
