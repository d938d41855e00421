#include "script/expression_evaluator.h"

#include "script/argument_list.h"
#include "script/compiler.h"
#include "script/evaluator_host.h"
#include "script/objects/scalar_objects.h"
#include "script/script_text.h"

ExpressionEvaluator::ExpressionEvaluator()
{
    m_operators.reserve(10);
    m_operands.reserve(10);
}

ExpressionEvaluator::~ExpressionEvaluator() = default;

void ExpressionEvaluator::DropStacks()
{
    m_operators.clear();
    m_operands.clear();
}

void ExpressionEvaluator::Clear()
{
    DropStacks();
    if (!m_localVariables.Empty())
        m_localVariables.Clear();
    m_error = false;
    m_errorWord.clear();
    m_lastToken = LastToken::Start;
}

// The operands left on the stacks borrow from the compiled text, which ends here; they are
// dropped with it, and only the result and the error stay.
bool ExpressionEvaluator::Evaluate(std::string_view text, ScriptValue& value)
{
    auto compiled = CompileExpression(text);
    bool evaluated = Evaluate(*compiled, value);
    DropStacks();
    return evaluated;
}

bool ExpressionEvaluator::Evaluate(const CompiledExpression& expression, ScriptValue& value)
{
    Operand top;
    if (!RunForTop(expression, top))
        return false;
    if (top.borrowed)
        value.Assign(*top.borrowed);
    else
        value = std::move(top.owned);
    return true;
}

bool ExpressionEvaluator::EvaluateCondition(std::string_view text)
{
    if (text.empty())
        return false;
    auto compiled = CompileExpression(text);
    bool truth = EvaluateCondition(*compiled);
    DropStacks();
    return truth;
}

bool ExpressionEvaluator::EvaluateCondition(const CompiledExpression& expression)
{
    if (expression.tokens.empty())
        return false;
    if (!Run(expression) || m_operands.empty())
        return false;
    return TopTruth();
}

// Runs the loop and takes the resolved top operand; false on an error, on an empty stack and
// on an undefined variable.
bool ExpressionEvaluator::RunForTop(const CompiledExpression& expression, Operand& top)
{
    if (!Run(expression) || m_operands.empty())
        return false;
    top = std::move(m_operands.back());
    m_operands.pop_back();
    if (!Resolve(top)) {
        Fail();
        return false;
    }
    return true;
}

bool ExpressionEvaluator::Run(const CompiledExpression& expression)
{
    for (const auto& token : expression.tokens) {
        if (m_error)
            break;
        if (token.entry && token.entry->kind == OperatorKind::Close && token.kind == TokenKind::Operator) {
            if (const std::string* call = CloseGroup()) {
                if (!m_host || !m_host->CallFunction(*call, *m_callArguments))
                    Fail(*call);
                else
                    FinishHostCall();
            }
            continue;
        }
        ExecuteToken(token);
    }
    if (!m_error)
        Reduce(FlushLevel);
    return !m_error;
}

const ScriptValue* ExpressionEvaluator::ResolvedTop()
{
    if (m_error || m_operands.empty() || !Resolve(m_operands.back())) {
        Fail();
        return nullptr;
    }
    return &ValueOf(m_operands.back());
}

bool ExpressionEvaluator::TopTruth()
{
    const ScriptValue* value = ResolvedTop();
    if (!value)
        return false;
    // The truth is the value's text read as a decimal integer; the scalar objects answer
    // without writing the text.
    if (const ScriptObject* object = value->Object()) {
        switch (object->ScalarType()) {
        case TypeInt: return static_cast<const IntObject*>(object)->Number() != 0;
        case TypeBool: return static_cast<const BoolObject*>(object)->Number() != 0;
        case TypeDouble: return IsTrueDouble(static_cast<const DoubleObject*>(object)->Number());
        default: break;
        }
    }
    return IsTrueText(value->ToString());
}

ScriptValue ExpressionEvaluator::OperandValue(std::size_t index) const
{
    const Operand& operand = m_operands[index];
    if (operand.reference)
        return ScriptValue::FromText(operand.reference->text, TypeVariableReference);
    return ScriptValue::CopyOf(ValueOf(operand));
}

void ExpressionEvaluator::AddLocalVariable(const std::string& name, const ScriptValue& value)
{
    auto variable = MakeCounted<ScriptVariable>(name);
    variable->Value().Assign(value);
    m_localVariables.Append(std::move(variable));
}

SCRIPT_OUT_OF_LINE void ExpressionEvaluator::ExecuteToken(const ExpressionToken& token)
{
    switch (token.kind) {
    case TokenKind::Literal:
        PushBorrowed(token.literal);
        AfterOperand();
        break;
    case TokenKind::Reference:
        PushReference(token);
        AfterOperand();
        break;
    case TokenKind::Name:
        HandleName(token);
        break;
    case TokenKind::Operator:
        HandleOperator(token, token.entry);
        break;
    case TokenKind::Increment:
        HandleIncrement();
        break;
    case TokenKind::Error:
        Fail();
        break;
    }
}

