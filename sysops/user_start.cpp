#include "sysops/user_start.h"

#include "sysops/write_trust.h"

#include <windows.h>
#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

namespace {

// Owner of one interface reference.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (m_pointer)
            m_pointer->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    Interface** Out() { return &m_pointer; }
    void** OutVoid() { return reinterpret_cast<void**>(&m_pointer); }
    Interface* operator->() const { return m_pointer; }
    [[nodiscard]] bool IsSet() const { return m_pointer != nullptr; }

private:
    Interface* m_pointer = nullptr;
};

// A text as a BSTR variant; the variant owns it.
class TextVariant {
public:
    explicit TextVariant(const std::string& text)
    {
        VariantInit(&m_value);
        const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
        m_value.vt = VT_BSTR;
        m_value.bstrVal = SysAllocStringLen(nullptr, static_cast<UINT>(length));
        if (m_value.bstrVal && length > 0)
            MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), m_value.bstrVal, length);
    }
    ~TextVariant() { VariantClear(&m_value); }
    TextVariant(const TextVariant&) = delete;
    TextVariant& operator=(const TextVariant&) = delete;
    [[nodiscard]] bool IsSet() const { return m_value.bstrVal != nullptr; }
    [[nodiscard]] const VARIANT& Get() const { return m_value; }

private:
    VARIANT m_value;
};

// The shell object of the desktop's folder view: the desktop window among the shell windows,
// its browser, its view, the view's background object and that object's application.
bool FindDesktopShell(ComRef<IShellDispatch2>& shell)
{
    ComRef<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows, windows.OutVoid())))
        return false;
    VARIANT desktop;
    VariantInit(&desktop);
    desktop.vt = VT_I4;
    desktop.lVal = CSIDL_DESKTOP;
    VARIANT empty;
    VariantInit(&empty);
    long window = 0;
    ComRef<IDispatch> found;
    if (windows->FindWindowSW(&desktop, &empty, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, found.Out()) != S_OK
        || !found.IsSet())
        return false;
    ComRef<IServiceProvider> provider;
    ComRef<IShellBrowser> browser;
    ComRef<IShellView> view;
    ComRef<IDispatch> background;
    ComRef<IShellFolderViewDual> folderView;
    ComRef<IDispatch> application;
    return SUCCEEDED(found->QueryInterface(IID_IServiceProvider, provider.OutVoid()))
        && SUCCEEDED(provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.OutVoid()))
        && SUCCEEDED(browser->QueryActiveShellView(view.Out()))
        && SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutVoid()))
        && SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.OutVoid()))
        && SUCCEEDED(folderView->get_Application(application.Out()))
        && SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.OutVoid()));
}

bool OpenThroughDesktopShell(const std::string& file, const std::string& parameters, const std::string& folder,
                             int show)
{
    ComRef<IShellDispatch2> shell;
    if (!FindDesktopShell(shell))
        return false;
    TextVariant name(file);
    TextVariant arguments(parameters);
    TextVariant directory(folder);
    TextVariant operation("open");
    VARIANT showValue;
    VariantInit(&showValue);
    showValue.vt = VT_I4;
    showValue.lVal = show;
    return name.IsSet() && arguments.IsSet() && directory.IsSet() && operation.IsSet()
        && SUCCEEDED(shell->ShellExecute(name.Get().bstrVal, arguments.Get(), directory.Get(), operation.Get(),
                                         showValue));
}

}

bool OpenForTheUser(const std::string& file, const std::string& parameters, const std::string& folder, int show)
{
    if (RunsElevated() && OpenThroughDesktopShell(file, parameters, folder, show))
        return true;
    // With the uninstaller's rights: an existing file that others can change stays closed.
    if (GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES && !MayRunElevated(file))
        return false;
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", file.c_str(), parameters.c_str(),
                                                   folder.empty() ? nullptr : folder.c_str(), show))
        > 32;
}
