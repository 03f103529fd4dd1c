#include "host/sqlcompat/catalog.h"

#include <algorithm>
#include <array>

namespace vantik::sqlcompat {

std::string lowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = lowerAsciiChar(c);
    return out;
}

namespace {

std::uint64_t nameHash(std::string_view name)
{
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (char c : name) {
        hash ^= static_cast<unsigned char>(lowerAsciiChar(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

bool ColumnInfo::comparable() const
{
    if (computed || type == SqlType::Unknown)
        return false;
    return typeName != "text" && typeName != "ntext" && typeName != "image" && typeName != "xml";
}

bool ColumnInfo::collatedText() const
{
    return typeName == "char" || typeName == "varchar" || typeName == "nchar" || typeName == "nvarchar";
}

const ColumnInfo* TableInfo::column(std::string_view columnName) const
{
    if (!columnIndex.empty() && columnIndex.size() == columns.size()) {
        // Equal hashes sit in column order, so the first match is the first declared.
        const std::uint64_t hash = nameHash(columnName);
        auto it = std::lower_bound(columnIndex.begin(), columnIndex.end(), std::make_pair(hash, std::uint32_t{0}));
        for (; it != columnIndex.end() && it->first == hash; ++it) {
            const ColumnInfo& c = columns[it->second];
            if (equalsIgnoreCase(c.name, columnName))
                return &c;
        }
        return nullptr;
    }
    for (const ColumnInfo& c : columns) {
        if (equalsIgnoreCase(c.name, columnName))
            return &c;
    }
    return nullptr;
}

void Catalog::addTable(TableInfo table)
{
    std::string key = lowerAscii(table.schema) + "." + lowerAscii(table.name);
    table.columnIndex.clear();
    table.columnIndex.reserve(table.columns.size());
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        table.columnIndex.emplace_back(nameHash(table.columns[i].name), static_cast<std::uint32_t>(i));
    std::sort(table.columnIndex.begin(), table.columnIndex.end());
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
