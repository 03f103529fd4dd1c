#pragma once

#include "host/sqlcompat/sqltype.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vantik::sqlcompat {

struct ColumnInfo {
    std::string name;      ///< as declared
    SqlType type = SqlType::Unknown;
    bool primaryKey = false;
};

struct TableInfo {
    std::string schema;    ///< as attached: Patient_Data, Build_File, Station, MEDICARE
    std::string name;      ///< as declared
    std::vector<ColumnInfo> columns;

    /// Case-insensitive lookup; nullptr when the table has no such column.
    const ColumnInfo* column(std::string_view columnName) const;
};

/// The tables of the attached databases with their columns' kinds. The translator
/// resolves column references against it (names are case-insensitive, as under
/// SQL Server's default collation).
class Catalog {
public:
    void addTable(TableInfo table);
    /// Case-insensitive on both names; nullptr when unknown.
    const TableInfo* find(std::string_view schema, std::string_view table) const;
    bool empty() const { return m_tables.empty(); }

private:
    std::map<std::string, TableInfo> m_tables; // key: lower-case "schema.table"
};

/// ASCII lower case, for case-insensitive names.
std::string lowerAscii(std::string_view text);

} // namespace vantik::sqlcompat
