// The steps of the uninstall run that reach beyond files and the registry, driven through
// UnInstall.exe: services, running programs, COM servers and shell objects.

#include "sysops/procedure_address.h"
#include "tests/support/fixtures.h"
#include "tests/support/sample_installation.h"
#include "tests/support/scratch_key.h"
#include "tests/support/window_driver.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kDialogClass = "#32770";
constexpr const char* kComServerKeys = "Software\\UnInstallTests\\ComServers";

void UninstallThroughThePages(SampleInstallation& installation)
{
    ASSERT_TRUE(installation.SaveRecord());
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath()));
    HWND question = WaitForWindow("Sample App", kDialogClass, program.ProcessId());
    ASSERT_NE(nullptr, question);
    PressButton(question, IDYES);
    // The service step may wait up to ten seconds for a service that does not stop.
    HWND finish = WaitForWindow("Uninstall Sample App", kDialogClass, program.ProcessId(), 60000);
    ASSERT_NE(nullptr, finish) << "no finish page";
    PressButton(finish, IDOK);
    ASSERT_TRUE(program.WaitForExit());
}

// Registers the test server the way the installer did.
bool RegisterInProcessServer(const std::string& path)
{
    HMODULE library = LoadLibraryA(path.c_str());
    if (!library)
        return false;
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto registerServer = ProcedureAddress<Entry>(library, "DllRegisterServer");
    const bool registered = registerServer && SUCCEEDED(registerServer());
    FreeLibrary(library);
    return registered;
}

}

TEST(SystemSteps, RunningServiceOfARemovedFileIsStoppedAndDeletedBeforeTheFileGoes)
{
    SampleInstallation installation("service");
    const std::string serviceExe = installation.InProgram("AppService.exe");
    ASSERT_TRUE(CopyFixture("fixture_service.exe", serviceExe));
    // Registered the way Windows asks for: in quotes, here with an argument.
    ScratchService service("e2e", "\"" + serviceExe + "\" -run");
    ASSERT_TRUE(service.IsReady());
    ASSERT_TRUE(service.Start());

    RecordItem item;
    item.SetField("FileName", serviceExe);
    item.SetIntField("RegType", 2);
    installation.Record().CopyFiles().push_back(item);
    UninstallThroughThePages(installation);

    EXPECT_FALSE(service.Exists()) << "the service is deleted";
    EXPECT_FALSE(PathExists(serviceExe)) << "stopped first, so its executable could be deleted";
}

TEST(SystemSteps, ProgramsRunningTheRecordedFileAreEndedOthersLive)
{
    SampleInstallation installation("programs");
    const std::string tool = installation.InProgram("Tool.exe");
    ASSERT_TRUE(CopyFixture("fixture_sleeper.exe", tool));
    MakeFolder(installation.InProgram("Elsewhere"));
    const std::string sameName = installation.InProgram("Elsewhere\\Tool.exe");
    ASSERT_TRUE(CopyFixture("fixture_sleeper.exe", sameName));
    StartedProcess first("\"" + tool + "\" 60000");
    StartedProcess second("\"" + tool + "\" 60000");
    StartedProcess other("\"" + sameName + "\" 60000");
    ASSERT_NE(0u, first.Id());
    ASSERT_NE(0u, second.Id());
    ASSERT_NE(0u, other.Id());
    Sleep(300); // let them load their modules

    installation.AddFile("readme.txt");
    RecordItem item;
    item.SetField("FileName", tool);
    installation.Record().CopyFiles().push_back(item);
    UninstallThroughThePages(installation);

    EXPECT_TRUE(first.EndsWithin(5000));
    EXPECT_TRUE(second.EndsWithin(5000));
    EXPECT_TRUE(ProcessIsRunning(other.Id())) << "a program of the same name elsewhere lives";
    EXPECT_FALSE(PathExists(tool)) << "ended first, so the file could be deleted";
}

TEST(SystemSteps, ComServersAreUnregisteredEvenWhenTheirFileIsKept)
{
    SampleInstallation installation("com");
    const std::string server = installation.InProgram("SampleServer.dll");
    ASSERT_TRUE(CopyFixture("fixture_com_server.dll", server));
    ASSERT_TRUE(RegisterInProcessServer(server));
    const std::string serverKey = std::string(kComServerKeys) + "\\SampleServer.dll";
    ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, serverKey));
    const std::string kept = installation.InProgram("KeptServer.dll");
    ASSERT_TRUE(CopyFixture("fixture_com_server.dll", kept));
    ASSERT_TRUE(RegisterInProcessServer(kept));

    RecordItem removed;
    removed.SetField("FileName", server);
    removed.SetIntField("RegType", 1);
    installation.Record().CopyFiles().push_back(removed);
    RecordItem keptItem;
    keptItem.SetField("FileName", kept);
    keptItem.SetIntField("RegType", 1);
    keptItem.SetIntField("Uninstall", 1);
    installation.Record().CopyFiles().push_back(keptItem);
    UninstallThroughThePages(installation);

    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, serverKey)) << "unregistered";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::string(kComServerKeys) + "\\KeptServer.dll")) << "unregistered, though kept";
    EXPECT_FALSE(PathExists(server));
    EXPECT_TRUE(PathExists(kept));
    RegDeleteTreeA(HKEY_CURRENT_USER, kComServerKeys);
}

TEST(SystemSteps, ExecutableServersAreRunWithTheUnregisterSwitch)
{
    SampleInstallation installation("exeserver");
    const std::string server = installation.InProgram("SampleExeServer.exe");
    ASSERT_TRUE(CopyFixture("fixture_exe_server.exe", server));
    RecordItem item;
    item.SetField("FileName", server);
    item.SetIntField("RegType", 1);
    item.SetIntField("Uninstall", 1); // kept, so that the test can look beside it
    installation.Record().CopyFiles().push_back(item);
    UninstallThroughThePages(installation);

    const std::string log = ReadFileText(installation.InProgram("server.log"));
    EXPECT_NE(std::string::npos, log.find("/UNREGSERVER|" + installation.ProgramFolder())) << log;
}

TEST(SystemSteps, ShortcutsGoAndProgramGroupsGoWhenEmpty)
{
    SampleInstallation installation("shell");
    const std::string emptiedGroup = installation.InProgram("Menu\\Sample App");
    const std::string userGroup = installation.InProgram("Menu\\Shared Group");
    MakeFolder(installation.InProgram("Menu"));
    MakeFolder(emptiedGroup);
    MakeFolder(userGroup);
    WriteFileText(emptiedGroup + "\\Sample App.lnk", "L");
    WriteFileText(userGroup + "\\Sample Help.lnk", "L");
    WriteFileText(userGroup + "\\Users Own.lnk", "L");

    auto addShellObject = [&](const char* type, const std::string& path) {
        RecordItem item;
        item.SetField("Type", type);
        item.SetField("Path", path);
        installation.Record().ShellObjects().push_back(item);
    };
    // Groups are listed before their shortcuts; the run walks the list last first.
    addShellObject("Group", emptiedGroup);
    addShellObject("Shortcut", emptiedGroup + "\\Sample App.lnk");
    addShellObject("Group", userGroup);
    addShellObject("Shortcut", userGroup + "\\Sample Help.lnk");
    UninstallThroughThePages(installation);

    EXPECT_FALSE(PathExists(emptiedGroup)) << "its only shortcut went first, then the group";
    EXPECT_FALSE(PathExists(userGroup + "\\Sample Help.lnk"));
    EXPECT_TRUE(PathExists(userGroup + "\\Users Own.lnk")) << "a shortcut of the user stays, and its group";
}