// A name is a variable reference when a local or the host knows it; otherwise it is a word:
// "AND" or "OR", or the name of a function that must be called.
void ExpressionEvaluator::HandleName(const ExpressionToken& token)
{
    bool isVariable = (!m_localVariables.Empty() && m_localVariables.Find(token.text) != nullptr)
        || (m_host && m_host->FindVariableValue(token.text, &token.lookup) != nullptr);
    if (isVariable) {
        PushReference(token);
        AfterOperand();
        return;
    }
    if (m_host)
        (void)m_host->NoteWord(token.text);
    if (token.entry)
        HandleOperator(token, token.entry);
    else
        HandleWord(token);
}

void ExpressionEvaluator::HandleOperator(const ExpressionToken& token, const OperatorEntry* entry)
{
    if (!entry) {
        HandleWord(token);
        return;
    }
    switch (entry->operatorClass) {
    case OperatorClass::Grouping:
        if (entry->kind == OperatorKind::Open) {
            if (m_lastToken == LastToken::Operand)
                return Fail();
            return PushOperator(*entry);
        }
        if (m_lastToken != LastToken::Operand)
            return Fail(token.text);
        Reduce(FlushLevel);
        if (!m_error)
            PushOperator(*entry);
        return;
    case OperatorClass::Relational:
        if (m_lastToken != LastToken::Operand)
            return Fail(token.text);
        Reduce(entry->precedence);
        if (!m_error)
            PushOperator(*entry);
        return;
    case OperatorClass::Arithmetic:
        if (entry->kind == OperatorKind::Subtract && m_lastToken != LastToken::Operand)
            return PushOperator(OperatorOf(OperatorKind::Negate));
        return PushOperator(*entry);
    case OperatorClass::Unary:
    case OperatorClass::Bitwise:
        return PushOperator(*entry);
    case OperatorClass::BuiltInCall:
    case OperatorClass::HostCall:
        return HandleWord(token);
    }
}

// Any other word names a function: the built-in "int" or a call through the host. Either must
// be followed by "(".
void ExpressionEvaluator::HandleWord(const ExpressionToken& token)
{
    if (IsBuiltInFunction(token.text)) {
        if (!token.callFollows)
            return Fail();
        return PushOperator(OperatorOf(OperatorKind::BuiltInInt));
    }
    if (!token.callFollows)
        return Fail(token.text);
    PushOperator(OperatorOf(OperatorKind::HostCall), &token.text);
}

//   ")" closes a group: "()" after a call gives it the empty list; a group of operands
//   separated by "," becomes one list value; then a call before the group is applied. A host
//   call is only prepared here: its name is returned, and the loop makes the call.
SCRIPT_OUT_OF_LINE const std::string* ExpressionEvaluator::CloseGroup()
{
    if (TopIs(OperatorKind::Open)) {
        m_operators.pop_back();
        if (TopIsCall() && m_lastToken == LastToken::Operator)
            PushOwned(ScriptValue(TypeList));
    } else {
        Reduce(FlushLevel);
        if (m_error)
            return nullptr;
        if (TopIs(OperatorKind::Comma))
            BuildArgumentList();
        if (m_error)
            return nullptr;
        if (!TopIs(OperatorKind::Open)) {
            Fail();
            return nullptr;
        }
        m_operators.pop_back();
    }
    if (TopIsCall()) {
        PendingOperator call = m_operators.back();
        m_operators.pop_back();
        if (call.entry->operatorClass == OperatorClass::HostCall)
            return PrepareHostCall(*call.name);
        Apply(call);
        if (m_error)
            return nullptr;
    }
    AfterOperand();
    return nullptr;
}

// The operands of a group, one more than the "," between them, become one list value that
// keeps their order.
void ExpressionEvaluator::BuildArgumentList()
{
    std::vector<std::string> items;
    Operand operand;
    if (!PopOperand(operand))
        return Fail();
    items.push_back(operand.reference ? ListItemText(ScriptValue::FromText(operand.reference->text, TypeVariableReference))
                                      : ListItemText(ValueOf(operand)));
    while (TopIs(OperatorKind::Comma)) {
        m_operators.pop_back();
        if (!PopOperand(operand))
            return Fail();
        items.push_back(operand.reference ? ListItemText(ScriptValue::FromText(operand.reference->text, TypeVariableReference))
                                          : ListItemText(ValueOf(operand)));
    }
    std::string list;
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
        if (!list.empty() || item != items.rbegin())
            list += ListSeparator;
        list += *item;
    }
    ScriptValue value(TypeList);
    value.SetText(list);
    PushOwned(std::move(value));
}

