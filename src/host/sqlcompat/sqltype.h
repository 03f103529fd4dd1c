#pragma once

#include <string>
#include <string_view>

namespace vantik::sqlcompat {

/// The few kinds of value the program tells apart when it turns database
/// values into text (see data/value_text.h).
enum class SqlType {
    Unknown,  ///< decide from the value itself
    Text,
    Integer,
    Decimal,  ///< decimal, money, float: printed without trailing zeros
    Bit,      ///< printed "True" / "False"
    DateTime, ///< stored in the embedded engine as ISO text "YYYY-MM-DD HH:MM:SS.fff"
};

/// Maps a declared column type ("varchar(50)", "DATETIME", "bit", "decimal(18,2)", ...)
/// to its kind. Unknown declarations give SqlType::Unknown.
SqlType sqlTypeFromDeclared(std::string_view declaredType);

/// A declared column type taken apart: "VARCHAR(20)" is varchar of length 20,
/// "decimal(18,2)" precision 18 and scale 2. A number left out stays 0 (no limit
/// known); "varchar(max)" has length 0.
struct DeclaredType {
    SqlType kind = SqlType::Unknown;
    std::string name; ///< lower case, without the parenthesis: "varchar", "decimal"
    int length = 0;   ///< characters, for character types
    int precision = 0;
    int scale = 0;
};
DeclaredType parseDeclaredType(std::string_view declaredType);

} // namespace vantik::sqlcompat
