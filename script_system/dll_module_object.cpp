// "CDllModule": loads a library and calls the procedures a script declared for it.
#include "script_system/system_classes.h"

#include "script/argument_list.h"
#include "script/objects/method_table.h"
#include "script/objects/proc_definition.h"
#include "script/objects/system_method_names.h"
#include "script/script_text.h"
#include "script_system/native_call.h"
#include "script_system/script_paths.h"
#include "sysops/system_library.h"
#include "sysops/write_trust.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

// The most writable texts one call may hand over.
constexpr std::size_t kMostTextArguments = 10;

class DllModuleObject final : public ScriptObject {
public:
    DllModuleObject() : ScriptObject("CDllModule") {}

    [[nodiscard]] Counted<ScriptObject> CreateInstance(const std::string& instanceName) override;
    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override;

    void Load(const std::string& path);
    void Define(const std::string& text);
    [[nodiscard]] bool Call(ArgumentList& arguments);

private:
    ~DllModuleObject() override;

    [[nodiscard]] const ProcDefinition* FindDefinition(const std::string& name) const;

    HMODULE m_module = nullptr;
    std::vector<ProcDefinition> m_definitions;
    bool m_failed = false; // the method just run reports failure
};

// One call's arguments: the pointer-sized slots and the writable texts they point into.
struct CallArguments {
    std::vector<std::uintptr_t> slots;
    std::vector<std::vector<char>> texts;
    std::vector<std::size_t> outTexts;            // indexes into texts of the "out" parameters
    std::vector<std::size_t> textArgumentNumbers; // the argument each of them goes back to
};

std::uintptr_t NumberSlot(std::int32_t number)
{
    return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(number));
}

// Converts each argument by the type word of the parameter in its place; an argument of an
// unknown type, or beyond the parameters, passes nothing.
bool ConvertArguments(const ProcDefinition& definition, const ArgumentList& arguments, CallArguments& call)
{
    call.texts.reserve(kMostTextArguments); // the slots point into the texts: they never move
    for (std::size_t number = 2; number <= arguments.Count(); ++number) {
        std::size_t position = number - 2;
        if (position >= definition.parameters.size())
            break;
        const ProcDefinition::Parameter& parameter = definition.parameters[position];
        const std::string text = arguments.ArgText(number, true);
        if (SameName(parameter.type, "int") || SameName(parameter.type, "long")) {
            call.slots.push_back(NumberSlot(ReadDecimalInt(text)));
        } else if (SameName(parameter.type, "mstring")) {
            if (call.texts.size() == kMostTextArguments)
                return false;
            // Room for the text, or for as much as the declaration promises the procedure.
            std::size_t room = std::max<std::size_t>(text.size(), static_cast<std::size_t>(std::max(parameter.number, 0)));
            std::vector<char> buffer(room + 1, '\0');
            std::copy(text.begin(), text.end(), buffer.begin());
            call.texts.push_back(std::move(buffer));
            call.slots.push_back(reinterpret_cast<std::uintptr_t>(call.texts.back().data()));
            if (parameter.out) {
                call.outTexts.push_back(call.texts.size() - 1);
                call.textArgumentNumbers.push_back(number);
            }
        }
    }
    return call.slots.size() <= kMostNativeArguments;
}

void LoadLibraryMethod(DllModuleObject& module, ArgumentList& arguments, FunctionInstance*)
{
    module.Load(ScriptRelativePath(module, arguments.ArgText(1, true)));
    arguments.SetResultInt(1, TypeInt);
}

void AddProcDefineMethod(DllModuleObject& module, ArgumentList& arguments, FunctionInstance*)
{
    module.Define(arguments.ArgText(1, true));
    arguments.SetResultInt(1, TypeInt);
}

void CallProcMethod(DllModuleObject& module, ArgumentList& arguments, FunctionInstance*)
{
    if (module.Call(arguments))
        arguments.SetResult("", TypeString);
}

const MethodHandler<DllModuleObject> kDllModuleMethods[] = {
    {"LoadLibrary", LoadLibraryMethod},
    {"AddProcDefine", AddProcDefineMethod},
    {"CallProc", CallProcMethod},
};

DllModuleObject::~DllModuleObject()
{
    if (m_module)
        FreeLibrary(m_module);
}

Counted<ScriptObject> DllModuleObject::CreateInstance(const std::string& instanceName)
{
    auto instance = MakeCounted<DllModuleObject>();
    instance->SetClassName(ClassName());
    instance->SetInstanceName(instanceName);
    return instance;
}

bool DllModuleObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller)
{
    m_failed = false;
    return DispatchNamedMethod(DllModuleMethodNames(), kDllModuleMethods, *this, name, arguments, caller) && !m_failed;
}

// The library's own folder and the system folder are searched for the libraries it needs,
// for this load only. A library that others than the administrators can change is not loaded
// into the elevated uninstaller. A library that does not load leaves none loaded.
void DllModuleObject::Load(const std::string& path)
{
    if (m_module)
        FreeLibrary(m_module);
    m_module = MayRunElevated(path) ? LoadLibraryFromItsFolder(path) : nullptr;
}

// A procedure declared again replaces its earlier declaration.
void DllModuleObject::Define(const std::string& text)
{
    ProcDefinition definition;
    if (!ParseProcDefinition(text, definition))
        return;
    m_definitions.erase(std::remove_if(m_definitions.begin(), m_definitions.end(),
                                       [&](const ProcDefinition& earlier) { return SameName(earlier.name, definition.name); }),
                        m_definitions.end());
    m_definitions.push_back(std::move(definition));
}

const ProcDefinition* DllModuleObject::FindDefinition(const std::string& name) const
{
    for (const ProcDefinition& definition : m_definitions) {
        if (SameName(definition.name, name))
            return &definition;
    }
    return nullptr;
}

// Only declared procedures are called: the declaration says how to pass each argument.
bool DllModuleObject::Call(ArgumentList& arguments)
{
    m_failed = true;
    const std::string name = arguments.ArgText(1, true);
    const ProcDefinition* definition = FindDefinition(name);
    if (!definition || !m_module)
        return false;
    FARPROC address = GetProcAddress(m_module, name.c_str());
    CallArguments call;
    if (!address || !ConvertArguments(*definition, arguments, call))
        return false;
    if (!CallWithPointerArguments(reinterpret_cast<void (*)()>(reinterpret_cast<void*>(address)), call.slots))
        return false;
    // A text the procedure wrote into goes back to the script's variable.
    for (std::size_t index = 0; index < call.outTexts.size(); ++index)
        arguments.SetArg(call.textArgumentNumbers[index], call.texts[call.outTexts[index]].data());
    m_failed = false;
    return true;
}

}

Counted<ScriptObject> MakeDllModuleClass() { return MakeCounted<DllModuleObject>(); }
