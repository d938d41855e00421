#include "sysops/message_box.h"

#include <windows.h>

#include <utility>

namespace {

MessageBoxHandler g_messageBox;

}

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    g_messageBox = std::move(handler);
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style, BoxOwner owner)
{
    if (g_messageBox)
        return g_messageBox(text, caption, style);
    HWND window = owner == BoxOwner::ActiveWindow ? GetActiveWindow() : nullptr;
    return MessageBoxA(window, text.c_str(), caption.c_str(), style);
}
