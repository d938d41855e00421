#include "script/objects/value_set.h"

#include "script/argument_list.h"
#include "script/objects/method_table.h"
#include "script/script_text.h"
#include "script/script_variable.h"

ValueSetObject::ValueSetObject() : ValueSetObject("CValueSet") {}

ValueSetObject::ValueSetObject(std::string className) : ScriptObject(std::move(className)) {}

Counted<ValueSetObject> ValueSetObject::NewEmpty() const { return MakeCounted<ValueSetObject>(); }

Counted<ScriptObject> ValueSetObject::CreateInstance(const std::string& instanceName)
{
    Counted<ValueSetObject> instance = NewEmpty();
    instance->SetClassName(ClassName());
    instance->SetInstanceName(instanceName);
    return instance;
}

namespace {

const MethodRow<ValueSetObject> ValueSetMethods[] = {
    {"SetValue", NameMatch::AnyCase,
     [](ValueSetObject& set, ArgumentList& arguments, FunctionInstance*) {
         set.SetEntry(arguments.ArgText(1, true), arguments.ArgText(2, true));
     }, "name, value"},
    {"GetValue", NameMatch::AnyCase,
     [](ValueSetObject& set, ArgumentList& arguments, FunctionInstance*) {
         arguments.SetResult(set.EntryText(arguments.ArgText(1, true), {}), TypeString);
     }, "name"},
    {"ClearData", NameMatch::AnyCase,
     [](ValueSetObject& set, ArgumentList&, FunctionInstance*) { set.ClearEntries(); }, ""},
};

const MethodRow<ValueSetObject> WndParamMethods[] = {
    {"SetWndProc", NameMatch::AnyCase,
     [](ValueSetObject& set, ArgumentList& arguments, FunctionInstance*) {
         set.SetEntry("WndProc", arguments.ArgText(1, true));
     }, "function name"},
};

} // namespace

std::vector<MethodName> ValueSetMethodNames() { return NamesOfRows(ValueSetMethods); }

std::vector<MethodName> WndParamMethodNames()
{
    std::vector<MethodName> names = NamesOfRows(WndParamMethods);
    for (const MethodName& name : NamesOfRows(ValueSetMethods))
        names.push_back(name);
    return names;
}

bool ValueSetObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller)
{
    return DispatchMethod(ValueSetMethods, *this, name, arguments, caller);
}

std::string ValueSetObject::EntryText(const std::string& name, const std::string& defaultText) const
{
    ScriptVariable* entry = m_entries.Find(name);
    return entry ? entry->Value().ToString() : defaultText;
}

std::int32_t ValueSetObject::EntryInt(const std::string& name, std::int32_t defaultNumber) const
{
    ScriptVariable* entry = m_entries.Find(name);
    return entry ? ReadDecimalInt(entry->Value().ToString()) : defaultNumber;
}

void ValueSetObject::SetEntry(const std::string& name, const std::string& text)
{
    if (ScriptVariable* entry = m_entries.Find(name)) {
        entry->Value().SetText(text);
        return;
    }
    auto entry = MakeCounted<ScriptVariable>(name);
    entry->Value().SetText(text);
    m_entries.Append(std::move(entry));
}

void ValueSetObject::SetEntryInt(const std::string& name, std::int32_t number) { SetEntry(name, FormatInt(number)); }

void ValueSetObject::ClearEntries() { m_entries.Clear(); }

WndParamObject::WndParamObject() : ValueSetObject("CWndParam") {}

Counted<ValueSetObject> WndParamObject::NewEmpty() const { return MakeCounted<WndParamObject>(); }

bool WndParamObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller)
{
    return DispatchMethod(WndParamMethods, static_cast<ValueSetObject&>(*this), name, arguments, caller)
        || ValueSetObject::InvokeMethod(name, arguments, caller);
}
