#include "host/sqlcompat/compat_functions.h"

#include <sqlite3.h>

#include <cctype>
#include <cstring>

namespace vantik::sqlcompat {

namespace {

// Case-insensitive, trailing blanks ignored (placeholder: ASCII only).
int compareTsql(void*, int lenA, const void* a, int lenB, const void* b)
{
    const auto* pa = static_cast<const unsigned char*>(a);
    const auto* pb = static_cast<const unsigned char*>(b);
    while (lenA > 0 && pa[lenA - 1] == ' ')
        --lenA;
    while (lenB > 0 && pb[lenB - 1] == ' ')
        --lenB;
    const int n = lenA < lenB ? lenA : lenB;
    for (int i = 0; i < n; ++i) {
        const int ca = std::tolower(pa[i]);
        const int cb = std::tolower(pb[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return lenA == lenB ? 0 : (lenA < lenB ? -1 : 1);
}

} // namespace

bool registerSqlServerCompat(sqlite3* db)
{
    return sqlite3_create_collation_v2(db, kCollationName, SQLITE_UTF8, nullptr, compareTsql, nullptr) == SQLITE_OK;
}

} // namespace vantik::sqlcompat
