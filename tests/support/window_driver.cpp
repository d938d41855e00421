#include "tests/support/window_driver.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr DWORD kPollMs = 20;

std::string ClassNameOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct WindowQuery {
    std::string title;
    std::string className;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    auto* query = reinterpret_cast<WindowQuery*>(parameter);
    if (!IsWindowVisible(window))
        return TRUE;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (query->processId != 0 && owner != query->processId)
        return TRUE;
    if (!query->className.empty() && ClassNameOf(window) != query->className)
        return TRUE;
    if (WindowText(window) != query->title)
        return TRUE;
    query->found = window;
    return FALSE;
}

BOOL CALLBACK MatchAnyWindowOf(HWND window, LPARAM parameter)
{
    auto* query = reinterpret_cast<WindowQuery*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->processId || !IsWindowVisible(window))
        return TRUE;
    query->found = window;
    return FALSE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM parameter)
{
    auto* texts = reinterpret_cast<std::string*>(parameter);
    std::string name = ClassNameOf(child);
    if (_stricmp(name.c_str(), "Static") == 0) {
        std::string text = WindowText(child);
        if (!text.empty()) {
            if (!texts->empty())
                texts->push_back('\n');
            texts->append(text);
        }
    }
    return TRUE;
}

}

ProgramUnderTest::~ProgramUnderTest()
{
    if (!m_process)
        return;
    if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_process, 1);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

bool ProgramUnderTest::Start(const std::string& exePath, const std::string& arguments, DWORD creationFlags)
{
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    std::string folder = exePath.substr(0, exePath.find_last_of('\\'));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exePath.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, creationFlags, nullptr,
            folder.c_str(), &startup, &process))
        return false;
    CloseHandle(process.hThread);
    m_process = process.hProcess;
    m_processId = process.dwProcessId;
    return true;
}

bool ProgramUnderTest::WaitForExit(DWORD timeoutMs)
{
    return m_process && WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ProgramUnderTest::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (m_process)
        (void)GetExitCodeProcess(m_process, &code);
    return code;
}

HWND WaitForWindow(const std::string& title, const std::string& className, DWORD processId, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        WindowQuery query{title, className, processId, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
        if (query.found)
            return query.found;
        if (GetTickCount64() >= deadline)
            return nullptr;
        Sleep(kPollMs);
    }
}

HWND FindAnyWindowOf(DWORD processId)
{
    WindowQuery query{"", "", processId, nullptr};
    EnumWindows(MatchAnyWindowOf, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

std::string WindowText(HWND window)
{
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string DialogItemText(HWND dialog, int controlId)
{
    return WindowText(GetDlgItem(dialog, controlId));
}

bool IsDialogItemVisible(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    return control && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsDialogItemChecked(HWND dialog, int controlId)
{
    return SendDlgItemMessageA(dialog, controlId, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string MessageBoxText(HWND box)
{
    std::string texts;
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool PressButton(HWND dialog, int controlId)
{
    HWND button = GetDlgItem(dialog, controlId);
    if (!button) {
        ADD_FAILURE() << "no button " << controlId << " on the window";
        return false;
    }
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != 0;
}

bool CloseWithTheCloseBox(HWND window)
{
    return PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0) != 0;
}

bool SetCheck(HWND dialog, int controlId, bool checked)
{
    // The check is set and the dialog told of the click, as the control would tell it; a
    // synthesised mouse click trips Wine's X11 driver without a window manager.
    HWND control = GetDlgItem(dialog, controlId);
    if (!control)
        return false;
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0, SMTO_ABORTIFHUNG, kWindowWaitMs, &ignored))
        return false;
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED), reinterpret_cast<LPARAM>(control)) != 0;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (IsWindow(window)) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

bool WaitForPathGone(const std::string& path, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

ControlTextRecorder::ControlTextRecorder(HWND dialog, int controlId)
    : m_control(GetDlgItem(dialog, controlId))
{
    m_thread = std::thread([this] {
        while (m_running && IsWindow(m_control)) {
            std::string text = WindowText(m_control);
            std::lock_guard<std::mutex> hold(m_lock);
            m_texts.insert(text);
        }
    });
}

ControlTextRecorder::~ControlTextRecorder()
{
    (void)Stop();
}

std::set<std::string> ControlTextRecorder::Stop()
{
    m_running = false;
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard<std::mutex> hold(m_lock);
    return m_texts;
}
