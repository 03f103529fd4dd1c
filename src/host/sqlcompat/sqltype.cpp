#include "host/sqlcompat/sqltype.h"

#include "host/sqlcompat/catalog.h"

namespace vantik::sqlcompat {

SqlType sqlTypeFromDeclared(std::string_view declaredType)
{
    const std::string t = lowerAscii(declaredType);
    auto starts = [&](std::string_view p) { return t.rfind(p, 0) == 0; };
    if (t.empty())
        return SqlType::Unknown;
    if (starts("bit") || starts("bool"))
        return SqlType::Bit;
    if (starts("datetime") || starts("smalldatetime") || t == "date")
        return SqlType::DateTime;
    if (starts("int") || starts("bigint") || starts("smallint") || starts("tinyint") || starts("integer"))
        return SqlType::Integer;
    if (starts("decimal") || starts("numeric") || starts("money") || starts("smallmoney") || starts("float")
        || starts("real") || starts("double"))
        return SqlType::Decimal;
    if (t.find("char") != std::string::npos || starts("text") || starts("ntext"))
        return SqlType::Text;
    return SqlType::Unknown;
}

} // namespace vantik::sqlcompat
