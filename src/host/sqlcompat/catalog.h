#pragma once

#include "host/sqlcompat/sqltype.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantik::sqlcompat {

struct ColumnInfo {
    std::string name;      ///< as declared
    SqlType type = SqlType::Unknown;
    bool primaryKey = false;
    std::string typeName = {}; ///< lower case, without length: "varchar", "nvarchar", "decimal", "text"
    int length = 0;        ///< declared length in characters; 0: no limit known
    int precision = 0;     ///< decimal digits in all; 0: no limit known
    int scale = 0;         ///< decimal digits after the point
    int keyOrdinal = 0;    ///< place in the primary key, from 1; 0: not in it
    bool computed = false; ///< computed by the database, never written

    /// Whether a saved row can be found by comparing this column with "=":
    /// the large text, image and xml types and computed columns cannot.
    bool comparable() const;
    /// A text column whose "=" follows a collation (letter case, trailing
    /// blanks): the columns a save compares exactly.
    bool collatedText() const;
};

struct TableInfo {
    std::string schema;    ///< as attached: Patient_Data, Build_File, Station, MEDICARE
    std::string name;      ///< as declared
    std::vector<ColumnInfo> columns;

    /// Case-insensitive lookup; nullptr when the table has no such column.
    const ColumnInfo* column(std::string_view columnName) const;

    /// (hash of the lower-case name, position in columns), sorted: filled by
    /// Catalog::addTable, because the translator looks columns up for every name of
    /// every statement. Left empty, or out of step with columns, it is not used.
    std::vector<std::pair<std::uint64_t, std::uint32_t>> columnIndex;
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
    std::map<std::string, TableInfo, std::less<>> m_tables; // key: lower-case "schema.table"
};

/// ASCII lower case, for case-insensitive names.
std::string lowerAscii(std::string_view text);

inline constexpr char lowerAsciiChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// Whether two names are equal ignoring ASCII letter case; allocates nothing, since
/// the translator compares names many times per statement.
inline bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && lowerAsciiChar(a[i]) != lowerAsciiChar(b[i]))
            return false;
    }
    return true;
}

} // namespace vantik::sqlcompat
