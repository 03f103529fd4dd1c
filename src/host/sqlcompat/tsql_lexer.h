#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <vector>

namespace vantik::sqlcompat {

/// The tokens of one T-SQL statement. Internal to the parser; kept apart because the
/// rules of the dialect's lexical forms (nested comments, N'' literals, numbers) are
/// an idea of their own.

enum class TokenKind { Word, QuotedName, String, Number, Symbol, End };

/// What a Number token holds, as SQL Server types a constant.
enum class NumberForm {
    Integer,  ///< digits only
    Decimal,  ///< digits with a point: decimal(p, s)
    Float,    ///< with an exponent: float
};

// Tokens look into the statement's text (or, for a literal with doubled quotes, into
// the parser's own store), so reading a statement copies no name and no literal.
struct Token {
    TokenKind kind = TokenKind::End;
    bool reserved = false;   ///< a Word that is one of SQL Server's reserved keywords
    bool unicode = false;    ///< a String written N'...'
    NumberForm number = NumberForm::Integer;
    std::string_view text;   ///< word/name: the name; string: the value; symbol/number: as written
    std::size_t begin = 0;
    std::size_t end = 0;
};

/// Splits a statement into tokens, the last one End. Throws TranslationError for an
/// unclosed quote or comment, a character T-SQL does not know, and for lexical forms
/// the embedded engine does not run (binary and money constants, variables, ...).
std::vector<Token> tokenize(std::string_view sql, std::list<std::string>& store);

/// Whether a word is one of SQL Server's reserved keywords (any letter case). Such a
/// word is never a name unless bracketed, and a syntax error near it says "keyword".
bool isReservedKeyword(std::string_view word);

/// SQL Server's syntax error for the token where parsing stopped: "Incorrect syntax
/// near 'x'.", "... near the keyword 'FROM'." or, at the end, "... near the end of the
/// statement.".
[[noreturn]] void syntaxErrorAt(const Token& token);

/// The message for a construct the embedded engine cannot run with SQL Server's meaning.
std::string unsupportedMessage(std::string_view construct);
[[noreturn]] void unsupported(std::string_view construct);

/// SQL Server's message (Msg 191) for a statement nested deeper than the engine takes.
inline constexpr const char* kNestedTooDeeplyMessage =
    "Some part of your SQL statement is nested too deeply. Rewrite the query or break it up into smaller queries.";

} // namespace vantik::sqlcompat
