#pragma once

#include "script/argument_list.h"
#include "script/counted.h"
#include "script/script_function.h"
#include "script/variable_list.h"

#include <cstdint>
#include <string_view>
#include <vector>

class ScriptEngine;
struct BlockRecord;

// A block on the stack of a running call, and how often its opening line ran again while the
// block was on top.
struct BlockStackEntry {
    const BlockRecord* block;
    std::int32_t reentryCount;
};

// One running call of a script function: its locals, its own copy of the parameters (with the
// result value), the line pointer and the stack of the blocks it is inside.
class FunctionInstance {
public:
    FunctionInstance(ScriptEngine& engine, Counted<ScriptFunction> function, std::uint64_t serial);
    ~FunctionInstance();
    FunctionInstance(const FunctionInstance&) = delete;
    FunctionInstance& operator=(const FunctionInstance&) = delete;

    [[nodiscard]] ScriptEngine& Engine() const { return m_engine; }
    [[nodiscard]] ScriptFunction& Function() const { return *m_function; }
    // Unique for the life of the engine, so that a cached lookup never mistakes a new call
    // for an old one.
    [[nodiscard]] std::uint64_t Serial() const { return m_serial; }

    [[nodiscard]] VariableList& Locals() { return m_listUserVar; }
    [[nodiscard]] ArgumentList& Parameters() { return m_parameters; }

    // The index of the next line to run; the line running is the one before it.
    [[nodiscard]] std::int32_t LinePointer() const { return m_linePointer; }
    void SetLinePointer(std::int32_t index) { m_linePointer = index; }
    [[nodiscard]] const BodyLine* RunningLine() const;
    // The source line number of the running line, or the header line before the first one.
    [[nodiscard]] std::int32_t CurrentSourceLine() const;

    [[nodiscard]] std::vector<BlockStackEntry>& BlockStack() { return m_listSentenceHeap; }

    // Continues at the label: blocks that do not contain it are left. A missing label ends the
    // call at the next line fetch.
    void Goto(std::string_view label);

private:
    ScriptEngine& m_engine;
    Counted<ScriptFunction> m_function;
    std::uint64_t m_serial;
    std::int32_t m_linePointer = 0;
    VariableList m_listUserVar;
    ArgumentList m_parameters;
    std::vector<BlockStackEntry> m_listSentenceHeap;
};
