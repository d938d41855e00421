#include "script/variable_list.h"

#include "script/script_text.h"
#include "script/script_variable.h"

VariableList::VariableList() = default;

VariableList::~VariableList() = default;

ScriptVariable* VariableList::Find(std::string_view name) const
{
    for (const auto& variable : m_variables) {
        if (SameName(variable->Name(), name))
            return variable.Get();
    }
    return nullptr;
}

void VariableList::Append(Counted<ScriptVariable> variable)
{
    m_variables.push_back(std::move(variable));
    NoteChange();
}

void VariableList::Clear()
{
    // Releasing a variable can destroy an object whose destructor looks variables up again,
    // so the list is emptied before anything is released.
    auto released = std::move(m_variables);
    m_variables.clear();
    NoteChange();
    released.clear();
}

ScriptVariable* VariableList::At(std::size_t index) const
{
    return index < m_variables.size() ? m_variables[index].Get() : nullptr;
}

void VariableList::NoteChange()
{
    if (m_changeCounter)
        ++*m_changeCounter;
}
