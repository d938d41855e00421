#include "library/portable_system_object.h"

#include "library/voe_string.h"
#include "script/argument_list.h"

bool SystemObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller)
{
    for (std::size_t index = 0; index < m_rowCount; ++index) {
        const Row& row = m_rows[index];
        if (MethodNameMatches(row.name, row.match, name)) {
            row.handler(*this, arguments, caller);
            return true;
        }
    }
    return false;
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

const SystemObject::Row PortableSystemMethods[] = {
    {"EnVOEStr", NameMatch::ExactCase, ScrambleTextMethod},
    {"DeVOEStr", NameMatch::ExactCase, UnscrambleTextMethod},
};

}

Counted<ScriptObject> MakePortableSystemObject() { return MakeCounted<SystemObject>(PortableSystemMethods); }

namespace {

struct LibraryMethodName {
    const char* name;
    NameMatch match;
};

// The names of the Windows function library (system_object.cpp), with its case rules.
constexpr LibraryMethodName kLibraryMethodNames[] = {
    {"NewGUID", NameMatch::AnyCase}, {"GetCurrentDirectory", NameMatch::AnyCase},
    {"SetCurrentDirectory", NameMatch::AnyCase}, {"GetAppInstallLocation", NameMatch::AnyCase},
    {"GetCurOSName", NameMatch::AnyCase}, {"GetCurOSLanguageName", NameMatch::AnyCase},
    {"GetCurLanguageName", NameMatch::AnyCase}, {"GetAppVer", NameMatch::AnyCase},
    {"LaunchAppAndWait", NameMatch::AnyCase}, {"ShellExec", NameMatch::AnyCase},
    {"ExecConsoleCmd", NameMatch::AnyCase}, {"EnVOEStr", NameMatch::ExactCase},
    {"DeVOEStr", NameMatch::ExactCase}, {"ExistFile", NameMatch::ExactCase},
    {"ExistDir", NameMatch::ExactCase}, {"CreateDir", NameMatch::ExactCase},
    {"CopyFile", NameMatch::ExactCase}, {"DeleteFile", NameMatch::ExactCase},
    {"DeleteDirData", NameMatch::AnyCase}, {"DeleteDir", NameMatch::ExactCase},
    {"DeleteDirectory", NameMatch::ExactCase}, {"ReadTextFile", NameMatch::ExactCase},
    {"WriteTextFile", NameMatch::ExactCase}, {"GetIniFileValue", NameMatch::ExactCase},
    {"SetIniFileValue", NameMatch::ExactCase},
};

}

bool IsSystemLibraryMethod(std::string_view called)
{
    for (const LibraryMethodName& row : kLibraryMethodNames) {
        if (MethodNameMatches(row.name, row.match, called))
            return true;
    }
    return false;
}
