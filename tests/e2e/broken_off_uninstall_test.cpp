// An uninstall ended halfway, by Task Manager, a crash or a power cut, leaves the record and the
// uninstaller behind: run again, it removes the rest, the entry and the uninstall folder, and
// the machine ends as after one clean run.

#include "tests/support/sample_installation.h"
#include "tests/support/scratch_key.h"
#include "tests/support/window_driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace {

// A run of the whole suite keeps to 400 files; UNINSTALL_BROKEN_OFF_FILES=2000 measures the
// size of a real application.
int FileCount()
{
    char text[16] = {};
    const int count = GetEnvironmentVariableA("UNINSTALL_BROKEN_OFF_FILES", text, sizeof text) > 0 ? std::atoi(text) : 0;
    return count >= 5 ? count : 400;
}

const int kFileCount = FileCount();

std::string FileName(int index)
{
    char name[32];
    std::snprintf(name, sizeof name, "Data\\Part%d\\file%04d.dat", index * 4 / kFileCount, index);
    return name;
}

int FilesLeft(const SampleInstallation& installation)
{
    int left = 0;
    for (int i = 0; i < kFileCount; ++i)
        left += PathExists(installation.InProgram(FileName(i))) ? 1 : 0;
    return left;
}

}

TEST(BrokenOffUninstall, EndedAtFivePointsOfTheFilesStepASecondRunFinishesIt)
{
    // The run is ended as soon as the file of each index is gone.
    for (int point : {0, kFileCount / 4 - 1, kFileCount / 2, kFileCount * 3 / 4, kFileCount - 1}) {
        SCOPED_TRACE("ended after file " + std::to_string(point));
        SampleInstallation installation("brokenoff" + std::to_string(point));
        installation.AddFolder("Data");
        for (int part = 0; part < 4; ++part)
            installation.AddFolder("Data\\Part" + std::to_string(part));
        for (int i = 0; i < kFileCount; ++i) {
            RecordItem& file = installation.AddFile(FileName(i));
            // Every tenth file goes only while it has its installation time: the test must not
            // keep a file that the first run deleted from being counted as gone.
            if (i % 10 == 0) {
                file.SetIntField("Uninstall", 3);
                file.SetField("ModifyDate", RecordedModifyDate(installation.InProgram(FileName(i))));
            }
        }
        ScratchKey key(HKEY_CURRENT_USER, "brokenoff");
        ASSERT_TRUE(key.IsReady() && PutValue(HKEY_CURRENT_USER, key.Join("App"), "Path", REG_SZ, "x"));
        AddRegistryItem(installation.Record(), "Key", "HKEY_CURRENT_USER", key.Path(), "App");
        ASSERT_TRUE(installation.AddUninstallEntry());
        ASSERT_TRUE(installation.SaveRecord());

        {
            ProgramUnderTest first;
            ASSERT_TRUE(first.Start(installation.UninstallerPath(), "/S"));
            const std::string watched = installation.InProgram(FileName(point));
            const ULONGLONG deadline = GetTickCount64() + kWindowWaitMs;
            while (PathExists(watched) && GetTickCount64() < deadline)
                Sleep(0);
        } // ended here, as Task Manager ends it
        const int left = FilesLeft(installation);
        std::cout << "ended after file " << point << ": " << left << " of " << kFileCount << " files left, entry "
                  << (installation.UninstallEntryExists() ? "there" : "gone") << "\n";
        ASSERT_TRUE(installation.UninstallEntryExists()) << "the run was ended before its end";
        ASSERT_TRUE(PathExists(installation.UninstallerPath()));

        const std::string log = installation.InProgram("again.log");
        ProgramUnderTest again;
        ASSERT_TRUE(again.Start(installation.UninstallerPath(), "/S /LOG=\"" + log + "\""));
        ASSERT_TRUE(again.WaitForExit());
        EXPECT_EQ(0u, again.ExitCode()) << ReadFileText(log).substr(ReadFileText(log).rfind("done"));
        EXPECT_TRUE(WaitForPathGone(installation.AppFolder())) << "the cleanup copy deletes the uninstall folder";
        EXPECT_EQ(0, FilesLeft(installation));
        EXPECT_FALSE(PathExists(installation.InProgram("Data")));
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key.Join("App")));
        EXPECT_FALSE(installation.UninstallEntryExists());
    }
}
