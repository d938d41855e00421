#include "sysops/message_box.h"

#include <windows.h>

namespace {

int SystemMessageBox(const std::string& text, const std::string& caption, unsigned style)
{
    return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), style);
}

MessageBoxHandler g_messageBox = SystemMessageBox;

}

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    g_messageBox = handler ? handler : SystemMessageBox;
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style)
{
    return g_messageBox(text, caption, style);
}
