#pragma once

#include "host/sqlcompat/translator.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantik {

/// A T-SQL text taken apart into its shape and its string literals. Statements
/// that differ only in their literals (the per-row statements of a batch pass)
/// share one shape, so they can share one translation and one prepared statement.
struct StatementShape {
    /// The text with every string literal replaced by a single '\x01'.
    std::string key;
    /// The literals as written, quotes included, in order.
    std::vector<std::string_view> literals;
    /// False when a literal, name or comment is not closed, or the text holds a control
    /// character the key is made of (or a NUL): such a text is no shape.
    bool complete = true;
};

/// Splits tsql; the literal views point into it. Comments, [bracketed] and
/// "quoted" names are passed over; N'...' literals stay part of the shape.
StatementShape statementShape(std::string_view tsql);

/// The value of a literal as written: quotes removed and doubled quotes made single.
std::string literalValue(std::string_view literal);

/// The SQLite text of a shape with its literals as the parameters ?1 .. ?n, given the
/// translation of one statement of that shape. Only when each literal passes into
/// the SQLite text as written whatever its value (not, say, a date read into the
/// storage form) and the result columns do not depend on it; nullopt otherwise, and for
/// a statement of more than 999 literals (a long IN list is no per-row statement).
std::optional<sqlcompat::Translation> parameterizedTranslation(const StatementShape& shape,
                                                               const sqlcompat::Translation& translated,
                                                               const sqlcompat::Catalog& catalog);

} // namespace vantik
