#include "app/voscript/host_catalogue.h"

#include "app/flows/script_constants.h"
#include "app/flows/uninstall_object.h"
#include "library/portable_system_object.h"
#include "script/builtin_commands.h"
#include "script/objects/scalar_objects.h"
#include "script/objects/system_method_names.h"
#include "script/objects/value_set.h"
#include "script/script_text.h"

namespace {

std::vector<MethodName> Listed(MethodNames names) { return std::vector<MethodName>(names.begin(), names.end()); }

constexpr const char* kWindows = "the Windows runner, voscript.exe, or the uninstaller";

std::vector<HostClass> MakeHostClasses()
{
    return {
        {"Uninstall", true, "", UninstallMethodNames()},
        {"System", true, "", Listed(SystemMethodNames())},
        {"Service", true, kWindows, Listed(ServiceMethodNames())},
        {"RegKey", true, kWindows, Listed(RegKeyMethodNames())},
        {"string", false, "", StringMethodNames()},
        {"int", false, "", NumberMethodNames()},
        {"double", false, "", NumberMethodNames()},
        {"bool", false, "", NumberMethodNames()},
        {"CValueSet", false, "", ValueSetMethodNames()},
        {"CWndParam", false, "", WndParamMethodNames()},
        {"CRegKey", false, kWindows, Listed(RegKeyMethodNames())},
        {"CDllModule", false, kWindows, Listed(DllModuleMethodNames())},
        {"CWSModule", false, kWindows, Listed(WsModuleMethodNames())},
    };
}

const HostClass* Find(const std::string& name, bool isObject)
{
    for (const HostClass& holder : HostClasses()) {
        if (holder.isObject == isObject && SameName(holder.name, name))
            return &holder;
    }
    return nullptr;
}

const char* CaseRule(NameMatch match) { return match == NameMatch::ExactCase ? "exact case" : "any case"; }

void ListMethod(const std::string& prefix, const MethodName& method, std::string& output)
{
    output += "  " + prefix + method.name + "(" + method.arguments + ")  " + CaseRule(method.match) + "\n";
}

}

const std::vector<HostClass>& HostClasses()
{
    static const std::vector<HostClass> classes = MakeHostClasses();
    return classes;
}

const HostClass* FindHostObject(const std::string& name) { return Find(name, true); }

const HostClass* FindHostClass(const std::string& name) { return Find(name, false); }

const MethodName* FindHostMethod(const HostClass& holder, const std::string& name, bool& exactOnly)
{
    exactOnly = false;
    for (const MethodName& method : holder.methods) {
        if (MethodNameMatches(method.name, method.match, name))
            return &method;
    }
    for (const MethodName& method : holder.methods) {
        if (SameName(method.name, name)) {
            exactOnly = true;
            return &method;
        }
    }
    return nullptr;
}

void ListHost(std::string& output)
{
    for (const HostClass& holder : HostClasses()) {
        output += std::string(holder.isObject ? "object " : "class ") + holder.name;
        if (*holder.needs)
            output += std::string("  (needs ") + holder.needs + ")";
        output += "\n";
        const std::string prefix = holder.isObject ? std::string(holder.name) + "." : std::string("VARIABLE.");
        for (const MethodName& method : holder.methods)
            ListMethod(prefix, method, output);
    }
    output += "pages of Uninstall.DoDialog\n";
    for (const MethodName& page : DoDialogPageNames())
        output += std::string("  \"") + page.name + "\"  " + CaseRule(page.match) + "\n";
    output += "commands\n";
    for (const MethodName& command : BuiltInCommandNames())
        ListMethod("", command, output);
    output += "functions of expressions\n  int(number)  any case\n";
    output += "constants (read-only int)\n";
    for (const ScriptConstant& constant : UninstallConstants())
        output += std::string("  ") + constant.name + " = " + FormatInt(constant.value) + "\n";
    output += "  true = 1 (bool)\n  false = 0 (bool)\n";
}
