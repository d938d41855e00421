#include "wsh/active_script_host.h"

#include "wsh/active_script_site.h"
#include "wsh/dispatch_driver.h"
#include "wsh/wide_text.h"

#include <cstdio>
#include <cstring>

// The parser interface has one form per pointer size; its macros carry the size in their names.
#ifdef _WIN64
#define IActiveScriptParse_Release IActiveScriptParse64_Release
#define IActiveScriptParse_InitNew IActiveScriptParse64_InitNew
#define IActiveScriptParse_ParseScriptText IActiveScriptParse64_ParseScriptText
#else
#define IActiveScriptParse_Release IActiveScriptParse32_Release
#define IActiveScriptParse_InitNew IActiveScriptParse32_InitNew
#define IActiveScriptParse_ParseScriptText IActiveScriptParse32_ParseScriptText
#endif

namespace {

// The import library lacks the parser's interface id (this is its 64-bit form).
const IID kParserInterface = {0xc7ef7658, 0xe1ee, 0x480e, {0x97, 0xea, 0xd5, 0x2c, 0xb4, 0xd7, 0x6d, 0x17}};

// The texts recorded for the steps that can fail.
constexpr const char* kNotRegistered = "Scripting Engine (VBScript.dll) not registered";
constexpr const char* kNotStarted = "Scripting Engine (VBScript.dll) not started";
constexpr const char* kNoParser = "Scripting Engine Parser not available";
constexpr const char* kNoSite = "Could not host scripting site";
constexpr const char* kNoInitNew = "Could not initialize scripting parser";
constexpr const char* kParseFailed = "Error parsing script text";
constexpr const char* kRunFailed = "Error running the script";
constexpr const char* kNoDispatch = "Error getting script dispatch";
constexpr const char* kNotExposed = "Could not add Exposed-Script-Object [%s]";

// Named items are visible to the script and may fire events into it.
constexpr DWORD kExposedItemFlags = SCRIPTITEM_ISVISIBLE | SCRIPTITEM_ISSOURCE;

const wchar_t* ProgramIdOf(int language)
{
    return language == JScriptLanguage ? L"JavaScript" : L"VBScript";
}

void FreeExceptionInfo(EXCEPINFO& exception)
{
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    exception = {};
}

}

ActiveScriptHost::ActiveScriptHost(ScriptDialogs dialogs)
    : m_driver(std::make_unique<DispatchDriver>()), m_site(std::make_unique<ActiveScriptSite>())
{
    m_site->dialogsAllowed = dialogs == ScriptDialogs::Allowed;
    // A thread that already chose the multithreaded apartment keeps it; the engines work there too.
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    m_uninitialiseCom = SUCCEEDED(hr);
}

ActiveScriptHost::~ActiveScriptHost()
{
    Release();
    m_site->ClearNamedItems();
    m_site.reset();
    m_driver.reset();
    if (m_uninitialiseCom)
        CoUninitialize();
}

bool ActiveScriptHost::CheckResult(HRESULT result, const std::string& text)
{
    if (SUCCEEDED(result))
        return true;
    char code[32];
    std::snprintf(code, sizeof code, "COM Error: 0x%08lx\n", static_cast<unsigned long>(result));
    m_site->errorTexts.push_back(code + text);
    return false;
}

bool ActiveScriptHost::HasScriptError() const { return m_site->scriptError; }

const std::vector<std::string>& ActiveScriptHost::ErrorTexts() const { return m_site->errorTexts; }

void ActiveScriptHost::ClearErrors()
{
    m_site->scriptError = false;
    m_site->errorTexts.clear();
}

void ActiveScriptHost::Release()
{
    m_driver->Release();
    if (m_parse)
        IActiveScriptParse_Release(m_parse);
    m_parse = nullptr;
    if (m_script) {
        // Closing makes the engine let go of the site and the named items now: the site goes
        // with the host, whatever references the engine still keeps.
        IActiveScript_Close(m_script);
        IActiveScript_Release(m_script);
    }
    m_script = nullptr;
    m_initialised = false;
}

