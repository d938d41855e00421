// What the elevated uninstaller loads or runs must be beyond the reach of ordinary users. An
// installation that everyone can write to, as a folder under C:\ may be, is set up here: its
// script and its COM server are then not run, the log says which file and who can change it,
// and the record's own removal goes on, but only as far as those who could have edited the
// record could have gone themselves.

#include "tests/support/fixtures.h"
#include "tests/support/sample_installation.h"
#include "tests/support/scratch_key.h"
#include "tests/support/window_driver.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr const char* kComServerKeys = "Software\\UnInstallTests\\ComServers";

bool RegisterInProcessServer(const std::string& path)
{
    HMODULE library = LoadLibraryA(path.c_str());
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto registerServer = library ? reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library, "DllRegisterServer"))) : nullptr;
    const bool registered = registerServer && SUCCEEDED(registerServer());
    if (library)
        FreeLibrary(library);
    return registered;
}

}

TEST(UntrustedFiles, ScriptAndServerInAFolderEveryoneCanWriteAreNotRunTheRestIsRemoved)
{
    SampleInstallation installation("untrusted");
    installation.AddFile("App.exe");
    // A file the record names in a folder that only administrators can change.
    const std::string guarded = installation.InApp("..\\Guarded");
    ASSERT_TRUE(MakeFolder(guarded));
    ASSERT_TRUE(WriteFileText(guarded + "\\Other.dll", "another program's"));
    RecordItem guardedItem;
    guardedItem.SetField("FileName", guarded + "\\Other.dll");
    installation.Record().CopyFiles().push_back(guardedItem);
    const std::string server = installation.InApp("Server.dll");
    ASSERT_TRUE(CopyFixture("fixture_com_server.dll", server));
    ASSERT_TRUE(RegisterInProcessServer(server));
    const std::string serverKey = std::string(kComServerKeys) + "\\Server.dll";
    RecordItem serverItem;
    serverItem.SetField("FileName", server);
    serverItem.SetIntField("RegType", 1);
    installation.Record().CopyFiles().push_back(serverItem);
    ASSERT_TRUE(installation.AddScript("Section OnUninstallBegin\n{\nMessageBox(\"script ran\", \"Script\", 0)\n}\n"));
    ASSERT_TRUE(installation.AddUninstallEntry());
    ASSERT_TRUE(installation.SaveRecord());
    ASSERT_TRUE(LetEveryoneChange(installation.AppFolder()));
    ASSERT_TRUE(LetEveryoneChange(installation.ProgramFolder()));
    const std::string log = installation.InProgram("untrusted.log");

    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(installation.UninstallerPath(), "/S \"/LOG=" + log + "\""));
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(0u, program.ExitCode());
    const std::string logText = ReadFileText(log);
    EXPECT_EQ(std::string::npos, logText.find("script ran")) << logText;
    EXPECT_NE(std::string::npos, logText.find(installation.InApp("hw.dll") + " was not run: Everyone can change "
                                              + installation.AppFolder() + "."))
        << logText;
    EXPECT_NE(std::string::npos, logText.find(server + " was not run")) << logText;
    EXPECT_NE(std::string::npos, logText.find("kept         server           " + server + "  (not run: Everyone can change"))
        << logText;
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, serverKey)) << "the server's unregistration ran";
    EXPECT_FALSE(PathExists(installation.InProgram("App.exe"))) << "the record's removal went on";
    EXPECT_FALSE(PathExists(server));
    // The record itself could have been edited by anyone.
    EXPECT_EQ("another program's", ReadFileText(guarded + "\\Other.dll"));
    EXPECT_NE(std::string::npos, logText.find("kept         file             " + guarded + "\\Other.dll")) << logText;
    EXPECT_NE(std::string::npos, logText.find("the install record may have been edited: Everyone can change")) << logText;
    EXPECT_TRUE(installation.UninstallEntryExists());
    RegDeleteTreeA(HKEY_CURRENT_USER, kComServerKeys);
}
