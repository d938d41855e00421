#include "wsh/active_script_site.h"

#include "wsh/wide_text.h"

#include <cstdio>

namespace {

// IActiveScriptSiteUIControl's identifier, which MinGW's uuid library lacks.
constexpr IID kUiControlInterface = {0xaedae97e, 0xd7ee, 0x4796, {0xb9, 0x60, 0x7f, 0x09, 0x2a, 0xe8, 0x44, 0xab}};

inline ActiveScriptSite* impl_from_IActiveScriptSiteUIControl(IActiveScriptSiteUIControl* iface)
{
    return CONTAINING_RECORD(iface, ActiveScriptSite, IActiveScriptSiteUIControl_iface);
}

inline ActiveScriptSite* impl_from_IActiveScriptSite(IActiveScriptSite* iface)
{
    return CONTAINING_RECORD(iface, ActiveScriptSite, IActiveScriptSite_iface);
}

inline ActiveScriptSite* impl_from_IActiveScriptSiteWindow(IActiveScriptSiteWindow* iface)
{
    return CONTAINING_RECORD(iface, ActiveScriptSite, IActiveScriptSiteWindow_iface);
}

// The site answers as itself, as its window and as the keeper of the engine's dialogs; the
// engines ask for nothing else that it has.
HRESULT QueryInterfaceOf(ActiveScriptSite* site, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_IActiveScriptSite)) {
        *ppv = &site->IActiveScriptSite_iface;
    } else if (IsEqualGUID(riid, IID_IActiveScriptSiteWindow)) {
        *ppv = &site->IActiveScriptSiteWindow_iface;
    } else if (IsEqualGUID(riid, kUiControlInterface)) {
        *ppv = &site->IActiveScriptSiteUIControl_iface;
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    InterlockedIncrement(&site->ref);
    return S_OK;
}

// The count never goes below zero, and the site is never freed here: the host owns it.
ULONG ReleaseOf(ActiveScriptSite* site)
{
    LONG ref = site->ref;
    while (ref > 0) {
        LONG previous = InterlockedCompareExchange(&site->ref, ref - 1, ref);
        if (previous == ref)
            return static_cast<ULONG>(ref - 1);
        ref = previous;
    }
    return 0;
}

std::string TakeBstr(BSTR text)
{
    std::string ansi = AnsiFromWide(text);
    SysFreeString(text);
    return ansi;
}

HRESULT STDMETHODCALLTYPE ActiveScriptSite_QueryInterface(IActiveScriptSite* iface, REFIID riid, void** ppv)
{
    return QueryInterfaceOf(impl_from_IActiveScriptSite(iface), riid, ppv);
}

ULONG STDMETHODCALLTYPE ActiveScriptSite_AddRef(IActiveScriptSite* iface)
{
    return static_cast<ULONG>(InterlockedIncrement(&impl_from_IActiveScriptSite(iface)->ref));
}

ULONG STDMETHODCALLTYPE ActiveScriptSite_Release(IActiveScriptSite* iface)
{
    return ReleaseOf(impl_from_IActiveScriptSite(iface));
}

// No value is supplied: the engine uses the user's default locale.
HRESULT STDMETHODCALLTYPE ActiveScriptSite_GetLCID(IActiveScriptSite*, LCID*) { return E_NOTIMPL; }

