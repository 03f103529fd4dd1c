#include "host/sqlcompat/catalog.h"

#include <array>

namespace vantik::sqlcompat {

std::string lowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = lowerAsciiChar(c);
    return out;
}

const ColumnInfo* TableInfo::column(std::string_view columnName) const
{
    for (const ColumnInfo& c : columns) {
        if (equalsIgnoreCase(c.name, columnName))
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
    // The key is built on the stack: a lookup runs for every table of every statement.
    std::array<char, 160> buffer;
    const std::size_t length = schema.size() + 1 + table.size();
    std::string heap;
    char* key = buffer.data();
    if (length > buffer.size()) {
        heap.resize(length);
        key = heap.data();
    }
    std::size_t n = 0;
    for (char c : schema)
        key[n++] = lowerAsciiChar(c);
    key[n++] = '.';
    for (char c : table)
        key[n++] = lowerAsciiChar(c);
    const auto it = m_tables.find(std::string_view(key, length));
    return it == m_tables.end() ? nullptr : &it->second;
}

} // namespace vantik::sqlcompat
