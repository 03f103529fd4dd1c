#include "host/user/odbc_drivers.h"

#include "host/data/odbc_api.h"

namespace vantik {

QStringList odbcDriverNames()
{
    QStringList names;
    for (const std::u16string& name : odbc::installedDrivers())
        names << QString::fromStdU16String(name);
    return names;
}

} // namespace vantik
