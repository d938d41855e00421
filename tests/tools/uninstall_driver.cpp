// Drives one uninstall as a person would: starts UnInstall.exe, answers Yes, lets the progress
// page work, presses Finish, and waits for the cleanup copy to delete the application folder.
// Used by the demo and the benchmark. Prints what it saw, with the waiting box and ProFile.ini
// of a scripted uninstall; exit status 0 when every window came. When UNINSTALL_DRIVER_PICTURES
// names a folder, a PNG picture of each window is kept there.
//
//   uninstall_driver.exe PATH-OF-UnInstall.exe APPLICATION-NAME

#include "sysops/step_times.h"
#include "tests/support/window_driver.h"
#include "tests/support/window_picture.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char* kDialogClass = "#32770";

// Seconds since the driver started, so that the output tells where an uninstall spends its time.
double Elapsed()
{
    static const ULONGLONG start = GetTickCount64();
    return static_cast<double>(GetTickCount64() - start) / 1000.0;
}

// What a scripted uninstall wrote into ProFile.ini so far, one key a line.
void PrintProfile(const std::string& path)
{
    char keys[4096] = {};
    const DWORD length = GetPrivateProfileSectionA("ProFileData", keys, sizeof keys, path.c_str());
    if (length == 0)
        return;
    std::printf("         ProFile.ini [ProFileData]:\n");
    for (const char* line = keys; *line; line += std::strlen(line) + 1)
        std::printf("           %s\n", line);
}

// Looking at a path costs no trip to the window server, so the end of the cleanup copy is
// looked for more often than a window is.
bool WaitForFolderGone(const std::string& path, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(2);
    }
    return true;
}

// Looks for a window more often than the tests do: the benchmark times how soon the
// uninstaller's pages are answered. A look is cheap once the uninstaller has started.
constexpr DWORD kDriverPollMs = 5;

HWND AwaitWindow(const std::string& title, DWORD processId, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (HWND window = WaitForWindow(title, kDialogClass, processId, 0))
            return window;
        if (GetTickCount64() >= deadline)
            return nullptr;
        Sleep(kDriverPollMs);
    }
}

bool AwaitWindowGone(HWND window, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (IsWindow(window)) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(kDriverPollMs);
    }
    return true;
}

int Fail(const char* what)
{
    std::printf("driver: %s\n", what);
    return 1;
}

void KeepPicture(HWND window, const char* name)
{
    char folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("UNINSTALL_DRIVER_PICTURES", folder, sizeof folder))
        return;
    const std::string path = std::string(folder) + "\\" + name + ".png";
    if (!WindowPicture::Take(window).SavePng(path))
        std::printf("driver: no picture of the %s\n", name);
}

}

int main(int argumentCount, char** arguments)
{
    if (argumentCount < 3) {
        std::fprintf(stderr, "usage: uninstall_driver PATH-OF-UnInstall.exe APPLICATION-NAME\n");
        return 2;
    }
    const std::string uninstaller = arguments[1];
    const std::string appName = arguments[2];
    const std::string appFolder = uninstaller.substr(0, uninstaller.find_last_of('\\'));

    (void)Elapsed();
    MarkProcessCreated("driver-created");
    MarkStep("driver-start");
    ProgramUnderTest program;
    if (!program.Start(uninstaller))
        return Fail("UnInstall.exe could not be started");
    // The first window of a fresh Wine session can take a while: the session starts with it.
    // Until then the uninstaller is looked for at the tests' pace, so that the looks do not
    // hold up its start.
    HWND question = WaitForWindow(appName, kDialogClass, program.ProcessId(), 60000);
    if (!question)
        return Fail("no confirmation appeared");
    MarkStep("driver-saw-confirmation");
    std::printf("%6.2f s confirmation: %s -> Yes\n", Elapsed(), MessageBoxText(question).c_str());
    KeepPicture(question, "confirmation");
    PressButton(question, IDYES);

    HWND progress = AwaitWindow("Uninstall", program.ProcessId(), 5000);
    if (progress) {
        std::printf("%6.2f s progress page shown\n", Elapsed());
        KeepPicture(progress, "progress");
    }
    // A scripted uninstall may keep its waiting box open while the progress page works.
    if (HWND waiting = WaitForWindow("Waiting...", kDialogClass, program.ProcessId(), 0))
        std::printf("%6.2f s waiting box beside it: %s\n", Elapsed(), DialogItemText(waiting, 2029).c_str());
    // While the progress page works, only its end is watched: a search through every window
    // at each look would compete with the uninstaller for the window server.
    if (progress)
        (void)AwaitWindowGone(progress, 120000);
    HWND finish = AwaitWindow("Uninstall " + appName, program.ProcessId(), 120000);
    if (!finish)
        return Fail("no finish page appeared");
    MarkStep("driver-saw-finish");
    std::printf("%6.2f s finish page: %s / %s -> Finish\n", Elapsed(), DialogItemText(finish, 2029).c_str(),
        DialogItemText(finish, 2015).c_str());
    KeepPicture(finish, "finish");
    if (IsWindowVisible(GetDlgItem(finish, 2064)))
        std::printf("         launch entry: [%s] %s\n", SendDlgItemMessageA(finish, 2064, BM_GETCHECK, 0, 0) ? "x" : " ",
            DialogItemText(finish, 2064).c_str());
    PrintProfile(appFolder + "\\ProFile.ini");
    PressButton(finish, IDOK);
    if (!program.WaitForExit(30000))
        return Fail("UnInstall.exe did not end");
    MarkStep("driver-saw-end");
    std::printf("%6.2f s UnInstall.exe ended\n", Elapsed());
    if (!WaitForFolderGone(appFolder, 30000))
        return Fail("the application folder is still there");
    MarkStep("driver-saw-folder-gone");
    std::printf("%6.2f s uninstall folder deleted by the cleanup copy\n", Elapsed());
    return 0;
}
