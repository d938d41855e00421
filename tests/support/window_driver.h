#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <thread>
#include <atomic>
#include <mutex>

// Drives a program under test the way a person would: starts it, finds its windows by title
// and class, reads their texts and presses their buttons. Every wait has a time limit, so a
// test that goes wrong fails instead of hanging.

inline constexpr DWORD kWindowWaitMs = 15000;

class ProgramUnderTest {
public:
    ProgramUnderTest() = default;
    ~ProgramUnderTest(); // ends the process if it is still running: only the one we started
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    // Starts the executable with its own folder as working folder; creationFlags as
    // CreateProcess takes them (DETACHED_PROCESS: without the test's console).
    bool Start(const std::string& exePath, const std::string& arguments = "", DWORD creationFlags = 0);
    [[nodiscard]] DWORD ProcessId() const { return m_processId; }
    // True when the process ended within the time.
    bool WaitForExit(DWORD timeoutMs = kWindowWaitMs);
    // The exit code of the ended process; STILL_ACTIVE while it runs.
    [[nodiscard]] DWORD ExitCode() const;

private:
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
};

// A visible top-level window with this exact title and class ("#32770" for dialogs and
// message boxes), of the given process when processId is not 0; null after the time limit
// (a limit of 0 looks once).
HWND WaitForWindow(const std::string& title, const std::string& className, DWORD processId = 0,
    DWORD timeoutMs = kWindowWaitMs);

// Any visible top-level window of the process; null when it has none.
HWND FindAnyWindowOf(DWORD processId);

[[nodiscard]] std::string WindowText(HWND window);
[[nodiscard]] std::string DialogItemText(HWND dialog, int controlId);
[[nodiscard]] bool IsDialogItemVisible(HWND dialog, int controlId);
[[nodiscard]] bool IsDialogItemChecked(HWND dialog, int controlId);
// The text of a message box: its static texts joined.
[[nodiscard]] std::string MessageBoxText(HWND box);

// Presses a button by posting the click to its dialog, as the button itself would.
bool PressButton(HWND dialog, int controlId);
// Closes a window with the close box of its title bar.
bool CloseWithTheCloseBox(HWND window);

// Checks or unchecks a check box or radio button and tells the dialog of the click.
bool SetCheck(HWND dialog, int controlId, bool checked);

// Waits until the window is gone; true when it went within the time.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kWindowWaitMs);
// Waits until nothing exists at the path any more.
bool WaitForPathGone(const std::string& path, DWORD timeoutMs = kWindowWaitMs);

// Watches one control of a window from a thread of its own and keeps every distinct text it
// showed, so that a test can check the texts of a page that changes faster than a person reads.
class ControlTextRecorder {
public:
    ControlTextRecorder(HWND dialog, int controlId);
    ~ControlTextRecorder();
    std::set<std::string> Stop();

private:
    HWND m_control;
    std::atomic<bool> m_running{true};
    std::mutex m_lock;
    std::set<std::string> m_texts;
    std::thread m_thread;
};
