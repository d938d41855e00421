#pragma once

#include "script/objects/method_table.h"
#include "script/script_object.h"
#include "script/variable_list.h"

#include <cstdint>
#include <string>
#include <vector>

// The methods of "CValueSet", and of "CWndParam" (its own, then those of "CValueSet").
[[nodiscard]] std::vector<MethodName> ValueSetMethodNames();
[[nodiscard]] std::vector<MethodName> WndParamMethodNames();

// "CValueSet": a store of named values that scripts fill and read with "SetValue", "GetValue"
// and "ClearData". Its entries are kept apart from the object's member variables.

class ValueSetObject : public ScriptObject {
public:
    ValueSetObject();

    [[nodiscard]] Counted<ScriptObject> CreateInstance(const std::string& instanceName) override;
    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override;

    // For the host: an entry's text or number, with a default for a missing name.
    [[nodiscard]] std::string EntryText(const std::string& name, const std::string& defaultText) const;
    [[nodiscard]] std::int32_t EntryInt(const std::string& name, std::int32_t defaultNumber) const;
    void SetEntry(const std::string& name, const std::string& text);
    void SetEntryInt(const std::string& name, std::int32_t number);
    void ClearEntries();

protected:
    explicit ValueSetObject(std::string className);
    [[nodiscard]] virtual Counted<ValueSetObject> NewEmpty() const;

private:
    VariableList m_entries;
};

// "CWndParam": the parameter object of the pages a script opens; a value set that also names
// the script function handling the page ("SetWndProc").
class WndParamObject final : public ValueSetObject {
public:
    WndParamObject();

    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override;

private:
    [[nodiscard]] Counted<ValueSetObject> NewEmpty() const override;
};
