// How each operator is applied once its operands are on the stack. Two-operand operators pop
// the right operand first. Results are doubles (truth values 1.0 and 0.0), except that "+"
// keeps the type of its left operand.
#include "script/expression_evaluator.h"

#include "script/argument_list.h"
#include "script/compiler.h"
#include "script/evaluator_host.h"
#include "script/objects/scalar_objects.h"
#include "script/script_text.h"

#include <memory>

namespace {

bool IsNumericOrString(const ScriptValue& value)
{
    return IsNumericType(value.Type()) || value.Type() == TypeString;
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
    Operand left, right;
    if (!PopTwoDefined(left, right))
        return Fail();
    const ScriptValue& leftValue = ValueOf(left);
    const ScriptValue& rightValue = ValueOf(right);
    if (!IsNumericType(leftValue.Type()) || !IsNumericType(rightValue.Type()))
        return Fail();
    double leftNumber = leftValue.ToNumber();
    double rightNumber = rightValue.ToNumber();
    switch (kind) {
    case OperatorKind::Subtract: return PushDouble(leftNumber - rightNumber);
    case OperatorKind::Multiply: return PushDouble(leftNumber * rightNumber);
    case OperatorKind::Divide: return PushDouble(leftNumber / rightNumber); // by 0: infinity or NaN
    case OperatorKind::Xor: return PushDouble(TruncateToInt32(leftNumber) ^ TruncateToInt32(rightNumber));
    case OperatorKind::Modulo: {
        std::int32_t remainder = 0;
        if (!IntegerRemainder(TruncateToInt32(leftNumber), TruncateToInt32(rightNumber), remainder))
            return Fail(entry.text); // a remainder by zero has no value
        return PushDouble(remainder);
    }
    default:
        return Fail();
    }
}

// "+" adds the right operand to the left one in the left one's type: a string appends the
// text, an int adds the integer, a double the number; text and bool stay as they are.
void ExpressionEvaluator::ApplyAdd()
{
    Operand left, right;
    if (!PopTwoDefined(left, right))
        return Fail();
    if (!IsNumericOrString(ValueOf(left)) || !IsNumericOrString(ValueOf(right)))
        return Fail();
    ScriptValue sum = TakeValue(left);
    if (!sum.Add(ValueOf(right)))
        return Fail("+");
    PushOwned(std::move(sum));
}

void ExpressionEvaluator::ApplyUnary(OperatorKind kind)
{
    Operand operand;
    if (!PopDefined(operand))
        return Fail();
    double number = ValueOf(operand).ToNumber();
    switch (kind) {
    case OperatorKind::Not: return PushTruth(number == 0.0);
    case OperatorKind::Negate: return PushDouble(-number);
    default: return PushDouble(~TruncateToInt32(number));
    }
}

void ExpressionEvaluator::ApplyBuiltInInt()
{
    Operand operand;
    if (!PopDefined(operand) || !IsNumericType(ValueOf(operand).Type()))
        return Fail();
    PushDouble(TruncateToInt32(ValueOf(operand).ToNumber()));
}

void ExpressionEvaluator::ApplyBitwise(OperatorKind kind)
{
    Operand left, right;
    if (!PopTwoDefined(left, right))
        return Fail();
    std::int32_t leftBits = TruncateToInt32(ValueOf(left).ToNumber());
    std::int32_t rightBits = TruncateToInt32(ValueOf(right).ToNumber());
    PushDouble(kind == OperatorKind::BitAnd ? (leftBits & rightBits) : (leftBits | rightBits));
}

void ExpressionEvaluator::ApplyRelational(OperatorKind kind)
{
    if (kind == OperatorKind::Assign)
        return Fail("="); // "=" compares nothing; an expression that holds one is refused
    Operand left, right;
    if (!PopTwoDefined(left, right))
        return Fail();
    const ScriptValue& leftValue = ValueOf(left);
    const ScriptValue& rightValue = ValueOf(right);
    if (kind == OperatorKind::Equal || kind == OperatorKind::NotEqual) {
        if (!IsNumericOrString(leftValue) || !IsNumericOrString(rightValue))
            return Fail();
        bool equal = leftValue.Equals(rightValue);
        return PushTruth(kind == OperatorKind::Equal ? equal : !equal);
    }
    if (!IsNumericType(leftValue.Type()) || !IsNumericType(rightValue.Type()))
        return Fail();
    double leftNumber = leftValue.ToNumber();
    double rightNumber = rightValue.ToNumber();
    switch (kind) {
    case OperatorKind::GreaterEqual: return PushTruth(leftNumber >= rightNumber);
    case OperatorKind::Greater: return PushTruth(leftNumber > rightNumber);
    case OperatorKind::LessEqual: return PushTruth(leftNumber <= rightNumber);
    case OperatorKind::Less: return PushTruth(leftNumber < rightNumber);
    case OperatorKind::And: return PushTruth(leftNumber != 0.0 && rightNumber != 0.0);
    default: return PushTruth(leftNumber != 0.0 || rightNumber != 0.0);
    }
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