// "++" gives the top operand's number plus one; the variable itself is not changed.
void ExpressionEvaluator::HandleIncrement()
{
    if (!ResolveTop(1) || !IsNumeric(ValueOf(FromTop(0)).Type()))
        return Fail();
    ReplaceTop(1, ValueOf(FromTop(0)).ToNumber() + 1.0);
    AfterOperand();
}

void ExpressionEvaluator::PushOperator(const OperatorEntry& entry, const std::string* name)
{
    // "+", the two-operand "-" and any other loose arithmetic operator first applies the
    // arithmetic operator below it, so that they group from the left.
    if (entry.operatorClass == OperatorClass::Arithmetic && entry.precedence != TightPrecedence && !m_operators.empty()
        && m_operators.back().entry->operatorClass == OperatorClass::Arithmetic) {
        PendingOperator below = m_operators.back();
        m_operators.pop_back();
        Apply(below);
        if (m_error)
            return;
    }
    m_operators.push_back({&entry, name});
    m_lastToken = LastToken::Operator;
}

void ExpressionEvaluator::PushOwned(ScriptValue value)
{
    m_operands.emplace_back();
    m_operands.back().owned = std::move(value);
    m_lastToken = LastToken::Operand;
}

void ExpressionEvaluator::PushBorrowed(const ScriptValue& value)
{
    m_operands.emplace_back();
    m_operands.back().borrowed = &value;
    m_lastToken = LastToken::Operand;
}

void ExpressionEvaluator::PushReference(const ExpressionToken& token)
{
    m_operands.emplace_back();
    m_operands.back().reference = &token;
    m_lastToken = LastToken::Operand;
}

// Tight operators on top apply as soon as an operand stands to their right.
void ExpressionEvaluator::AfterOperand()
{
    while (!m_error && !m_operators.empty() && m_operators.back().entry->precedence == TightPrecedence) {
        PendingOperator pending = m_operators.back();
        m_operators.pop_back();
        Apply(pending);
    }
}

// Applies operators from the top while their precedence is at most the level. "(" and ","
// have no rule of their own and stay; they are taken by ")".
SCRIPT_OUT_OF_LINE void ExpressionEvaluator::Reduce(int level)
{
    while (!m_error && !m_operators.empty()) {
        const PendingOperator& top = m_operators.back();
        if (level >= TightPrecedence && top.entry->precedence > level)
            return;
        if (top.entry->operatorClass == OperatorClass::Grouping)
            return;
        PendingOperator pending = top;
        m_operators.pop_back();
        Apply(pending);
    }
}

bool ExpressionEvaluator::TopIs(OperatorKind kind) const
{
    return !m_operators.empty() && m_operators.back().entry->kind == kind;
}

bool ExpressionEvaluator::TopIsCall() const
{
    if (m_operators.empty())
        return false;
    auto operatorClass = m_operators.back().entry->operatorClass;
    return operatorClass == OperatorClass::BuiltInCall || operatorClass == OperatorClass::HostCall;
}

bool ExpressionEvaluator::PopOperand(Operand& operand)
{
    if (m_operands.empty())
        return false;
    operand = std::move(m_operands.back());
    m_operands.pop_back();
    return true;
}

bool ExpressionEvaluator::ResolveTop(std::size_t count)
{
    if (m_operands.size() < count)
        return false;
    for (std::size_t position = 0; position < count; ++position) {
        if (!Resolve(FromTop(position)))
            return false;
    }
    return true;
}

void ExpressionEvaluator::ReplaceTop(std::size_t count, double number)
{
    while (--count > 0)
        m_operands.pop_back();
    Operand& result = m_operands.back();
    result.borrowed = nullptr;
    result.reference = nullptr;
    result.owned.MakeDouble(number);
    m_lastToken = LastToken::Operand;
}

// The operand's value becomes its own, to be changed.
void ExpressionEvaluator::OwnValue(Operand& operand)
{
    if (operand.borrowed) {
        operand.owned.Assign(*operand.borrowed);
        operand.borrowed = nullptr;
    }
}

// A variable reference becomes the value of its variable: a local of the evaluator first,
// then the host's. False when neither knows the name.
bool ExpressionEvaluator::Resolve(Operand& operand)
{
    const ExpressionToken* reference = operand.reference;
    if (!reference)
        return true;
    operand.reference = nullptr;
    if (ScriptVariable* local = m_localVariables.Empty() ? nullptr : m_localVariables.Find(reference->text)) {
        operand.borrowed = &local->Value();
        return true;
    }
    if (!m_host)
        return false;
    operand.borrowed = m_host->FindVariableValue(reference->text, &reference->lookup);
    return operand.borrowed != nullptr;
}

const ScriptValue& ExpressionEvaluator::ValueOf(const Operand& operand) const
{
    return operand.borrowed ? *operand.borrowed : operand.owned;
}

void ExpressionEvaluator::Fail(std::string_view word)
{
    m_error = true;
    if (!word.empty())
        m_errorWord.assign(word);
}
