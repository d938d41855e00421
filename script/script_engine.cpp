#include "script/script_engine.h"

#include "script/compiler.h"
#include "script/expression_evaluator.h"
#include "script/function_instance.h"
#include "script/objects/scalar_objects.h"
#include "script/objects/value_set.h"
#include "script/script_text.h"

#include <algorithm>

namespace {

SilentScriptHost g_silentHost;

// Sanitizer builds have larger frames and keep some locals elsewhere, so there only the depth
// limit applies.
constexpr std::size_t DefaultStackLimit = SCRIPT_SANITIZED_BUILD ? 0 : ScriptEngine::NativeStackLimit;

// The classes every engine knows, in the order they are registered, each with the factory of
// its class object. The system classes have none here: they come from the host, which may
// have none of them.
template<typename Class>
Counted<ScriptObject> MakeClass()
{
    return MakeCounted<Class>();
}

struct BuiltInClass {
    const char* name;
    Counted<ScriptObject> (*makeClass)(); // null: asked of the host
};

constexpr BuiltInClass g_builtInClasses[] = {
    {"CWndParam", MakeClass<WndParamObject>},
    {"CValueSet", MakeClass<ValueSetObject>},
    {"CRegKey", nullptr},
    {"string", MakeClass<StringObject>},
    {"int", MakeClass<IntObject>},
    {"double", MakeClass<DoubleObject>},
    {"bool", MakeClass<BoolObject>},
    {"CWSModule", nullptr},
    {"CDllModule", nullptr},
};

}

ScriptEngine::ScriptEngine(ScriptHost* host) : m_host(host ? host : &g_silentHost), m_stackLimit(DefaultStackLimit)
{
    m_listSegment.reserve(10);
    m_listExtClass.reserve(10);
    m_listUserVar.TieToChangeCounter(&m_variableChanges);
    RegisterBuiltInClasses();
    DefineConstant("true", "1", TypeBool);
    DefineConstant("false", "0", TypeBool);
}

// Releasing a variable or a class can destroy an object whose destructor still looks into
// the engine, so every list is emptied before what it held goes, and all of them go while the
// rest of the engine still exists.
ScriptEngine::~ScriptEngine()
{
    m_listSegIns.clear();
    std::vector<Counted<ScriptFunction>> functions = std::move(m_listSegment);
    m_listSegment.clear();
    functions.clear();
    m_listUserVar.Clear();
    std::vector<Counted<ScriptObject>> classes = std::move(m_listExtClass);
    m_listExtClass.clear();
    classes.clear();
}

void ScriptEngine::RegisterBuiltInClasses()
{
    for (const auto& builtIn : g_builtInClasses) {
        Counted<ScriptObject> classObject = builtIn.makeClass ? builtIn.makeClass() : m_host->CreateSystemClass(builtIn.name);
        if (classObject)
            RegisterClass(std::move(classObject), builtIn.name);
    }
}

Counted<ScriptObject> ScriptEngine::CreateObject(const std::string& name)
{
    // The system classes that the host lends ("CRegKey", "CDllModule", "CWSModule") are made
    // here as "var" makes them; every other name makes nothing.
    Counted<ScriptObject> classObject = m_host->CreateSystemClass(name);
    return classObject ? classObject->CreateInstance(name) : Counted<ScriptObject>();
}

void ScriptEngine::RegisterClass(Counted<ScriptObject> classObject, const std::string& name)
{
    if (!classObject)
        return;
    if (!name.empty())
        classObject->SetClassName(name);
    classObject->SetEngine(this);
    m_listExtClass.push_back(std::move(classObject));
}

void ScriptEngine::RegisterObject(const std::string& name, Counted<ScriptObject> object)
{
    if (object)
        object->SetEngine(this);
    auto variable = MakeCounted<ScriptVariable>(name);
    variable->Value().SetType(TypeObject);
    variable->Value().SetObject(std::move(object));
    m_listUserVar.Append(std::move(variable));
}

void ScriptEngine::DefineConstant(const std::string& name, std::string_view text, TypeCode type)
{
    auto variable = MakeCounted<ScriptVariable>(name);
    variable->Value().SetTyped(text, type);
    variable->SetReadOnly();
    m_listUserVar.Append(std::move(variable));
}

ScriptObject* ScriptEngine::FindClass(std::string_view name) const
{
    for (const auto& classObject : m_listExtClass) {
        if (SameName(classObject->ClassName(), name))
            return classObject.Get();
    }
    return nullptr;
}

bool ScriptEngine::HasFunction(std::string_view name) const { return FindFunction(name) != nullptr; }

ScriptFunction* ScriptEngine::FindFunction(std::string_view name) const
{
    for (const auto& function : m_listSegment) {
        if (SameName(function->Name(), name))
            return function.Get();
    }
    return nullptr;
}

Counted<ScriptVariable> ScriptEngine::CreateDeclaredVariable(std::string_view typeName, std::string_view name)
{
    TypeCode type = TypeCodeFromName(typeName);
    ScriptObject* classObject = nullptr;
    if (type != TypeObject) {
        classObject = FindClass(typeName);
        if (!classObject)
            return {};
        if (type == TypeUnknown)
            type = TypeObject;
    }
    auto variable = MakeCounted<ScriptVariable>(std::string(name));
    variable->Value().SetType(type);
    if (classObject) {
        Counted<ScriptObject> instance = classObject->CreateInstance(std::string(name));
        if (instance)
            instance->SetEngine(this);
        variable->Value().SetObject(std::move(instance));
    }
    return variable;
}

void ScriptEngine::SetError(ScriptErrorCode code, std::string_view word, std::int32_t line, ErrorCodeRule rule)
{
    if (!m_error.flag) {
        m_error.flag = true;
        m_error.code = code;
        m_error.word.assign(word);
        m_error.line = line;
        return;
    }
    if (rule == ErrorCodeRule::Replace || (rule == ErrorCodeRule::FillMissing && m_error.code == ErrorNone))
        m_error.code = code;
}

void ScriptEngine::SetErrorLocation(std::int32_t line, std::int32_t secondLine)
{
    m_error.line = line;
    m_error.secondLine = secondLine;
}

bool ScriptEngine::CountExecutedLine()
{
    ++m_executedLines;
    return m_lineBudget == 0 || m_executedLines <= m_lineBudget;
}

EvaluatorSlot* ScriptEngine::AcquireEvaluator(FunctionInstance* instance)
{
    if (m_idleEvaluators.empty()) {
        m_evaluators.push_back(std::make_unique<EvaluatorSlot>(*this));
        m_idleEvaluators.push_back(m_evaluators.back().get());
    }
    EvaluatorSlot* slot = m_idleEvaluators.back();
    m_idleEvaluators.pop_back();
    slot->host.SetInstance(instance);
    return slot;
}

void ScriptEngine::ReleaseEvaluator(EvaluatorSlot* slot)
{
    slot->evaluator.Clear();
    m_idleEvaluators.push_back(slot);
}
