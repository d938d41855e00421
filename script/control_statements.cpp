// The control statements. Each moves the line pointer of the running call and keeps the block
// stack: a block is pushed when entered and popped when left.
#include "script/function_instance.h"
#include "script/line_form.h"
#include "script/script_engine.h"
#include "script/statement_runner.h"

namespace {

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

void LeaveBlock(FunctionInstance& instance, const BlockRecord& block)
{
    instance.BlockStack().pop_back();
    instance.SetLinePointer(block.endLine + 1);
}

bool Condition(FunctionInstance& instance, const CachedExpression& condition)
{
    return instance.Engine().EvaluateCondition(condition, &instance);
}

// An "if" line: reached again at the end of a branch without braces, it leaves the block;
// otherwise the first branch whose condition holds (or the last "else") is entered.
void ExecuteIf(FunctionInstance& instance, std::int32_t index, const LineForm&)
{
    const BlockRecord* block = BuildBlock(instance.Function(), index, BlockKind::If);
    if (!block)
        return instance.Engine().SetErrorFlag();
    if (IsOnTop(instance, block))
        return LeaveBlock(instance, *block);
    instance.BlockStack().push_back({block, 0});
    for (const auto& branch : block->branches) {
        bool taken = branch.condition.Text().empty() || Condition(instance, branch.condition);
        if (instance.Engine().HasError())
            return;
        if (taken)
            return instance.SetLinePointer(branch.startLine + 1);
    }
    LeaveBlock(instance, *block);
}

void ExecuteCloseBrace(FunctionInstance& instance, std::int32_t, const LineForm&)
{
    auto& stack = instance.BlockStack();
    if (stack.empty())
        return instance.Engine().SetError(ErrorUnmatchedBrace, {}, -1);
    const BlockRecord& block = *stack.back().block;
    switch (block.kind) {
    case BlockKind::While:
    case BlockKind::For:
        return instance.SetLinePointer(block.startLine);
    case BlockKind::Do: {
        bool again = Condition(instance, block.condition);
        if (instance.Engine().HasError())
            return;
        if (again)
            return instance.SetLinePointer(block.startLine);
        return LeaveBlock(instance, block);
    }
    case BlockKind::If:
    case BlockKind::Switch:
        return LeaveBlock(instance, block);
    }
}

void ExecuteWhile(FunctionInstance& instance, std::int32_t index, const LineForm&)
{
    const BlockRecord* block = BuildBlock(instance.Function(), index, BlockKind::While);
    if (!block)
        return instance.Engine().SetErrorFlag();
    if (block->condition.Text().empty())
        return instance.Engine().SetError(ErrorWhileWithoutCondition, {}, -1);
    EnterBlock(instance, block);
    bool holds = Condition(instance, block->condition);
    if (instance.Engine().HasError())
        return;
    if (holds)
        return instance.SetLinePointer(index + 1);
    LeaveBlock(instance, *block);
}

// A "for" line runs its initialisation when the loop starts and its step each time it comes
// back; an empty initialisation or step is no statement.
void ExecuteFor(FunctionInstance& instance, std::int32_t index, const LineForm&)
{
    const BlockRecord* block = BuildBlock(instance.Function(), index, BlockKind::For);
    if (!block)
        return instance.Engine().SetError(ErrorFor, {}, -1);
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
        return;
    bool holds = Condition(instance, block->condition);
    if (instance.Engine().HasError())
        return;
    if (holds)
        return instance.SetLinePointer(index + 1);
    LeaveBlock(instance, *block);
}

// The entries are tested in order: "Default:" is taken where the test reaches it, a case when
// "(selector) == (label)" holds.
void ExecuteSwitch(FunctionInstance& instance, std::int32_t index, const LineForm&)
{
    const BlockRecord* block = BuildBlock(instance.Function(), index, BlockKind::Switch);
    if (!block)
        return instance.Engine().SetErrorFlag();
    if (block->condition.Text().empty())
        return instance.Engine().SetError(ErrorSwitch, {}, -1);
    EnterBlock(instance, block);
    for (const auto& entry : block->branches) {
        bool taken = entry.condition.Text().empty() || Condition(instance, entry.condition);
        if (instance.Engine().HasError())
            return;
        if (taken)
            return instance.SetLinePointer(entry.startLine + 1);
    }
    LeaveBlock(instance, *block);
}

// A case line without ":" reached by running through the case before it leaves the switch.
void ExecuteCase(FunctionInstance& instance, std::int32_t, const LineForm&)
{
    auto& stack = instance.BlockStack();
    if (stack.empty() || stack.back().block->kind != BlockKind::Switch)
        return instance.Engine().SetError(ErrorSwitch, {}, -1);
    LeaveBlock(instance, *stack.back().block);
}

void ExecuteDo(FunctionInstance& instance, std::int32_t index, const LineForm&)
{
    const BlockRecord* block = BuildBlock(instance.Function(), index, BlockKind::Do);
    if (!block)
        return instance.Engine().SetErrorFlag();
    if (block->condition.Text().empty())
        return instance.Engine().SetError(ErrorDoWithoutCondition, {}, -1);
    EnterBlock(instance, block);
    instance.SetLinePointer(index + 1);
}

// Leaves the innermost loop or switch, and every "if" inside it.
void ExecuteBreak(FunctionInstance& instance, std::int32_t, const LineForm&)
{
    auto& stack = instance.BlockStack();
    while (!stack.empty() && stack.back().block->kind == BlockKind::If)
        stack.pop_back();
    if (stack.empty())
        return instance.Engine().SetError(ErrorBreakOutsideBlock, {}, -1);
    LeaveBlock(instance, *stack.back().block);
}

// The return value is kept in the function's declared return type.
void ExecuteReturn(FunctionInstance& instance, const LineForm& form, bool& returned)
{
    ScriptValue value;
    if (!form.rest.empty()) {
        std::string errorWord;
        if (!instance.Engine().Evaluate(form.returnValue, &instance, value, errorWord))
            return instance.Engine().SetError(ErrorReturnValue, form.rest, -1);
    }
    instance.Parameters().Result().AssignKeepType(value);
    returned = true;
}

using ControlHandler = void (*)(FunctionInstance& instance, std::int32_t index, const LineForm& form);

struct ControlEntry {
    ControlKeyword keyword;
    ControlHandler handler;
};

constexpr ControlEntry g_controlHandlers[] = {
    {ControlKeyword::If, ExecuteIf},
    {ControlKeyword::CloseBrace, ExecuteCloseBrace},
    {ControlKeyword::While, ExecuteWhile},
    {ControlKeyword::For, ExecuteFor},
    {ControlKeyword::Switch, ExecuteSwitch},
    {ControlKeyword::Case, ExecuteCase},
    {ControlKeyword::Do, ExecuteDo},
    {ControlKeyword::Break, ExecuteBreak},
};

}

void ExecuteControl(FunctionInstance& instance, std::int32_t index, const LineForm& form, bool& returned)
{
    if (form.keyword == ControlKeyword::Return)
        return ExecuteReturn(instance, form, returned);
    for (const auto& entry : g_controlHandlers) {
        if (entry.keyword == form.keyword)
            return entry.handler(instance, index, form);
    }
}
