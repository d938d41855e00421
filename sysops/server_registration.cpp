#include "sysops/server_registration.h"

#include "base/path_text.h"
#include "base/text_compare.h"
#include "sysops/command_line.h"
#include "sysops/procedure_address.h"
#include "sysops/system_library.h"

#include <windows.h>

#include <vector>

namespace {

enum class ServerKind { None, InProcess, Executable };

struct ExtensionKind {
    const char* extension;
    ServerKind kind;
};

const ExtensionKind kExtensionKinds[] = {
    {"DLL", ServerKind::InProcess},
    {"OCX", ServerKind::InProcess},
    {"EXE", ServerKind::Executable},
};

constexpr unsigned kExeTimeoutMs = 2000;
constexpr unsigned kServiceTimeoutMs = 3000;

// Makes the file's folder the current directory for the registration, so that a server
// finds what lies beside it, and puts the caller's back afterwards.
class CurrentFolderScope {
public:
    explicit CurrentFolderScope(const std::string& path)
    {
        char remembered[1024];
        const DWORD length = GetCurrentDirectoryA(sizeof remembered, remembered);
        m_remembered = length > 0 && length < sizeof remembered;
        if (m_remembered)
            m_previous.assign(remembered, length);
        SetCurrentDirectoryA(GetFolderPart(path).c_str());
    }
    ~CurrentFolderScope()
    {
        if (m_remembered)
            SetCurrentDirectoryA(m_previous.c_str());
    }
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

private:
    std::string m_previous;
    bool m_remembered = false;
};

// The version functions, from the system folder's version.dll on first use.
struct VersionFunctions {
    using SizeFunction = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFunction = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFunction = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);

    VersionFunctions()
    {
        HMODULE library = LoadSystemLibrary("version.dll");
        size = LibraryFunction<SizeFunction>(library, "GetFileVersionInfoSizeA");
        info = LibraryFunction<InfoFunction>(library, "GetFileVersionInfoA");
        query = LibraryFunction<QueryFunction>(library, "VerQueryValueA");
    }
    [[nodiscard]] bool Available() const { return size && info && query; }

    SizeFunction size = nullptr;
    InfoFunction info = nullptr;
    QueryFunction query = nullptr;
};

// The file type of the version resource's fixed part; None without version information.
ServerKind KindFromVersion(const std::string& path)
{
    static const VersionFunctions version;
    if (!version.Available())
        return ServerKind::None;
    DWORD ignored = 0;
    const DWORD size = version.size(path.c_str(), &ignored);
    if (size == 0)
        return ServerKind::None;
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!version.info(path.c_str(), 0, size, data.data())
        || !version.query(data.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed
        || fixedSize < sizeof(VS_FIXEDFILEINFO))
        return ServerKind::None;
    if (fixed->dwFileType == VFT_APP)
        return ServerKind::Executable;
    if (fixed->dwFileType == VFT_DLL)
        return ServerKind::InProcess;
    return ServerKind::None;
}

// The text after the last "." of the whole path decides; a path without any "." is judged
// by its version resource.
ServerKind ClassifyServer(const std::string& path)
{
    const auto dot = path.rfind('.');
    if (dot == std::string::npos)
        return KindFromVersion(path);
    const std::string extension = path.substr(dot + 1);
    for (const ExtensionKind& entry : kExtensionKinds) {
        if (EqualsNoCase(extension, entry.extension))
            return entry.kind;
    }
    return ServerKind::None;
}

bool RunWithSwitch(const std::string& path, const char* switchText, unsigned timeoutMs)
{
    std::string commandLine = QuotedProgramPath(path) + switchText;
    PROCESS_INFORMATION process = {};
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    bool succeeded = true;
    if (timeoutMs > 0) {
        if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
            DWORD exitCode = 0;
            succeeded = GetExitCodeProcess(process.hProcess, &exitCode) && static_cast<LONG>(exitCode) >= 0;
        } else {
            TerminateProcess(process.hProcess, 0);
            succeeded = false;
        }
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return succeeded;
}

// Loading by the full path, with the library's own folder and the system folder searched for
// what it needs; a
// name without extension gets a final "." so that the loader does not add ".dll".
HMODULE LoadServerLibrary(const std::string& path)
{
    const std::string name = GetFileNamePart(path);
    const std::string loadable = name.find('.') == std::string::npos ? path + "." : path;
    return LoadLibraryFromItsFolder(loadable);
}

}

bool CallDllRegistration(const std::string& path, ServerAction action)
{
    using RegistrationFunction = HRESULT(STDAPICALLTYPE*)();
    const HRESULT initialised = CoInitialize(nullptr);
    bool succeeded = false;
    if (HMODULE library = LoadServerLibrary(path)) {
        const char* exportName = action == ServerAction::Register ? "DllRegisterServer" : "DllUnregisterServer";
        auto function = ProcedureAddress<RegistrationFunction>(library, exportName);
        succeeded = function && SUCCEEDED(function());
        FreeLibrary(library);
    }
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return succeeded;
}

bool RunExeRegistration(const std::string& path, ServerAction action, unsigned timeoutMs)
{
    return RunWithSwitch(path, action == ServerAction::Register ? " /REGSERVER" : " /UNREGSERVER", timeoutMs);
}

bool RunServiceRegistration(const std::string& path, ServerAction action, unsigned timeoutMs)
{
    return RunWithSwitch(path, action == ServerAction::Register ? " -Service" : " -unregserver", timeoutMs);
}

bool RegisterServerFile(const std::string& path, ServerAction action)
{
    CurrentFolderScope folder(path);
    switch (ClassifyServer(path)) {
    case ServerKind::InProcess:
        return CallDllRegistration(path, action);
    case ServerKind::Executable:
        return RunExeRegistration(path, action, kExeTimeoutMs);
    case ServerKind::None:
        break;
    }
    return false;
}

bool RegisterServiceExe(const std::string& path, ServerAction action)
{
    CurrentFolderScope folder(path);
    return RunServiceRegistration(path, action, kServiceTimeoutMs);
}

bool UnregisterServerOfFile(const std::string& path, unsigned registrationType)
{
    if (registrationType & 1)
        return RegisterServerFile(path, ServerAction::Unregister);
    if (registrationType & 2)
        return RegisterServiceExe(path, ServerAction::Unregister);
    return false;
}
