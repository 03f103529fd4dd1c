#include "host/sqlcompat/catalog.h"

#include <cctype>

namespace vantik::sqlcompat {

std::string lowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

const ColumnInfo* TableInfo::column(std::string_view columnName) const
{
    const std::string wanted = lowerAscii(columnName);
    for (const ColumnInfo& c : columns) {
        if (lowerAscii(c.name) == wanted)
            return &c;
    }
    return nullptr;
}

void Catalog::addTable(TableInfo table)
{
    std::string key = lowerAscii(table.schema) + "." + lowerAscii(table.name);
    m_tables[std::move(key)] = std::move(table);
}

const TableInfo* Catalog::find(std::string_view schema, std::string_view table) const
{
    const auto it = m_tables.find(lowerAscii(schema) + "." + lowerAscii(table));
    return it == m_tables.end() ? nullptr : &it->second;
}

} // namespace vantik::sqlcompat
