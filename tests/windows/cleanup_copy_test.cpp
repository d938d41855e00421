#include "app/run/cleanup_copy.h"
#include "base/path_text.h"
#include "sysops/work_folder.h"
#include "sysops/write_trust.h"

#include "tests/support/file_links.h"
#include "tests/support/fixtures.h"
#include "tests/support/pending_deletions.h"
#include "tests/support/scratch.h"
#include "tests/support/temp_folder_override.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// The cleanup copy runs elevated from the user's temp folder, which an unelevated process of
// the same user can write to. A short-lived program stands in for the uninstaller here.

namespace {

const char kProgram[] = "fixture_sleeper.exe";

// The accounts the folder's access list lets in, as SID texts. (Wine shows a list made from
// the folder's Unix mode: the owner's bits for SYSTEM and the prefix's user, the others' bits
// for Everyone.)
std::vector<std::string> AccessListAccounts(const std::string& folder)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor)
        != ERROR_SUCCESS)
        return {"unreadable"};
    std::vector<std::string> accounts;
    for (WORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        char* text = nullptr;
        if (GetAce(dacl, i, reinterpret_cast<void**>(&header)) && header->AceType == ACCESS_ALLOWED_ACE_TYPE
            && ConvertSidToStringSidA(&reinterpret_cast<ACCESS_ALLOWED_ACE*>(header)->SidStart, &text)) {
            accounts.push_back(text);
            LocalFree(text);
        }
    }
    LocalFree(descriptor);
    return accounts;
}

}

TEST(CleanupCopy, RunsFromANewFolderThatOnlyAdministratorsAndItsAccountMayWrite)
{
    ScratchFolder scratch("copyfolder");
    TempFolderOverride temp(scratch.Path());
    std::string copyFolder;
    EXPECT_TRUE(StartCleanupCopy(FixturePath(kProgram), scratch.Join("Nothing"),
                                 [&](const std::string& copy) { copyFolder = GetFolderPart(copy); }));
    // The temp folder was empty: the copy's folder is a new one in it.
    EXPECT_NE(scratch.Path(), copyFolder) << "not the temp folder itself";
    EXPECT_EQ(scratch.Path(), GetFolderPart(copyFolder));
    const std::vector<std::string> allowed = {"S-1-5-18", "S-1-5-32-544", OwnAccountSidText()};
    const std::vector<std::string> accounts = AccessListAccounts(copyFolder);
    EXPECT_FALSE(accounts.empty());
    for (const std::string& account : accounts)
        EXPECT_NE(allowed.end(), std::find(allowed.begin(), allowed.end(), account)) << account;
}

TEST(CleanupCopy, HardLinkInTheTempFolderIsReplacedNotWrittenThrough)
{
    ScratchFolder scratch("copylink");
    const std::string sentinel = scratch.Join("Sentinel.exe");
    ASSERT_TRUE(WriteFileText(sentinel, "keep"));
    ASSERT_TRUE(CreateHardLinkA(scratch.Join("strKVTemp.exe").c_str(), sentinel.c_str(), nullptr));
    TempFolderOverride temp(scratch.Path());

    std::string copyPath;
    EXPECT_TRUE(StartCleanupCopy(FixturePath(kProgram), scratch.Join("Nothing"),
                                 [&](const std::string& copy) { copyPath = copy; }));
    EXPECT_EQ("keep", ReadFileText(sentinel));
    EXPECT_EQ(ReadFileText(FixturePath(kProgram)), ReadFileText(copyPath));
}

TEST(CleanupCopy, CopyCannotBeChangedOrRemovedUntilStarted)
{
    ScratchFolder scratch("copyheld");
    TempFolderOverride temp(scratch.Path());
    DWORD writeError = 0;
    DWORD deleteError = 0;
    std::string copyPath;
    const bool started = StartCleanupCopy(FixturePath(kProgram), scratch.Join("Nothing"), [&](const std::string& copy) {
        copyPath = copy;
        HANDLE writer = CreateFileA(copy.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        writeError = writer == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (writer != INVALID_HANDLE_VALUE)
            CloseHandle(writer);
        deleteError = DeleteFileA(copy.c_str()) ? 0 : GetLastError();
    });
    EXPECT_TRUE(started);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), writeError);
    EXPECT_NE(0u, deleteError);
    EXPECT_TRUE(PathExists(copyPath));
}

