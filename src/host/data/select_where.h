#pragma once

#include <QString>

#include <string_view>

namespace vantik {

/// The WHERE clause of a single-table T-SQL SELECT, keyword included, as
/// written: from the WHERE at the statement's own level after its FROM (which
/// starts at fromOffset) up to its ORDER BY, OPTION or end, trimmed. Empty when
/// the statement has none. Literals, bracketed names and parenthesised
/// subqueries are passed over whole; each comment becomes one blank.
QString selectWhereClause(std::string_view tsql, std::size_t fromOffset);

} // namespace vantik
