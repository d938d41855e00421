#include "library/portable_system_object.h"

#include "library/voe_string.h"
#include "script/argument_list.h"

namespace {

// Searched from the top; the case of most names is free, but scripts rely on the file and
// folder methods being matched exactly.
constexpr MethodName kSystemMethods[] = {
    {"NewGUID", NameMatch::AnyCase, ""},
    {"GetCurrentDirectory", NameMatch::AnyCase, ""},
    {"SetCurrentDirectory", NameMatch::AnyCase, "path"},
    {"GetAppInstallLocation", NameMatch::AnyCase, "uninstall entry key"},
    {"GetCurOSName", NameMatch::AnyCase, ""},
    {"GetCurOSLanguageName", NameMatch::AnyCase, ""},
    {"GetCurLanguageName", NameMatch::AnyCase, ""},
    {"GetAppVer", NameMatch::AnyCase, "component name"},
    {"LaunchAppAndWait", NameMatch::AnyCase, "program, parameters"},
    {"ShellExec", NameMatch::AnyCase, "file, parameters, folder"},
    {"ExecConsoleCmd", NameMatch::AnyCase, "command, mode"},
    {"EnVOEStr", NameMatch::ExactCase, "text, key"},
    {"DeVOEStr", NameMatch::ExactCase, "text, key"},
    {"ExistFile", NameMatch::ExactCase, "path"},
    {"ExistDir", NameMatch::ExactCase, "path"},
    {"CreateDir", NameMatch::ExactCase, "path"},
    {"CopyFile", NameMatch::ExactCase, "source, target"},
    {"DeleteFile", NameMatch::ExactCase, "path"},
    {"DeleteDirData", NameMatch::AnyCase, "folder"},
    {"DeleteDir", NameMatch::ExactCase, "folder"},
    {"DeleteDirectory", NameMatch::ExactCase, "folder"},
    {"ReadTextFile", NameMatch::ExactCase, "path"},
    {"WriteTextFile", NameMatch::ExactCase, "path, text, [append]"},
    {"GetIniFileValue", NameMatch::ExactCase, "file, section, key, default"},
    {"SetIniFileValue", NameMatch::ExactCase, "file, section, key, value"},
};

}

MethodNames SystemMethodNames() { return MethodNames::Of(kSystemMethods); }

bool SystemObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller)
{
    return DispatchNamedMethod(SystemMethodNames(), m_handlers, m_handlerCount, *this, name, arguments, caller);
}

void ScrambleTextMethod(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    arguments.SetResult(EncodeVoeString(arguments.ArgText(1, true), arguments.ArgText(2, true)), TypeString);
}

void UnscrambleTextMethod(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    arguments.SetResult(DecodeVoeString(arguments.ArgText(1, true), arguments.ArgText(2, true)), TypeString);
}

namespace {

const SystemObject::Handler PortableSystemMethods[] = {
    {"EnVOEStr", ScrambleTextMethod},
    {"DeVOEStr", UnscrambleTextMethod},
};

}

Counted<ScriptObject> MakePortableSystemObject() { return MakeCounted<SystemObject>(PortableSystemMethods); }

bool IsSystemLibraryMethod(std::string_view called)
{
    // The one table that the Windows library dispatches from, too.
    for (const MethodName& row : SystemMethodNames()) {
        if (MethodNameMatches(row.name, row.match, called))
            return true;
    }
    return false;
}
