#include "library/system_object.h"
#include "sysops/environment_queries.h"

#include "tests/native/script_test_support.h"
#include "tests/support/file_links.h"
#include "tests/support/scratch.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// An engine with the real "System" object and the script's functions loaded.
struct SystemScript : ScriptFixture {
    explicit SystemScript(std::string_view script)
    {
        engine.RegisterObject("System", MakeSystemObject());
        loaded = Load(script);
    }
    bool loaded;
};

}

TEST(SystemObject, FilesAndFolders)
{
    ScratchFolder scratch("system-files");
    SystemScript script("Function string Files(string folder, string file, string copy)\n{\n"
                        "var string log = \"\" + System.CreateDir(folder)\n"
                        "log += System.WriteTextFile(file, \"one\")\n"
                        "log += System.WriteTextFile(file, \"two\", \"1\")\n"
                        "log += \"/\" + System.ReadTextFile(file) + \"/\"\n"
                        "System.CopyFile(file, copy)\n"
                        "log += System.ExistFile(copy)\n"
                        "System.DeleteFile(copy)\n"
                        "log += System.ExistFile(copy)\n"
                        "log += System.ExistDir(folder)\n"
                        "System.DeleteDirData(folder)\n"
                        "log += System.ExistFile(file)\n"
                        "log += System.ExistDir(folder)\n"
                        "log += System.DeleteDirectory(folder)\n"
                        "log += System.ExistDir(folder)\n"
                        "return log\n}\n");
    ASSERT_TRUE(script.loaded);
    const std::string folder = scratch.Join("A\\B");
    ASSERT_TRUE(script.Call("Files", {folder, folder + "\\Notes.txt", scratch.Join("Copy.txt")}));
    EXPECT_EQ("111/onetwo/1010110", script.result.ToString());
    EXPECT_TRUE(PathExists(scratch.Join("A")));
}

// The script's folder deletions keep the guards of the uninstall's own.
TEST(SystemObject, FolderDeletionsNeitherEmptyADriveNorFollowALink)
{
    ScratchFolder scratch("system-guards");
    ASSERT_TRUE(MakeFolder(scratch.Join("Data")));
    ASSERT_TRUE(WriteFileText(scratch.Join("Data\\Precious.doc"), "keep"));
    ASSERT_TRUE(MakeFolder(scratch.Join("App")));
    ASSERT_TRUE(WriteFileText(scratch.Join("App\\App.exe"), "x"));
    SystemScript script("Function string Remove(string root, string tree)\n{\n"
                        "System.DeleteDirData(root)\n"
                        "System.DeleteDir(root)\n"
                        "System.DeleteDir(tree)\n"
                        "return \"done\"\n}\n");
    ASSERT_TRUE(script.loaded);
    bool linked = MakeFolderLink(scratch.Join("App\\Data"), scratch.Join("Data"));
    MappedDrive drive(scratch.Path());
    if (!linked || drive.Letter().empty())
        GTEST_SKIP() << "no folder link or drive letter could be made";
    ASSERT_TRUE(script.Call("Remove", {drive.Letter() + "\\", scratch.Join("App")}));
    EXPECT_EQ("keep", ReadFileText(scratch.Join("Data\\Precious.doc")));
    EXPECT_FALSE(PathExists(scratch.Join("App\\App.exe")));
}

TEST(SystemObject, IniFilesAndTheCurrentFolder)
{
    ScratchFolder scratch("system-ini");
    SystemScript script("Function string Ini(string file, string folder)\n{\n"
                        "System.SetIniFileValue(file, \"Main\", \"Count\", \"07\")\n"
                        "var string log\n"
                        "log = System.GetIniFileValue(file, \"Main\", \"Count\", \"none\")\n"
                        "log += \"/\" + System.GetIniFileValue(file, \"Main\", \"Other\", \"none\")\n"
                        "System.setcurrentdirectory(folder)\n"
                        "return log + \"/\" + System.GetCurrentDirectory()\n}\n");
    ASSERT_TRUE(script.loaded);
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(script.Call("Ini", {scratch.Join("ProFile.ini"), scratch.Path()}));
    SetCurrentDirectoryA(before);
    EXPECT_EQ("07/none/" + scratch.Path(), script.result.ToString());
}

TEST(SystemObject, SetIniFileValueTellsWhetherTheValueWasWritten)
{
    ScratchFolder scratch("system-ini-write");
    SystemScript script("Function string Write(string file, string nowhere)\n{\n"
                        "return \"\" + System.SetIniFileValue(file, \"Main\", \"Count\", \"7\")"
                        " + System.SetIniFileValue(nowhere, \"Main\", \"Count\", \"7\")\n}\n");
    ASSERT_TRUE(script.loaded);
    ASSERT_TRUE(script.Call("Write", {scratch.Join("ProFile.ini"), scratch.Join("Missing\\ProFile.ini")}));
    EXPECT_EQ("10", script.result.ToString()) << "a file in a folder that does not exist cannot be written";
}

TEST(SystemObject, QueriesAndNameMatching)
{
    SystemScript script("Function string Queries\n{\n"
                        "var string log = System.GetAppVer(\"\") + \"/\"\n"
                        "if System.GetCurLanguageName() == System.GetCurOSLanguageName()\n"
                        "  log += \"same/\"\n"
                        "log += System.getcuroslanguagename() + \"/\" + System.GETCUROSNAME() + \"/\"\n"
                        "System.ShellExec(\"\")\n"
                        "var string guid = System.NewGUID()\n"
                        "return log + System.EnVOEStr(\"abcd\", \"password\")\n}\n"
                        "Function string Lower\n{\nreturn System.existfile(\"C:\\\\windows\\\\win.ini\")\n}\n");
    ASSERT_TRUE(script.loaded);
    ASSERT_TRUE(script.Call("Queries")) << script.engine.Error().word;
    EXPECT_EQ("/same/" + GetLanguageName() + "/" + GetOsName() + "/7b527b6304", script.result.ToString());

    EXPECT_FALSE(script.Call("Lower"));
    EXPECT_EQ(ErrorMemberCall, script.engine.Error().code);
    EXPECT_EQ("System.existfile", script.engine.Error().word);
}
