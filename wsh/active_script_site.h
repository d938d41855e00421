#pragma once

// Only the host's own files include this header: they see the COM interfaces as C structs
// with their vtables (CINTERFACE), as the engines themselves are written.
#include <windows.h>
#include <ole2.h>
#include <activscp.h>

#include <string>
#include <vector>

// An object the host gave the engine under a name; the site holds one reference to it.
struct NamedItem {
    std::string name;
    IUnknown* object;
};

// The host's side of one engine: the engine asks it for named items and the window, and tells
// it of script errors, which it collects as texts. The host owns the site; the engine's
// references only count, and the last release does not destroy it.
struct ActiveScriptSite {
    ActiveScriptSite();
    ~ActiveScriptSite();
    ActiveScriptSite(const ActiveScriptSite&) = delete;
    ActiveScriptSite& operator=(const ActiveScriptSite&) = delete;

    IActiveScriptSite IActiveScriptSite_iface;
    IActiveScriptSiteWindow IActiveScriptSiteWindow_iface;
    IActiveScriptSiteUIControl IActiveScriptSiteUIControl_iface;
    LONG ref;

    std::vector<NamedItem> namedItems;
    std::vector<std::string> errorTexts;
    bool scriptError;
    bool dialogsAllowed; // whether the engine may show MsgBox and InputBox, given by the host
    HWND window; // the window last handed to the engine

    // Takes a reference to object; the name is matched without regard to case.
    void AddNamedItem(const std::string& name, IUnknown* object);
    // Undoes the last AddNamedItem, when the engine refused the item.
    void DropLastNamedItem();
    void ClearNamedItems();
    [[nodiscard]] IUnknown* FindNamedItem(const std::string& name) const;
};
