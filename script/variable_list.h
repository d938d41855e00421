#pragma once

#include "script/counted.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class ScriptVariable;

// An ordered list of counted variables, searched by name without regard to case; the first
// match wins, so duplicates are allowed and the older one hides the newer.
//
// A list can be tied to a change counter: every change to the list's members bumps it, which
// tells the engine's lookup caches that an earlier answer may no longer hold.
class VariableList {
public:
    VariableList();
    ~VariableList();
    VariableList(const VariableList&) = delete;
    VariableList& operator=(const VariableList&) = delete;

    void TieToChangeCounter(std::uint64_t* counter) { m_changeCounter = counter; }

    [[nodiscard]] ScriptVariable* Find(std::string_view name) const;
    void Append(Counted<ScriptVariable> variable);
    void Clear();

    [[nodiscard]] std::size_t Count() const { return m_variables.size(); }
    [[nodiscard]] bool Empty() const { return m_variables.empty(); }
    [[nodiscard]] ScriptVariable* At(std::size_t index) const;

private:
    void NoteChange();

    std::vector<Counted<ScriptVariable>> m_variables;
    std::uint64_t* m_changeCounter = nullptr;
};
