#pragma once

// The recursive-descent parser behind parseTsqlSelect, shared by its two source files:
// tsql_parser.cpp reads statements and clauses, tsql_parse_expr.cpp expressions.

#include "host/sqlcompat/tsql_lexer.h"
#include "host/sqlcompat/tsql_parser.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantik::sqlcompat::detail {

class Parser {
public:
    explicit Parser(std::string_view sql);

    std::unique_ptr<Select> statement();

private:
    // Counts one level of nesting for as long as it lives; too deep a statement fails
    // with SQL Server's message before the stack can run out.
    class Nesting {
    public:
        /// `message` is what a statement deeper than `limit` fails with.
        explicit Nesting(int& depth, int limit = kMaxNesting, const char* message = kNestedTooDeeplyMessage);
        ~Nesting() { --m_depth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        int& m_depth;
    };

    // Tokens.
    const Token& peek(std::size_t ahead = 0) const
    {
        const std::size_t i = std::min(m_pos + ahead, m_tokens.size() - 1);
        return m_tokens[i];
    }
    const Token& next() { return m_tokens[m_pos < m_tokens.size() - 1 ? m_pos++ : m_pos]; }
    bool isWord(std::string_view word, std::size_t ahead = 0) const;
    bool isSymbol(std::string_view symbol, std::size_t ahead = 0) const;
    bool acceptWord(std::string_view word);
    bool acceptSymbol(std::string_view symbol);
    void expectWord(std::string_view word);
    void expectSymbol(std::string_view symbol);
    [[noreturn]] void syntaxError() const { syntaxErrorAt(peek()); }
    std::size_t lastEnd() const { return m_pos == 0 ? 0 : m_tokens[m_pos - 1].end; }
    static std::string upper(std::string_view text);
    bool atName() const;
    std::string_view name();

    // Statements and clauses (tsql_parser.cpp).
    std::unique_ptr<Select> parseSelect();
    long long parseTop();
    SelectItem parseSelectItem();
    void parseFrom(Select& select);
    TableSource parseTableSource(TableSource::Join join);

    // Expressions (tsql_parse_expr.cpp).
    ExprPtr make(Expr::Kind kind, std::size_t begin);
    ExprPtr finish(ExprPtr e);
    ExprPtr requireValue(ExprPtr e) const;
    ExprPtr requireCondition(ExprPtr e) const;
    ExprPtr parseValue() { return requireValue(parseExpr()); }
    ExprPtr parseCondition() { return requireCondition(parseExpr()); }
    ExprPtr parseExpr();
    ExprPtr parseOr();
    ExprPtr parseAnd();
    ExprPtr parseNot();
    ExprPtr parsePredicate();
    ExprPtr parseInList(ExprPtr left, bool negated, std::size_t keyword);
    ExprPtr parseAdditive();
    ExprPtr parseMultiplicative();
    ExprPtr parseUnary();
    ExprPtr parsePrimary();
    ExprPtr parseNumber();
    ExprPtr parseColumnOrFunction();
    ExprPtr parseFunction(std::size_t begin, std::string_view functionName);
    ExprPtr parseCast(std::size_t begin);
    ExprPtr parseConvert(std::size_t begin);
    void parseConvertStyle(Expr& convert);
    TypeName parseTypeName();
    ExprPtr parseCase();

    std::unique_ptr<StatementStorage> m_storage;
    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
    int m_depth = 0;
    int m_caseDepth = 0;
};

} // namespace vantik::sqlcompat::detail
