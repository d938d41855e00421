// Drives one uninstall as a person would: starts UnInstall.exe, answers Yes, lets the progress
// page work, presses Finish, and waits for the cleanup copy to delete the application folder.
// Used by the demo and the benchmark. Prints what it saw; exit status 0 when every window came.
//
//   uninstall_driver.exe PATH-OF-UnInstall.exe APPLICATION-NAME

#include "tests/support/window_driver.h"

#include <cstdio>
#include <string>

namespace {

constexpr const char* kDialogClass = "#32770";

int Fail(const char* what)
{
    std::printf("driver: %s\n", what);
    return 1;
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

    ProgramUnderTest program;
    if (!program.Start(uninstaller))
        return Fail("UnInstall.exe could not be started");
    // The first window of a fresh Wine session can take a while: the session starts with it.
    HWND question = WaitForWindow(appName, kDialogClass, program.ProcessId(), 60000);
    if (!question)
        return Fail("no confirmation appeared");
    std::printf("confirmation: %s -> Yes\n", MessageBoxText(question).c_str());
    PressButton(question, IDYES);

    HWND progress = WaitForWindow("Uninstall", kDialogClass, program.ProcessId(), 5000);
    if (progress)
        std::printf("progress page shown\n");
    HWND finish = WaitForWindow("Uninstall " + appName, kDialogClass, program.ProcessId(), 120000);
    if (!finish)
        return Fail("no finish page appeared");
    std::printf("finish page: %s / %s -> Finish\n", DialogItemText(finish, 2029).c_str(), DialogItemText(finish, 2015).c_str());
    PressButton(finish, IDOK);
    if (!program.WaitForExit(30000))
        return Fail("UnInstall.exe did not end");
    if (!WaitForPathGone(appFolder, 30000))
        return Fail("the application folder is still there");
    std::printf("uninstall folder deleted by the cleanup copy\n");
    return 0;
}
