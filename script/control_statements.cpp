// The control statements. Each moves the line pointer of the running call and keeps the block
// stack: a block is pushed when entered and popped when left. A handler tells whether the
// function returned, which only "return" does.
#include "script/compiler.h"
#include "script/function_instance.h"
#include "script/line_form.h"
#include "script/script_engine.h"
#include "script/statement_runner.h"

#include <iterator>

namespace {

constexpr bool Returned = true;
constexpr bool Continues = false;

bool IsOnTop(FunctionInstance& instance, const BlockRecord* block)
{
    auto& stack = instance.BlockStack();
    return !stack.empty() && stack.back().block == block;
}

// Pushes the block, or counts one more entry when it is already on top.
void EnterBlock(FunctionInstance& instance, const BlockRecord* block)
{
    if (IsOnTop(instance, block))
        ++instance.BlockStack().back().reentryCount;
    else
        instance.BlockStack().push_back({block, 0});
}

bool LeaveBlock(FunctionInstance& instance, const BlockRecord& block)
{
    instance.BlockStack().pop_back();
    instance.SetLinePointer(block.endLine + 1);
    return Continues;
}

bool Fail(FunctionInstance& instance, ScriptErrorCode code = ErrorNone)
{
    instance.Engine().SetError(code);
    return Continues;
}

bool Condition(FunctionInstance& instance, const CachedExpression& condition)
{
    return instance.Engine().EvaluateCondition(condition, &instance);
}

// A loop line goes on into its body while its condition holds; otherwise the loop is left.
bool RunBodyWhileConditionHolds(FunctionInstance& instance, const BlockRecord& block, std::int32_t index)
{
    const bool holds = Condition(instance, block.condition);
    if (instance.Engine().HasError())
        return Continues;
    if (!holds)
        return LeaveBlock(instance, block);
    instance.SetLinePointer(index + 1);
    return Continues;
}

// Goes on at the first branch (an if's branches, a switch's cases) whose condition holds or
// that has none (else, Default:); when none is taken, the block is left.
bool EnterFirstTakenBranch(FunctionInstance& instance, const BlockRecord& block)
{
    for (const auto& branch : block.branches) {
        const bool taken = branch.condition.Text().empty() || Condition(instance, branch.condition);
        if (instance.Engine().HasError())
            return Continues;
        if (taken) {
            instance.SetLinePointer(branch.startLine + 1);
            return Continues;
        }
    }
    return LeaveBlock(instance, block);
}

// An "if" line: reached again at the end of a branch without braces, it leaves the block;
// otherwise the first branch whose condition holds (or the last "else") is entered.
bool ExecuteIf(FunctionInstance& instance, std::int32_t index, const LineForm&)
{
    const BlockRecord* block = BuildBlock(instance.Function(), index, BlockKind::If);
    if (!block)
        return Fail(instance);
    if (IsOnTop(instance, block))
        return LeaveBlock(instance, *block);
    instance.BlockStack().push_back({block, 0});
    return EnterFirstTakenBranch(instance, *block);
}

bool ExecuteCloseBrace(FunctionInstance& instance, std::int32_t, const LineForm&)
{
    auto& stack = instance.BlockStack();
    if (stack.empty())
        return Fail(instance, ErrorUnmatchedBrace);
    const BlockRecord& block = *stack.back().block;
    switch (block.kind) {
    case BlockKind::While:
    case BlockKind::For:
        instance.SetLinePointer(block.startLine);
        return Continues;
    case BlockKind::Do: {
        bool again = Condition(instance, block.condition);
        if (instance.Engine().HasError())
            return Continues;
        if (!again)
            return LeaveBlock(instance, block);
        instance.SetLinePointer(block.startLine);
        return Continues;
    }
    case BlockKind::If:
    case BlockKind::Switch:
        break;
    }
    return LeaveBlock(instance, block);
}

bool ExecuteWhile(FunctionInstance& instance, std::int32_t index, const LineForm&)
{
    const BlockRecord* block = BuildBlock(instance.Function(), index, BlockKind::While);
    if (!block)
        return Fail(instance);
    if (block->condition.Text().empty())
        return Fail(instance, ErrorWhileWithoutCondition);
    EnterBlock(instance, block);
    return RunBodyWhileConditionHolds(instance, *block, index);
}

// A "for" line runs its initialisation when the loop starts and its step each time it comes
// back; an empty initialisation or step is no statement.
bool ExecuteFor(FunctionInstance& instance, std::int32_t index, const LineForm&)
{
    const BlockRecord* block = BuildBlock(instance.Function(), index, BlockKind::For);
    if (!block)
        return Fail(instance, ErrorFor);
    const PlainForm* statement = block->initialisation.get();
    if (IsOnTop(instance, block)) {
        ++instance.BlockStack().back().reentryCount;
        statement = block->step.get();
    } else {
        instance.BlockStack().push_back({block, 0});
    }
    if (!statement->firstWord.empty() || !statement->rest.empty())
        ExecutePlain(instance, *statement);
    if (instance.Engine().HasError())
        return Continues;
    return RunBodyWhileConditionHolds(instance, *block, index);
}

// The entries are tested in order: "Default:" is taken where the test reaches it, a case when
// "(selector) == (label)" holds.
bool ExecuteSwitch(FunctionInstance& instance, std::int32_t index, const LineForm&)
{
    const BlockRecord* block = BuildBlock(instance.Function(), index, BlockKind::Switch);
    if (!block)
        return Fail(instance);
    if (block->condition.Text().empty())
        return Fail(instance, ErrorSwitch);
    EnterBlock(instance, block);
    return EnterFirstTakenBranch(instance, *block);
}

// A case line without ":" reached by running through the case before it leaves the switch.
bool ExecuteCase(FunctionInstance& instance, std::int32_t, const LineForm&)
{
    auto& stack = instance.BlockStack();
    if (stack.empty() || stack.back().block->kind != BlockKind::Switch)
        return Fail(instance, ErrorSwitch);
    return LeaveBlock(instance, *stack.back().block);
}

bool ExecuteDo(FunctionInstance& instance, std::int32_t index, const LineForm&)
{
    const BlockRecord* block = BuildBlock(instance.Function(), index, BlockKind::Do);
    if (!block)
        return Fail(instance);
    if (block->condition.Text().empty())
        return Fail(instance, ErrorDoWithoutCondition);
    EnterBlock(instance, block);
    instance.SetLinePointer(index + 1);
    return Continues;
}

// Leaves the innermost loop or switch, and every "if" inside it.
bool ExecuteBreak(FunctionInstance& instance, std::int32_t, const LineForm&)
{
    auto& stack = instance.BlockStack();
    while (!stack.empty() && stack.back().block->kind == BlockKind::If)
        stack.pop_back();
    if (stack.empty())
        return Fail(instance, ErrorBreakOutsideBlock);
    return LeaveBlock(instance, *stack.back().block);
}

// Keeps the value the evaluator left as the function's result, in the declared return type.
SCRIPT_OUT_OF_LINE bool StoreReturnValue(FunctionInstance& instance, const LineForm& form, ExpressionEvaluator& evaluator,
                                         bool ran)
{
    const ScriptValue* value = ran ? evaluator.ResolvedTop() : nullptr;
    if (!value) {
        instance.Engine().SetError(ErrorReturnValue, form.rest);
        return Continues;
    }
    instance.Parameters().Result().AssignKeepType(*value);
    return Returned;
}

// "return" alone returns an empty value.
bool ExecuteReturn(FunctionInstance& instance, std::int32_t, const LineForm& form)
{
    if (form.rest.empty()) {
        instance.Parameters().Result().AssignKeepType(ScriptValue());
        return Returned;
    }
    EvaluatorLease evaluator(instance.Engine(), &instance);
    bool ran = evaluator->Run(form.returnValue.Compiled());
    return StoreReturnValue(instance, form, *evaluator, ran);
}

constexpr ControlHandler g_controlHandlers[] = {
    ExecuteIf,         // ControlKeyword::If
    ExecuteCloseBrace, // ControlKeyword::CloseBrace
    ExecuteWhile,      // ControlKeyword::While
    ExecuteFor,        // ControlKeyword::For
    ExecuteSwitch,     // ControlKeyword::Switch
    ExecuteCase,       // ControlKeyword::Case
    ExecuteDo,         // ControlKeyword::Do
    ExecuteBreak,      // ControlKeyword::Break
    ExecuteReturn,     // ControlKeyword::Return
};
static_assert(std::size(g_controlHandlers) == static_cast<std::size_t>(ControlKeyword::Return) + 1);

}

ControlHandler ControlHandlerOf(const LineForm& form)
{
    return g_controlHandlers[static_cast<std::size_t>(form.keyword)];
}
