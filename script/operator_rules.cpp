// How each operator is applied once its operands are on the stack. A two-operand operator takes
// the two top operands (the right one on top); the result takes their place. Results are
// doubles (truth values 1.0 and 0.0), except that "+" keeps the type of its left operand.
#include "script/argument_list.h"
#include "script/compiler.h"
#include "script/evaluator_host.h"
#include "script/expression_evaluator.h"
#include "script/objects/scalar_objects.h"
#include "script/script_text.h"

#include <memory>

namespace {

bool IsNumericOrString(const ScriptValue& value)
{
    return IsNumeric(value.Type()) || value.Type() == TypeString;
}

}

void ExpressionEvaluator::Apply(const PendingOperator& pending)
{
    switch (pending.entry->operatorClass) {
    case OperatorClass::Arithmetic: return ApplyArithmetic(pending.entry->kind);
    case OperatorClass::Unary: return ApplyUnary(pending.entry->kind);
    case OperatorClass::BuiltInCall: return ApplyBuiltInInt();
    case OperatorClass::Bitwise: return ApplyBitwise(pending.entry->kind);
    case OperatorClass::Relational: return ApplyRelational(pending.entry->kind);
    case OperatorClass::HostCall: return Fail(); // made only by the loop, at ")"
    case OperatorClass::Grouping: return Fail();
    }
}

void ExpressionEvaluator::ApplyArithmetic(OperatorKind kind)
{
    if (kind == OperatorKind::Add)
        return ApplyAdd();
    const OperatorEntry& entry = OperatorOf(kind);
    switch (kind) {
    case OperatorKind::MultiplyAssign:
    case OperatorKind::DivideAssign:
    case OperatorKind::AddAssign:
    case OperatorKind::SubtractAssign:
    case OperatorKind::ModuloAssign:
        // An assignment inside an expression is a mistake in the script (an assignment
        // statement never hands its operator to the evaluator), so it is refused.
        return Fail(entry.text);
    default:
        break;
    }
    if (!ResolveTop(2))
        return Fail();
    const ScriptValue& left = ValueOf(FromTop(1));
    const ScriptValue& right = ValueOf(FromTop(0));
    if (!IsNumeric(left.Type()) || !IsNumeric(right.Type()))
        return Fail();
    double leftNumber = left.ToNumber();
    double rightNumber = right.ToNumber();
    switch (kind) {
    case OperatorKind::Subtract: return ReplaceTop(2, leftNumber - rightNumber);
    case OperatorKind::Multiply: return ReplaceTop(2, leftNumber * rightNumber);
    case OperatorKind::Divide: return ReplaceTop(2, leftNumber / rightNumber); // by 0: infinity or NaN
    case OperatorKind::Xor: return ReplaceTop(2, TruncateToInt32(leftNumber) ^ TruncateToInt32(rightNumber));
    case OperatorKind::Modulo: {
        std::int32_t remainder = 0;
        if (!IntegerRemainder(TruncateToInt32(leftNumber), TruncateToInt32(rightNumber), remainder))
            return Fail(entry.text); // a remainder by zero has no value
        return ReplaceTop(2, remainder);
    }
    default:
        return Fail();
    }
}

// "+" adds the right operand to the left one in the left one's type: a string appends the
// text, an int adds the integer, a double the number; text and bool stay as they are.
void ExpressionEvaluator::ApplyAdd()
{
    if (!ResolveTop(2))
        return Fail();
    Operand& left = FromTop(1);
    const ScriptValue& right = ValueOf(FromTop(0));
    if (!IsNumericOrString(ValueOf(left)) || !IsNumericOrString(right))
        return Fail();
    OwnValue(left);
    if (!left.owned.Add(right))
        return Fail("+");
    m_operands.pop_back();
    m_lastToken = LastToken::Operand;
}

void ExpressionEvaluator::ApplyUnary(OperatorKind kind)
{
    if (!ResolveTop(1))
        return Fail();
    double number = ValueOf(FromTop(0)).ToNumber();
    switch (kind) {
    case OperatorKind::Not: return ReplaceTop(1, number == 0.0 ? 1.0 : 0.0);
    case OperatorKind::Negate: return ReplaceTop(1, -number);
    default: return ReplaceTop(1, ~TruncateToInt32(number));
    }
}

void ExpressionEvaluator::ApplyBuiltInInt()
{
    if (!ResolveTop(1) || !IsNumeric(ValueOf(FromTop(0)).Type()))
        return Fail();
    ReplaceTop(1, TruncateToInt32(ValueOf(FromTop(0)).ToNumber()));
}

void ExpressionEvaluator::ApplyBitwise(OperatorKind kind)
{
    if (!ResolveTop(2))
        return Fail();
    std::int32_t leftBits = TruncateToInt32(ValueOf(FromTop(1)).ToNumber());
    std::int32_t rightBits = TruncateToInt32(ValueOf(FromTop(0)).ToNumber());
    ReplaceTop(2, kind == OperatorKind::BitAnd ? (leftBits & rightBits) : (leftBits | rightBits));
}

void ExpressionEvaluator::ApplyRelational(OperatorKind kind)
{
    if (kind == OperatorKind::Assign)
        return Fail("="); // "=" compares nothing; an expression that holds one is refused
    if (!ResolveTop(2))
        return Fail();
    const ScriptValue& left = ValueOf(FromTop(1));
    const ScriptValue& right = ValueOf(FromTop(0));
    if (kind == OperatorKind::Equal || kind == OperatorKind::NotEqual) {
        if (!IsNumericOrString(left) || !IsNumericOrString(right))
            return Fail();
        bool equal = left.Equals(right);
        return ReplaceTop(2, (kind == OperatorKind::Equal) == equal ? 1.0 : 0.0);
    }
    if (!IsNumeric(left.Type()) || !IsNumeric(right.Type()))
        return Fail();
    double leftNumber = left.ToNumber();
    double rightNumber = right.ToNumber();
    bool truth = false;
    switch (kind) {
    case OperatorKind::GreaterEqual: truth = leftNumber >= rightNumber; break;
    case OperatorKind::Greater: truth = leftNumber > rightNumber; break;
    case OperatorKind::LessEqual: truth = leftNumber <= rightNumber; break;
    case OperatorKind::Less: truth = leftNumber < rightNumber; break;
    case OperatorKind::And: truth = leftNumber != 0.0 && rightNumber != 0.0; break;
    default: truth = leftNumber != 0.0 || rightNumber != 0.0; break;
    }
    ReplaceTop(2, truth ? 1.0 : 0.0);
}

// A host call takes one operand as its argument: a list value, the empty list or a single
// value, whose text is parsed into the argument list. Returns the name to call, or null when
// the call cannot be made.
SCRIPT_OUT_OF_LINE const std::string* ExpressionEvaluator::PrepareHostCall(const std::string& name)
{
    Operand argument;
    if (!PopOperand(argument)) {
        Fail();
        return nullptr;
    }
    if (!m_callArguments)
        m_callArguments = std::make_unique<ArgumentList>();
    m_callArguments->Clear();
    m_callArguments->Result().Clear();
    if (m_host)
        m_host->PrepareArguments(*m_callArguments);
    std::string text = argument.reference ? argument.reference->text : ValueOf(argument).ToString();
    if (!m_callArguments->ParseArguments(text)) {
        Fail(text);
        return nullptr;
    }
    return &name;
}

// The call's result value is the next operand.
SCRIPT_OUT_OF_LINE void ExpressionEvaluator::FinishHostCall()
{
    PushOwned(std::move(m_callArguments->Result()));
    m_callArguments->Clear();
    AfterOperand();
}