TEST(CleanupCopy, TempFolderTooLongMakesNoCopy)
{
    ScratchFolder scratch("copylong");
    const std::string tooLong = scratch.Path() + "\\" + std::string(MAX_PATH, 'x');
    TempFolderOverride temp(tooLong);
    char root[MAX_PATH] = {};
    GetFullPathNameA("\\strKVTemp.exe", MAX_PATH, root, nullptr);
    const bool rootCopyBefore = PathExists(root);

    EXPECT_FALSE(StartCleanupCopy(FixturePath(kProgram), scratch.Join("Nothing")));
    EXPECT_EQ(rootCopyBefore, PathExists(root)) << "no copy at the drive root";
}

TEST(CleanupCopy, CopyThatCannotBeMadeOrStartedIsReportedAndLeavesNoWorkFolder)
{
    ScratchFolder scratch("copyfails");
    const std::string temp = scratch.Join("Temp");
    ASSERT_TRUE(MakeFolder(temp));
    const std::string notAProgram = scratch.Join("NotAProgram.exe");
    ASSERT_TRUE(WriteFileText(notAProgram, "not a program"));
    TempFolderOverride override(temp);

    std::string copyPath;
    EXPECT_FALSE(StartCleanupCopy(notAProgram, scratch.Join("Nothing"), [&](const std::string& copy) { copyPath = copy; }));
    ASSERT_FALSE(copyPath.empty()) << "the copy was made, and only its start failed";
    EXPECT_FALSE(PathExists(GetFolderPart(copyPath))) << "the work folder stayed";

    EXPECT_FALSE(StartCleanupCopy(scratch.Join("Missing.exe"), scratch.Join("Nothing")));
    WIN32_FIND_DATAA entry = {};
    HANDLE search = FindFirstFileA((temp + "\\" + kWorkFolderPrefix + "*").c_str(), &entry);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "a work folder stayed: " << entry.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

TEST(CleanupCopy, WhatStaysHeldIsScheduledFilesFirstThenFoldersDeepestFirstNothingThroughALink)
{
    ScratchFolder scratch("copyheldfiles");
    const std::string folder = scratch.Join("App");
    const std::string outside = scratch.Join("Outside");
    ASSERT_TRUE(MakeFolder(folder) && MakeFolder(folder + "\\Sub") && MakeFolder(outside));
    for (const std::string& file : {folder + "\\shell.dll", folder + "\\Sub\\hook.dll", outside + "\\mine.txt"})
        ASSERT_TRUE(WriteFileText(file, "held"));
    ASSERT_TRUE(WriteFileText(folder + "\\free.txt", "free"));
    // The copy deletes only a folder that still holds its uninstaller.
    ASSERT_TRUE(WriteFileText(folder + "\\UnInstall.exe", "uninstaller"));
    ASSERT_TRUE(MakeFolderLink(folder + "\\Link", outside));
    HeldOpenFile shell(folder + "\\shell.dll");
    HeldOpenFile hook(folder + "\\Sub\\hook.dll");
    HeldOpenFile mine(outside + "\\mine.txt");
    ASSERT_TRUE(shell.IsHeld() && hook.IsHeld() && mine.IsHeld());
    const std::vector<std::string> earlier = PendingRestartDeletions();

    RunCleanup(CleanupRequest{0, folder});
    const std::vector<std::string> scheduled = ScheduledSince(earlier);
    ForgetRestartDeletions(scheduled);

    EXPECT_FALSE(PathExists(folder + "\\free.txt"));
    EXPECT_TRUE(PathExists(outside + "\\mine.txt")) << "nothing is deleted through the link";
    ASSERT_EQ(4u, scheduled.size());
    const std::vector<std::string> files(scheduled.begin(), scheduled.begin() + 2);
    EXPECT_NE(files.end(), std::find(files.begin(), files.end(), folder + "\\shell.dll"));
    EXPECT_NE(files.end(), std::find(files.begin(), files.end(), folder + "\\Sub\\hook.dll"));
    EXPECT_EQ(folder + "\\Sub", scheduled[2]);
    EXPECT_EQ(folder, scheduled[3]) << "the uninstall folder goes last";
}
