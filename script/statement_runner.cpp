#include "script/statement_runner.h"

#include "script/compiler.h"
#include "script/function_instance.h"
#include "script/line_form.h"
#include "script/script_engine.h"

namespace {

// A line that ends a block of one line without braces sends the pointer back to the block's
// opening line, where the statement decides again.
bool EndsTopBlock(const BlockRecord& block, std::int32_t index)
{
    if (block.endLine == index)
        return true;
    for (const auto& branch : block.branches) {
        if (branch.endLine == index)
            return true;
    }
    return false;
}

// The line whose number an error report gives: the one before the line pointer, which is the
// line that ran unless a control statement moved the pointer.
SCRIPT_OUT_OF_LINE void ReportErrorLine(const FunctionInstance& instance, std::int32_t executed)
{
    const auto& body = instance.Function().Body();
    std::int32_t reported = instance.LinePointer() - 1;
    if (reported < 0 || reported >= static_cast<std::int32_t>(body.size()))
        reported = executed;
    instance.Engine().SetErrorLocation(body[reported].sourceLine, body[reported].second);
}

}

SCRIPT_OUT_OF_LINE static void MakeForm(const BodyLine& line) { line.form = std::make_unique<LineForm>(line.text); }

const LineForm& FormOfLine(const ScriptFunction& function, std::int32_t index)
{
    const BodyLine& line = function.Body()[index];
    if (!line.form)
        MakeForm(line);
    return *line.form;
}

bool RunFunctionBody(FunctionInstance& instance)
{
    ScriptEngine& engine = instance.Engine();
    const auto& body = instance.Function().Body();
    const auto lineCount = static_cast<std::int32_t>(body.size());
    while (true) {
        std::int32_t index = instance.LinePointer();
        if (index < 0 || index >= lineCount)
            return true;
        instance.SetLinePointer(index + 1);
        const LineForm& form = FormOfLine(instance.Function(), index);
        if (form.kind == LineKind::Skip)
            continue;
        if (engine.Observer())
            engine.Observer()->BeforeLine(instance, body[index]);
        // Dispatched from here rather than through ExecuteLine: this loop and the statement are
        // the only frames a nested call adds before the expression that makes it.
        bool returned = false;
        if (!engine.CountExecutedLine())
            engine.SetError(ErrorLineBudgetSpent, {}, body[index].sourceLine);
        else if (form.kind == LineKind::Plain)
            ExecutePlain(instance, *form.plain);
        else if (form.kind == LineKind::Control)
            returned = ControlHandlerOf(form)(instance, index, form);
        if (engine.Observer())
            engine.Observer()->AfterLine(instance, body[index]);
        if (engine.HasError()) {
            ReportErrorLine(instance, index);
            return false;
        }
        if (returned)
            return true;
        auto& blocks = instance.BlockStack();
        if (!blocks.empty() && EndsTopBlock(*blocks.back().block, index))
            instance.SetLinePointer(blocks.back().block->startLine);
    }
}

void ExecuteLine(FunctionInstance& instance, std::int32_t index, bool& returned)
{
    returned = false;
    const LineForm& form = FormOfLine(instance.Function(), index);
    switch (form.kind) {
    case LineKind::Skip:
    case LineKind::Label:
        return;
    case LineKind::Control:
        returned = ControlHandlerOf(form)(instance, index, form);
        return;
    case LineKind::Plain:
        return ExecutePlain(instance, *form.plain);
    }
}
