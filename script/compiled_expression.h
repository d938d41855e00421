#pragma once

#include "script/evaluator_host.h"
#include "script/operator_table.h"
#include "script/script_value.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The tokens of one expression text. Everything in a token follows from the text alone, so
// the tokens of a script line are made once and kept; whether a name is a variable is decided
// each time the expression runs, since that depends on the scope.
enum class TokenKind : std::uint8_t {
    Literal,   // a number or string literal, its value made
    Reference, // "@" and a name: always a variable reference
    Name,      // a name (with "." and a member name): a variable reference or a word
    Operator,  // an operator or a word that is no name
    Increment, // "++": the top operand plus one
    Error,     // the text cannot be read on from here
};

struct ExpressionToken {
    TokenKind kind = TokenKind::Error;
    std::string text;                       // the token as written
    ScriptValue literal;                    // a literal's value
    const OperatorEntry* entry = nullptr;   // the operator a word stands for, or null (a call)
    bool callFollows = false;               // the next character after blanks is "("
    mutable VariableLookupCache lookup;     // where the name was found last time
};

struct CompiledExpression {
    std::vector<ExpressionToken> tokens;
};

[[nodiscard]] std::unique_ptr<CompiledExpression> CompileExpression(std::string_view text);

// An expression text together with its tokens, made when it first runs.
class CachedExpression {
public:
    CachedExpression() = default;
    explicit CachedExpression(std::string text) : m_text(std::move(text)) {}

    [[nodiscard]] const std::string& Text() const { return m_text; }
    void SetText(std::string text)
    {
        m_text = std::move(text);
        m_compiled.reset();
    }
    [[nodiscard]] const CompiledExpression& Compiled() const
    {
        if (!m_compiled)
            Compile();
        return *m_compiled;
    }

private:
    void Compile() const;

    std::string m_text;
    mutable std::unique_ptr<CompiledExpression> m_compiled;
};