bool ActiveScriptHost::InitEngine(int language)
{
    if (language == DefaultLanguage)
        language = VBScriptLanguage;
    ClearErrors();
    Release();

    CLSID engineClass;
    if (!CheckResult(CLSIDFromProgID(ProgramIdOf(language), &engineClass), kNotRegistered))
        return false;
    void* script = nullptr;
    if (!CheckResult(CoCreateInstance(engineClass, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript, &script),
                     kNotStarted))
        return false;
    m_script = static_cast<IActiveScript*>(script);
    void* parse = nullptr;
    if (!CheckResult(IActiveScript_QueryInterface(m_script, kParserInterface, &parse), kNoParser)) {
        Release();
        return false;
    }
    m_parse = static_cast<IActiveScriptParse*>(parse);
    if (!CheckResult(IActiveScript_SetScriptSite(m_script, &m_site->IActiveScriptSite_iface), kNoSite)
        || !CheckResult(IActiveScriptParse_InitNew(m_parse), kNoInitNew)) {
        Release();
        return false;
    }
    m_driver->Release();
    m_site->ClearNamedItems();
    m_initialised = true;
    return true;
}

bool ActiveScriptHost::AddScript(const std::string& text)
{
    if (!m_initialised && !InitEngine(VBScriptLanguage))
        return false;
    std::wstring code = WideFromAnsi(text);
    EXCEPINFO exception = {};
    HRESULT hr = IActiveScriptParse_ParseScriptText(m_parse, code.c_str(), nullptr, nullptr, nullptr, 0, 0, 0,
                                                    nullptr, &exception);
    FreeExceptionInfo(exception);
    if (!CheckResult(hr, kParseFailed)
        || !CheckResult(IActiveScript_SetScriptState(m_script, SCRIPTSTATE_CONNECTED), kRunFailed)) {
        Release();
        return false;
    }
    IDispatch* dispatch = nullptr;
    if (!CheckResult(IActiveScript_GetScriptDispatch(m_script, nullptr, &dispatch), kNoDispatch))
        return false;
    m_driver->Attach(dispatch);
    return true;
}

bool ActiveScriptHost::CallScriptFunction(const std::string& name, const std::vector<VbsArgument>& arguments,
                                          std::string& result)
{
    result.clear();
    // The texts of a script that failed to load stay, since there is no script to call.
    if (!m_driver->IsBound())
        return true;
    // The errors the caller reads are those of this call, even of a call of a name the script
    // does not define: it gives the empty text and no error.
    ClearErrors();
    DISPID id = 0;
    if (!m_driver->FindName(name, id))
        return true;
    std::string description;
    HRESULT hr = m_driver->InvokeMethod(id, arguments, result, description);
    if (SUCCEEDED(hr))
        return true;
    // An engine that reported the error to the site has said it all; otherwise the failure
    // and its description are the text.
    if (!m_site->scriptError)
        CheckResult(hr, description.empty() ? name : description);
    return false;
}

bool ActiveScriptHost::ExposeObject(const std::string& name, IUnknown* object)
{
    if (!object || (!m_initialised && !InitEngine(VBScriptLanguage)))
        return false;
    // The engine may ask for the item while it is being added, so it is known first.
    m_site->AddNamedItem(name, object);
    std::wstring wideName = WideFromAnsi(name);
    HRESULT hr = IActiveScript_AddNamedItem(m_script, wideName.c_str(), kExposedItemFlags);
    if (SUCCEEDED(hr))
        return true;
    m_site->DropLastNamedItem();
    std::vector<char> message(std::strlen(kNotExposed) + name.size() + 1);
    std::snprintf(message.data(), message.size(), kNotExposed, name.c_str());
    return CheckResult(hr, message.data());
}
