#pragma once

#include "script/compiled_expression.h"
#include "script/script_value.h"
#include "script/variable_list.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ArgumentList;
class EvaluatorHost;

// Evaluates one expression in a single pass over its tokens with an operand stack and an
// operator stack, applying each operator as soon as its precedence allows; no tree is built.
//
//   expression -> operand { operator operand }
//   operand    -> literal | name | "@"name | unary operand | "(" expression { "," expression } ")"
//               | name "(" [ expression { "," expression } ] ")"
//
// Tight operators (precedence 1: "*", "/", "%", "&", "|", "^" and the unary ones) are applied
// as soon as their right operand exists, strictly from left to right; "+" and "-" wait for the
// next "+" or "-" or for a flush, relational and logical operators for a looser one.
class ExpressionEvaluator {
public:
    ExpressionEvaluator();
    ~ExpressionEvaluator();
    ExpressionEvaluator(const ExpressionEvaluator&) = delete;
    ExpressionEvaluator& operator=(const ExpressionEvaluator&) = delete;

    // Frees both stacks and clears the error; the evaluator is as new.
    void Clear();
    void SetHost(EvaluatorHost* host) { m_host = host; }

    // The value of the expression: the top operand when the loop ran without error.
    [[nodiscard]] bool Evaluate(std::string_view text, ScriptValue& value);
    [[nodiscard]] bool Evaluate(const CompiledExpression& expression, ScriptValue& value);
    // The truth of the expression: its top value's text read as a decimal integer, not 0.
    [[nodiscard]] bool EvaluateCondition(std::string_view text);
    [[nodiscard]] bool EvaluateCondition(const CompiledExpression& expression);

    // Runs the loop alone and leaves every operand on the stack, for a call statement that
    // takes them all as its arguments, or for the interpreter to read the top one.
    //
    // This loop is on the path of every nested script call (a host call in an expression), so
    // it makes the host call from its own small frame and keeps all other work out of line.
    [[nodiscard]] bool Run(const CompiledExpression& expression);
    [[nodiscard]] std::size_t OperandCount() const { return m_operands.size(); }
    // After Run: the top operand resolved, or null (and the error flag set) when there is
    // none or it names no variable.
    [[nodiscard]] const ScriptValue* ResolvedTop();
    // After Run: the truth of the top operand (its text read as a decimal integer).
    [[nodiscard]] bool TopTruth();
    // A copy of an operand; a variable reference not yet resolved is its name, of type 103.
    [[nodiscard]] ScriptValue OperandValue(std::size_t index) const;

    [[nodiscard]] bool HasError() const { return m_error; }
    [[nodiscard]] const std::string& ErrorWord() const { return m_errorWord; }

    // Named values that are searched before the host.
    void AddLocalVariable(const std::string& name, const ScriptValue& value);

private:
    // An operand owns its value, reads a value in place (a literal of the expression, or the
    // variable a reference resolved to), or is a variable reference not yet resolved.
    struct Operand {
        ScriptValue owned;
        const ScriptValue* borrowed = nullptr;
        const ExpressionToken* reference = nullptr;
    };

    struct PendingOperator {
        const OperatorEntry* entry;
        const std::string* name; // the name of a call, as written
    };

    enum class LastToken { Start, Operand, Operator };

    void DropStacks();
    void ExecuteToken(const ExpressionToken& token);
    [[nodiscard]] const std::string* CloseGroup();
    [[nodiscard]] const std::string* PrepareHostCall(const std::string& name);
    void FinishHostCall();
    void HandleName(const ExpressionToken& token);
    void HandleWord(const ExpressionToken& token);
    void HandleOperator(const ExpressionToken& token, const OperatorEntry* entry);
    void HandleIncrement();
    void BuildArgumentList();

    void PushOperator(const OperatorEntry& entry, const std::string* name = nullptr);
    void PushOwned(ScriptValue value);
    void PushBorrowed(const ScriptValue& value);
    void PushReference(const ExpressionToken& token);
    void AfterOperand();
    void Reduce(int level);
    [[nodiscard]] bool TopIs(OperatorKind kind) const;
    [[nodiscard]] bool TopIsCall() const;

    // Operator rules, one per class.
    void Apply(const PendingOperator& pending);
    void ApplyArithmetic(OperatorKind kind);
    void ApplyAdd();
    void ApplyUnary(OperatorKind kind);
    void ApplyBuiltInInt();
    void ApplyBitwise(OperatorKind kind);
    void ApplyRelational(OperatorKind kind);

    [[nodiscard]] bool PopOperand(Operand& operand);
    // Operators work on the top operands where they lie: the result takes the place of the
    // left (or only) operand, reusing what it holds.
    [[nodiscard]] bool ResolveTop(std::size_t count);
    [[nodiscard]] Operand& FromTop(std::size_t position) { return m_operands[m_operands.size() - 1 - position]; }
    void ReplaceTop(std::size_t count, double number);
    void OwnValue(Operand& operand);
    [[nodiscard]] bool Resolve(Operand& operand);
    [[nodiscard]] const ScriptValue& ValueOf(const Operand& operand) const;
    [[nodiscard]] bool RunForTop(const CompiledExpression& expression, Operand& top);
    void Fail(std::string_view word = {});

    bool m_error = false;
    std::string m_errorWord;
    EvaluatorHost* m_host = nullptr;
    LastToken m_lastToken = LastToken::Start;
    std::vector<PendingOperator> m_operators;
    std::vector<Operand> m_operands;
    VariableList m_localVariables;
    std::unique_ptr<ArgumentList> m_callArguments; // of the host call being made
};
