#include "host/user/odbc_drivers.h"

#include <QFileInfo>
#include <QSettings>

namespace vantik {

QStringList odbcDriverNames(const QString& odbcInstIni)
{
    if (!QFileInfo(odbcInstIni).isReadable())
        return {};
    const QSettings ini(odbcInstIni, QSettings::IniFormat);
    QStringList names;
    for (const QString& group : ini.childGroups()) {
        if (group.compare(QLatin1String("ODBC"), Qt::CaseInsensitive) != 0)
            names << group;
    }
    return names;
}

} // namespace vantik
