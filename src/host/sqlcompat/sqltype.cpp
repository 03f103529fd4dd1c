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

DeclaredType parseDeclaredType(std::string_view declaredType)
{
    DeclaredType out;
    out.kind = sqlTypeFromDeclared(declaredType);
    const std::size_t open = declaredType.find('(');
    std::string name = lowerAscii(declaredType.substr(0, open));
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.pop_back();
    const std::size_t first = name.find_first_not_of(" \t");
    out.name = first == std::string::npos ? std::string() : name.substr(first);
    // SQL Server's defaults for the exact numerics declared without numbers.
    if (out.name == "decimal" || out.name == "numeric")
        out.precision = 18;
    else if (out.name == "money")
        out.precision = 19, out.scale = 4;
    else if (out.name == "smallmoney")
        out.precision = 10, out.scale = 4;
    if (open == std::string_view::npos)
        return out;
    // "(n)" or "(p, s)"; anything else ("(max)") leaves the numbers at 0.
    int numbers[2] = {0, 0};
    int count = 0;
    bool digits = false;
    for (std::size_t i = open + 1; i < declaredType.size() && declaredType[i] != ')'; ++i) {
        const char c = declaredType[i];
        if (c >= '0' && c <= '9' && count < 2) {
            numbers[count] = numbers[count] * 10 + (c - '0');
            digits = true;
        } else if (c == ',' && digits) {
            ++count;
            digits = false;
        } else if (c != ' ') {
            return out;
        }
    }
    if (digits)
        ++count;
    if (out.kind == SqlType::Decimal) {
        out.precision = numbers[0];
        out.scale = count > 1 ? numbers[1] : 0;
    } else if (count == 1) {
        out.length = numbers[0];
    }
    return out;
}

} // namespace vantik::sqlcompat
