#include "sysops/server_registration.h"

#include "sysops/process_list.h"
#include "tests/support/fixtures.h"
#include "tests/support/scratch.h"
#include "tests/support/scratch_key.h"

#include <gtest/gtest.h>

// Self-registering servers: fixture_com_server.dll keeps its registration under
// HKCU\Software\UnInstallTests\ComServers\<file name>; fixture_exe_server.exe logs each
// switch with its current folder to server.log beside itself, hangs when its name starts
// with "Hang" and fails when it starts with "Fail".

namespace {

std::string CurrentFolder()
{
    char folder[1024] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}

std::string ComServerKey(const std::string& fileName) { return "Software\\UnInstallTests\\ComServers\\" + fileName; }

std::string ReadValue(const std::string& key, const char* name)
{
    char text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return {};
    return text;
}

class ServerRegistration : public ::testing::Test {
protected:
    void SetUp() override { m_callerFolder = CurrentFolder(); }
    void TearDown() override
    {
        EXPECT_EQ(m_callerFolder, CurrentFolder()) << "the caller's current folder is restored";
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\UnInstallTests\\ComServers");
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\UnInstallTests\\ComServers");
    }

    [[nodiscard]] std::string ServerLog() const { return ReadFileText(m_scratch.Join("server.log")); }

    ScratchFolder m_scratch{"servers"};
    std::string m_callerFolder;
};

}

TEST_F(ServerRegistration, InProcessServerIsUnregisteredThroughItsExport)
{
    const std::string viewer = m_scratch.Join("Viewer.OCX");
    ASSERT_TRUE(CopyFixture("fixture_com_server.dll", viewer));

    EXPECT_TRUE(RegisterServerFile(viewer, ServerAction::Register));
    EXPECT_EQ(viewer, ReadValue(ComServerKey("Viewer.OCX"), "Path"));
    EXPECT_EQ(m_scratch.Path(), ReadValue(ComServerKey("Viewer.OCX"), "CurrentFolder")) << "run from its own folder";
    EXPECT_EQ("yes", ReadValue(ComServerKey("Viewer.OCX"), "ComInitialised")) << "COM is initialised for the call";

    EXPECT_TRUE(RegisterServerFile(viewer, ServerAction::Unregister));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ComServerKey("Viewer.OCX")));
    EXPECT_EQ(nullptr, GetModuleHandleA(viewer.c_str())) << "the library was released";
}

TEST_F(ServerRegistration, LibraryFailuresAreFalse)
{
    const std::string failing = m_scratch.Join("Fail.dll");
    ASSERT_TRUE(CopyFixture("fixture_com_server.dll", failing));
    EXPECT_TRUE(CallDllRegistration(failing, ServerAction::Register));
    EXPECT_FALSE(CallDllRegistration(failing, ServerAction::Unregister)) << "a failure code from the export";

    const std::string noExports = m_scratch.Join("Plain.dll");
    ASSERT_TRUE(CopyFixture("fixture_sleeper.exe", noExports)) << "any module without the exports";
    EXPECT_FALSE(RegisterServerFile(noExports, ServerAction::Unregister)) << "no DllUnregisterServer export";
    EXPECT_FALSE(RegisterServerFile(m_scratch.Join("Missing.dll"), ServerAction::Unregister));
    EXPECT_FALSE(RegisterServerFile("", ServerAction::Unregister));

    ASSERT_TRUE(WriteFileText(m_scratch.Join("Notes.txt"), "x"));
    EXPECT_FALSE(RegisterServerFile(m_scratch.Join("Notes.txt"), ServerAction::Unregister)) << "not a server type";
}

TEST_F(ServerRegistration, ExecutableServerRunsWithTheSwitchFromItsFolder)
{
    const std::string tool = m_scratch.Join("Tool.exe");
    ASSERT_TRUE(CopyFixture("fixture_exe_server.exe", tool));
    EXPECT_TRUE(RegisterServerFile(tool, ServerAction::Unregister));
    EXPECT_TRUE(RegisterServerFile(tool, ServerAction::Register));
    EXPECT_EQ("/UNREGSERVER|" + m_scratch.Path() + "\n/REGSERVER|" + m_scratch.Path() + "\n", ServerLog());
}

TEST_F(ServerRegistration, HangingServerIsEndedAfterItsTimeAndFails)
{
    const std::string hang = m_scratch.Join("Hang.exe");
    ASSERT_TRUE(CopyFixture("fixture_exe_server.exe", hang));
    const DWORD start = GetTickCount();
    EXPECT_FALSE(RegisterServerFile(hang, ServerAction::Unregister));
    const DWORD passed = GetTickCount() - start;
    EXPECT_GE(passed, 1900u);
    EXPECT_LT(passed, 8000u);
    std::vector<uint32_t> left;
    ProcessList processes;
    processes.FindProcessesByPath(hang, left);
    EXPECT_TRUE(left.empty()) << "the hanging server was ended";

    EXPECT_TRUE(RunExeRegistration(hang, ServerAction::Unregister, 0)) << "no time-out: started is enough";
    for (int poll = 0; poll < 100 && left.empty(); ++poll) {
        Sleep(50);
        processes.FindProcessesByPath(hang, left);
    }
    EXPECT_FALSE(left.empty()) << "it runs on";
    EndProcessesOfFile(hang);

    const std::string failing = m_scratch.Join("Fail.exe");
    ASSERT_TRUE(CopyFixture("fixture_exe_server.exe", failing));
    EXPECT_FALSE(RegisterServerFile(failing, ServerAction::Unregister)) << "a negative exit code";
    EXPECT_FALSE(RunExeRegistration(m_scratch.Join("Missing.exe"), ServerAction::Unregister, 2000));
}

