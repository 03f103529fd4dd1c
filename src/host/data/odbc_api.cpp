#include "host/data/odbc_api.h"

#include <algorithm>
#include <cstddef>

namespace vantik::odbc {

// SQLWCHAR is UTF-16 both on Windows (wchar_t) and on unixODBC (unsigned short)
// unless unixODBC is built to use wchar_t, which the program does not support.
static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "ODBC's wide characters must be UTF-16");

namespace {

std::u16string text(const SQLWCHAR* chars, std::size_t capacity)
{
    const auto* begin = reinterpret_cast<const char16_t*>(chars);
    return std::u16string(begin, std::find(begin, begin + capacity, u'\0'));
}

class Environment {
public:
    Environment()
    {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_handle))) {
            m_handle = SQL_NULL_HANDLE;
            return;
        }
        SQLSetEnvAttr(m_handle, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    }
    ~Environment()
    {
        if (m_handle != SQL_NULL_HANDLE)
            SQLFreeHandle(SQL_HANDLE_ENV, m_handle);
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    SQLHENV handle() const { return m_handle; }

private:
    SQLHENV m_handle = SQL_NULL_HANDLE;
};

} // namespace

std::vector<std::u16string> installedDrivers()
{
    const Environment environment;
    std::vector<std::u16string> names;
    if (environment.handle() == SQL_NULL_HANDLE)
        return names;
    // Lengths of the wide call are in characters. A name longer than the buffer
    // arrives cut (success with information): no real driver's name is that long.
    SQLWCHAR name[512];
    SQLWCHAR attributes[2048];
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT attributesLength = 0;
        const SQLRETURN r = SQLDriversW(environment.handle(), direction, name, SQLSMALLINT(std::size(name)),
                                        &nameLength, attributes, SQLSMALLINT(std::size(attributes)),
                                        &attributesLength);
        if (!SQL_SUCCEEDED(r))
            break;
        direction = SQL_FETCH_NEXT;
        std::u16string driver = text(name, std::size(name));
        // unixODBC's file also holds its own options under [ODBC].
        if (!driver.empty() && driver != u"ODBC")
            names.push_back(std::move(driver));
    }
    return names;
}

std::u16string infoText(SQLHDBC connection, SQLUSMALLINT infoType)
{
    if (connection == SQL_NULL_HDBC)
        return {};
    SQLWCHAR value[256] = {};
    SQLSMALLINT bytes = 0; // the wide call counts this one in bytes
    if (!SQL_SUCCEEDED(SQLGetInfoW(connection, infoType, value, SQLSMALLINT(sizeof value), &bytes)))
        return {};
    return text(value, std::size(value));
}

std::vector<Diagnostic> diagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    std::vector<Diagnostic> out;
    if (handle == SQL_NULL_HANDLE)
        return out;
    for (SQLSMALLINT record = 1; record < 32; ++record) {
        SQLWCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER native = 0;
        SQLWCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
        SQLSMALLINT length = 0;
        const SQLRETURN r = SQLGetDiagRecW(handleType, handle, record, state, &native, message,
                                           SQLSMALLINT(std::size(message)), &length);
        if (!SQL_SUCCEEDED(r))
            break;
        out.push_back({text(state, std::size(state)), static_cast<int>(native), text(message, std::size(message))});
    }
    return out;
}

} // namespace vantik::odbc
