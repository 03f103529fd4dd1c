#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace vantik {

class Connection;

/// A table the program reads or writes, with every right it needs on it and what
/// needs them. docs/sql-server.md shows the same list.
struct TableRight {
    const char* database;
    const char* table;
    const char* rights;    ///< "SELECT", "SELECT, INSERT, UPDATE"...
    const char* readBy;    ///< what needs SELECT
    const char* writtenBy; ///< what needs the other rights; "" when there are none
};

/// Every table the program reads or writes, one line each.
const std::vector<TableRight>& requiredTableRights();

/// A right the log-in lacks: "UPDATE on Patient_Data..tbPatient (brief history)".
struct MissingRight {
    QString right;
    QString table;  ///< database..table
    QString usedBy; ///< what fails without it
};

/// One statement that asks SQL Server, through HAS_PERMS_BY_NAME, which of the
/// rights the log-in has: a row per table and right (DatabaseName, TableName,
/// RightName, Granted), Granted 1 when it has it.
QString tableRightsStatement(const std::vector<TableRight>& rights);

/// The rights the connection's log-in lacks; none on a backend without table
/// rights (the embedded files). Throws DatabaseError when the server cannot be asked.
std::vector<MissingRight> missingTableRights(Connection& connection,
                                             const std::vector<TableRight>& rights = requiredTableRights());

/// The one message naming every missing right; empty when none is missing.
QString missingRightsMessage(const std::vector<MissingRight>& missing);

} // namespace vantik