TEST_F(ServerRegistration, FileWithoutExtensionIsJudgedByItsVersionResource)
{
    const std::string server = m_scratch.Join("server");
    ASSERT_TRUE(CopyFixture("fixture_exe_server.exe", server));
    EXPECT_TRUE(RegisterServerFile(server, ServerAction::Unregister));
    EXPECT_EQ("/UNREGSERVER|" + m_scratch.Path() + "\n", ServerLog());

    const std::string library = m_scratch.Join("library");
    ASSERT_TRUE(CopyFixture("fixture_com_server.dll", library));
    EXPECT_TRUE(RegisterServerFile(library, ServerAction::Register));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, ComServerKey("library")));

    const std::string unversioned = m_scratch.Join("data");
    ASSERT_TRUE(WriteFileText(unversioned, "MZ"));
    EXPECT_FALSE(RegisterServerFile(unversioned, ServerAction::Unregister));
}

TEST_F(ServerRegistration, ServiceExecutablesAreUnregisteredOneWayOnly)
{
    const std::string service = m_scratch.Join("Service.exe");
    ASSERT_TRUE(CopyFixture("fixture_exe_server.exe", service));
    EXPECT_TRUE(RegisterServiceExe(service, ServerAction::Register));
    EXPECT_TRUE(RegisterServiceExe(service, ServerAction::Unregister));
    EXPECT_EQ("-Service|" + m_scratch.Path() + "\n-unregserver|" + m_scratch.Path() + "\n", ServerLog());

    ASSERT_TRUE(DeleteFileA(m_scratch.Join("server.log").c_str()));
    UnregisterServerOfFile(service, 3);
    EXPECT_EQ("/UNREGSERVER|" + m_scratch.Path() + "\n", ServerLog()) << "RegType 3 is a COM server, not -unregserver";
    ASSERT_TRUE(DeleteFileA(m_scratch.Join("server.log").c_str()));
    UnregisterServerOfFile(service, 2);
    EXPECT_EQ("-unregserver|" + m_scratch.Path() + "\n", ServerLog());
}

TEST_F(ServerRegistration, PathWithBlanksRunsTheRecordedFileNotAPrefixOfIt)
{
    // Unquoted, "...\My Tools\Tool.exe /UNREGSERVER" would start "...\My.exe" first.
    ASSERT_TRUE(MakeFolder(m_scratch.Join("My Tools")));
    const std::string tool = m_scratch.Join("My Tools\\Tool.exe");
    ASSERT_TRUE(CopyFixture("fixture_exe_server.exe", tool));
    ASSERT_TRUE(CopyFixture("fixture_exe_server.exe", m_scratch.Join("My.exe")));

    EXPECT_TRUE(RegisterServerFile(tool, ServerAction::Unregister));
    EXPECT_EQ("/UNREGSERVER|" + m_scratch.Join("My Tools") + "\n", ReadFileText(m_scratch.Join("My Tools\\server.log")));
    EXPECT_EQ("", ServerLog()) << "the planted My.exe did not run";
}

TEST_F(ServerRegistration, ServerFindsTheLibrariesBesideItUnderTheRestrictedSearch)
{
    // The uninstaller limits the process's DLL search to the system folder, as it does at
    // start-up; a server must still find what lies beside it.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (!setDefault)
        GTEST_SKIP() << "this system cannot restrict the DLL search";
    const std::string server = m_scratch.Join("Sibling.dll");
    ASSERT_TRUE(CopyFixture("fixture_sibling_server.dll", server));
    ASSERT_TRUE(CopyFixture("fixture_sibling.dll", m_scratch.Join("fixture_sibling.dll")));
    ASSERT_TRUE(setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32));
    HMODULE plain = LoadLibraryA(server.c_str());
    const bool loadsPlainly = plain != nullptr;
    if (plain)
        FreeLibrary(plain);

    EXPECT_TRUE(CallDllRegistration(server, ServerAction::Register));
    EXPECT_EQ(server, ReadValue(ComServerKey("Sibling.dll"), "Path"));
    EXPECT_TRUE(CallDllRegistration(server, ServerAction::Unregister));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, ComServerKey("Sibling.dll")));
    setDefault(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    EXPECT_FALSE(loadsPlainly) << "the restriction is in force, so the test shows something";
}
