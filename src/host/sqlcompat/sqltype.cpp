#include "host/sqlcompat/sqltype.h"

#include "host/sqlcompat/catalog.h"

namespace vantik::sqlcompat {

SqlType sqlTypeFromDeclared(std::string_view declaredType)
{
    // Declarations read back from a schema may carry blanks ("datetime ", " int").
    const std::size_t first = declaredType.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return SqlType::Unknown;
    const std::size_t last = declaredType.find_last_not_of(" \t\r\n");
    const std::string t = lowerAscii(declaredType.substr(first, last - first + 1));
    auto starts = [&](std::string_view p) { return t.rfind(p, 0) == 0; };
    if (starts("bit") || starts("bool"))
        return SqlType::Bit;
    if (starts("datetime") || starts("smalldatetime") || t == "date")
        return SqlType::DateTime;
    if (starts("int") || starts("bigint") || starts("smallint") || starts("tinyint") || starts("integer"))
        return SqlType::Integer;
    if (starts("decimal") || starts("numeric") || starts("money") || starts("smallmoney") || starts("float")
        || starts("real") || starts("double"))
        return SqlType::Decimal;
    if (t.find("char") != std::string::npos || starts("text") || starts("ntext") || starts("clob")
        || starts("uniqueidentifier") || starts("sysname") || starts("xml"))
        return SqlType::Text;
    return SqlType::Unknown;
}

} // namespace vantik::sqlcompat
