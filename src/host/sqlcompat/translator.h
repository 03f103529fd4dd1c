#pragma once

#include "host/sqlcompat/catalog.h"
#include "host/sqlcompat/sqltype.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vantik::sqlcompat {

/// A T-SQL statement that the embedded engine cannot run with the same meaning.
/// what() names the construct, e.g. "The embedded database cannot translate the T-SQL construct 'PIVOT'."
/// Date literals that SQL Server could not read raise it with SQL Server's own message.
class TranslationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The SQLite text of one T-SQL statement, and what SQL Server would report about
/// its result columns.
struct Translation {
    std::string sql;                        ///< SQLite text, ready to prepare
    bool returnsRows = false;               ///< a SELECT
    std::vector<std::string> columnNames;   ///< as SQL Server names them: alias, plain column name, "" for an unnamed expression
    std::vector<SqlType> columnTypes;       ///< static kind of each result column (Unknown where it cannot be told)
};

/// Translates exactly the T-SQL the program uses (see the README's list) into
/// SQLite for the attached databases Patient_Data, Build_File, Station, MEDICARE.
/// Throws TranslationError for anything outside that list, never guessing.
Translation translateTsql(std::string_view tsql, const Catalog& catalog);

/// What an updatable recordset needs to know of a single-table SELECT.
struct SingleTableSelect {
    std::string schema;             ///< as written, e.g. "PATIENT_DATA"
    std::string table;              ///< as written, e.g. "tbPatientConditions"
    std::string alias;              ///< table alias, empty when none
    bool selectStar = false;        ///< the select list is "*"
    std::size_t selectListEnd = 0;  ///< offset in the T-SQL text just after the select list (before FROM)
};

/// Reads a SELECT over one table (no join, no subquery in FROM). Throws
/// TranslationError naming why it is not such a statement.
SingleTableSelect analyzeSingleTableSelect(std::string_view tsql);

} // namespace vantik::sqlcompat
