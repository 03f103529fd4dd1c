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

} // namespace vantik::sqlcompat
