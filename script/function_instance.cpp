#include "script/function_instance.h"

#include "script/line_form.h"
#include "script/script_engine.h"

FunctionInstance::FunctionInstance(ScriptEngine& engine, Counted<ScriptFunction> function, std::uint64_t serial)
    : m_engine(engine), m_function(std::move(function)), m_serial(serial)
{
    m_listUserVar.TieToChangeCounter(engine.VariableChangeCounter());
}

FunctionInstance::~FunctionInstance() = default;

const BodyLine* FunctionInstance::RunningLine() const
{
    std::int32_t running = m_linePointer - 1;
    if (running < 0 || running >= static_cast<std::int32_t>(m_function->LineCount()))
        return nullptr;
    return &m_function->Body()[running];
}

std::int32_t FunctionInstance::CurrentSourceLine() const
{
    const BodyLine* line = RunningLine();
    return line ? line->sourceLine : m_function->HeaderLine();
}

void FunctionInstance::Goto(std::string_view label)
{
    std::int32_t target = m_function->FindLabel(label);
    m_linePointer = target;
    auto& stack = m_listSentenceHeap;
    for (auto entry = stack.begin(); entry != stack.end();) {
        bool contains = target >= entry->block->startLine && target <= entry->block->endLine;
        entry = contains ? entry + 1 : stack.erase(entry);
    }
}
