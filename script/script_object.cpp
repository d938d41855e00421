#include "script/script_object.h"

#include "script/script_variable.h"

ScriptObject::ScriptObject(std::string className) : m_className(std::move(className)) {}

ScriptObject::~ScriptObject() = default;

Counted<ScriptObject> ScriptObject::CreateInstance(const std::string& instanceName)
{
    auto instance = MakeCounted<ScriptObject>(m_className);
    instance->SetInstanceName(instanceName);
    return instance;
}

bool ScriptObject::InvokeMethod(const std::string&, ArgumentList&, FunctionInstance*) { return false; }

bool ScriptObject::SetMember(const std::string& name, const std::string& text)
{
    if (ScriptVariable* member = m_members.Find(name)) {
        member->Value().SetText(text);
        return true;
    }
    auto member = MakeCounted<ScriptVariable>(name);
    member->Value().SetText(text);
    m_members.Append(std::move(member));
    return true;
}

ScriptVariable* ScriptObject::FindMember(const std::string& name) { return m_members.Find(name); }

std::string ScriptObject::ToString() const { return {}; }

std::int32_t ScriptObject::ToInt() const { return 0; }

double ScriptObject::ToNumber() const { return 0.0; }

bool ScriptObject::IsEqual(const ScriptValue*) const { return false; }
