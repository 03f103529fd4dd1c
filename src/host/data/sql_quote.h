#pragma once

#include <QString>

namespace vantik {

/// The one way a text goes into SQL text: every single quote doubled, so that the
/// text stays one literal ("O'Brien" -> "O''Brien"). The caller writes the
/// enclosing quotes, as the statements are written with them.
QString sqlQuote(const QString& text);

/// A name in T-SQL's brackets, a closing bracket doubled: "Length]Stay" -> "[Length]]Stay]".
QString sqlBracket(const QString& name);

} // namespace vantik