// Objects only, by name in any case; the host has no type information to give.
HRESULT STDMETHODCALLTYPE ActiveScriptSite_GetItemInfo(IActiveScriptSite* iface, LPCOLESTR name, DWORD mask,
                                                       IUnknown** item, ITypeInfo** typeInfo)
{
    ActiveScriptSite* site = impl_from_IActiveScriptSite(iface);
    if (item)
        *item = nullptr;
    if (typeInfo)
        *typeInfo = nullptr;
    if (mask & SCRIPTINFO_ITYPEINFO)
        return TYPE_E_ELEMENTNOTFOUND;
    if (!(mask & SCRIPTINFO_IUNKNOWN) || !item)
        return E_INVALIDARG;
    IUnknown* object = site->FindNamedItem(AnsiFromWide(name));
    if (!object)
        return TYPE_E_ELEMENTNOTFOUND;
    IUnknown_AddRef(object);
    *item = object;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ActiveScriptSite_GetDocVersionString(IActiveScriptSite*, BSTR* version)
{
    if (version)
        *version = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ActiveScriptSite_OnScriptTerminate(IActiveScriptSite*, const VARIANT*, const EXCEPINFO*)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ActiveScriptSite_OnStateChange(IActiveScriptSite*, SCRIPTSTATE) { return S_OK; }

// One text per error: the place counted from 1, the source line and the description when the
// engine has them.
HRESULT STDMETHODCALLTYPE ActiveScriptSite_OnScriptError(IActiveScriptSite* iface, IActiveScriptError* error)
{
    ActiveScriptSite* site = impl_from_IActiveScriptSite(iface);
    DWORD context = 0;
    ULONG line = 0;
    LONG position = 0;
    if (error)
        IActiveScriptError_GetSourcePosition(error, &context, &line, &position);
    char place[96];
    std::snprintf(place, sizeof place, "Script error in line %ld, position %ld", static_cast<long>(line) + 1,
                  static_cast<long>(position) + 1);
    std::string text = place;
    BSTR sourceLine = nullptr;
    if (error && SUCCEEDED(IActiveScriptError_GetSourceLineText(error, &sourceLine)) && sourceLine)
        text += "\nSource line: " + TakeBstr(sourceLine);
    EXCEPINFO exception = {};
    if (error && SUCCEEDED(IActiveScriptError_GetExceptionInfo(error, &exception))) {
        if (exception.bstrDescription)
            text += "\nDescription: " + AnsiFromWide(exception.bstrDescription);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    site->errorTexts.push_back(text);
    site->scriptError = true;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ActiveScriptSite_OnEnterScript(IActiveScriptSite*) { return S_OK; }

HRESULT STDMETHODCALLTYPE ActiveScriptSite_OnLeaveScript(IActiveScriptSite*) { return S_OK; }

const IActiveScriptSiteVtbl ActiveScriptSiteVtbl = {
    ActiveScriptSite_QueryInterface,
    ActiveScriptSite_AddRef,
    ActiveScriptSite_Release,
    ActiveScriptSite_GetLCID,
    ActiveScriptSite_GetItemInfo,
    ActiveScriptSite_GetDocVersionString,
    ActiveScriptSite_OnScriptTerminate,
    ActiveScriptSite_OnStateChange,
    ActiveScriptSite_OnScriptError,
    ActiveScriptSite_OnEnterScript,
    ActiveScriptSite_OnLeaveScript,
};

HRESULT STDMETHODCALLTYPE ActiveScriptSiteWindow_QueryInterface(IActiveScriptSiteWindow* iface, REFIID riid,
                                                                void** ppv)
{
    return QueryInterfaceOf(impl_from_IActiveScriptSiteWindow(iface), riid, ppv);
}

ULONG STDMETHODCALLTYPE ActiveScriptSiteWindow_AddRef(IActiveScriptSiteWindow* iface)
{
    return static_cast<ULONG>(InterlockedIncrement(&impl_from_IActiveScriptSiteWindow(iface)->ref));
}

ULONG STDMETHODCALLTYPE ActiveScriptSiteWindow_Release(IActiveScriptSiteWindow* iface)
{
    return ReleaseOf(impl_from_IActiveScriptSiteWindow(iface));
}

// The engine's dialogs (MsgBox, InputBox) sit over the window the user is working in: the
// application's active window; without one (the uninstaller has no main window) they stand alone.
HRESULT STDMETHODCALLTYPE ActiveScriptSiteWindow_GetWindow(IActiveScriptSiteWindow* iface, HWND* window)
{
    ActiveScriptSite* site = impl_from_IActiveScriptSiteWindow(iface);
    if (!window)
        return E_POINTER;
    HWND active = GetActiveWindow();
    site->window = active;
    *window = site->window;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ActiveScriptSiteWindow_EnableModeless(IActiveScriptSiteWindow*, BOOL) { return S_OK; }

const IActiveScriptSiteWindowVtbl ActiveScriptSiteWindowVtbl = {
    ActiveScriptSiteWindow_QueryInterface,
    ActiveScriptSiteWindow_AddRef,
    ActiveScriptSiteWindow_Release,
    ActiveScriptSiteWindow_GetWindow,
    ActiveScriptSiteWindow_EnableModeless,
};

HRESULT STDMETHODCALLTYPE ActiveScriptSiteUIControl_QueryInterface(IActiveScriptSiteUIControl* iface, REFIID riid,
                                                                   void** ppv)
{
    return QueryInterfaceOf(impl_from_IActiveScriptSiteUIControl(iface), riid, ppv);
}

ULONG STDMETHODCALLTYPE ActiveScriptSiteUIControl_AddRef(IActiveScriptSiteUIControl* iface)
{
    return static_cast<ULONG>(InterlockedIncrement(&impl_from_IActiveScriptSiteUIControl(iface)->ref));
}

ULONG STDMETHODCALLTYPE ActiveScriptSiteUIControl_Release(IActiveScriptSiteUIControl* iface)
{
    return ReleaseOf(impl_from_IActiveScriptSiteUIControl(iface));
}

// Without dialogs the engine shows nothing and takes the dialog's default result.
HRESULT STDMETHODCALLTYPE ActiveScriptSiteUIControl_GetUIBehavior(IActiveScriptSiteUIControl* iface, SCRIPTUICITEM,
                                                                  SCRIPTUICHANDLING* handling)
{
    if (!handling)
        return E_POINTER;
    *handling = impl_from_IActiveScriptSiteUIControl(iface)->dialogsAllowed ? SCRIPTUICHANDLING_ALLOW : SCRIPTUICHANDLING_NOUIDEFAULT;
    return S_OK;
}

const IActiveScriptSiteUIControlVtbl ActiveScriptSiteUIControlVtbl = {
    ActiveScriptSiteUIControl_QueryInterface,
    ActiveScriptSiteUIControl_AddRef,
    ActiveScriptSiteUIControl_Release,
    ActiveScriptSiteUIControl_GetUIBehavior,
};

bool SameItemName(const std::string& left, const std::string& right)
{
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, left.c_str(), -1, right.c_str(), -1) == CSTR_EQUAL;
}

}

ActiveScriptSite::ActiveScriptSite() : ref(1), scriptError(false), dialogsAllowed(true), window(nullptr)
{
    IActiveScriptSite_iface.lpVtbl = &ActiveScriptSiteVtbl;
    IActiveScriptSiteWindow_iface.lpVtbl = &ActiveScriptSiteWindowVtbl;
    IActiveScriptSiteUIControl_iface.lpVtbl = &ActiveScriptSiteUIControlVtbl;
}

ActiveScriptSite::~ActiveScriptSite() { ClearNamedItems(); }

void ActiveScriptSite::AddNamedItem(const std::string& name, IUnknown* object)
{
    IUnknown_AddRef(object);
    namedItems.push_back({name, object});
}

void ActiveScriptSite::DropLastNamedItem()
{
    if (namedItems.empty())
        return;
    IUnknown_Release(namedItems.back().object);
    namedItems.pop_back();
}

void ActiveScriptSite::ClearNamedItems()
{
    for (NamedItem& item : namedItems)
        IUnknown_Release(item.object);
    namedItems.clear();
}

IUnknown* ActiveScriptSite::FindNamedItem(const std::string& name) const
{
    for (const NamedItem& item : namedItems) {
        if (SameItemName(item.name, name))
            return item.object;
    }
    return nullptr;
}
