#include "sysops/file_ops.h"
#include "sysops/folder_walk.h"
#include "sysops/restart_deletion.h"

#include "tests/support/file_links.h"
#include "tests/support/pending_deletions.h"
#include "tests/support/scratch.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <vector>

// A damaged record or a hostile folder layout must never turn the removal of one
// application's folder into the removal of something else.

namespace {

// A folder with a file outside the tree to delete, and a link to it inside the tree.
struct LinkedLayout {
    std::string tree;
    std::string target;
    std::string link;
};

bool MakeLinkedLayout(const ScratchFolder& scratch, LinkedLayout& layout)
{
    layout.tree = scratch.Join("App");
    layout.target = scratch.Join("UserData");
    layout.link = layout.tree + "\\Shortcut to data";
    return MakeFolder(layout.tree) && MakeFolder(layout.target) && WriteFileText(layout.target + "\\Precious.doc", "keep")
        && WriteFileText(layout.tree + "\\App.exe", "x") && MakeFolderLink(layout.link, layout.target);
}

std::string KnownFolder(int id)
{
    char path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : "";
}

std::string Lowered(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

}

TEST(FolderLinks, TreeDeletionNeverFollowsALinkInside)
{
    ScratchFolder scratch("linkinside");
    LinkedLayout layout;
    if (!MakeLinkedLayout(scratch, layout))
        GTEST_SKIP() << "this system cannot make a folder link";

    const bool gone = DeleteFolderTree(layout.tree);
    EXPECT_EQ("keep", ReadFileText(layout.target + "\\Precious.doc")) << "the link's target is untouched";
    EXPECT_FALSE(PathExists(layout.tree + "\\App.exe"));
    if (!IsRunningUnderWine()) {
        // Wine 8 cannot remove a Unix symbolic link to a folder through RemoveDirectoryA (it
        // works on the link's target instead, which is not empty here), so there the link and
        // with it the tree's folder stay.
        EXPECT_FALSE(PathExists(layout.link));
        EXPECT_FALSE(PathExists(layout.tree));
    }
    EXPECT_EQ(!PathExists(layout.tree), gone) << "the result says whether the folder is gone";
}

TEST(FolderLinks, ContentsDeletionNeverFollowsALinkInside)
{
    ScratchFolder scratch("linkcontents");
    LinkedLayout layout;
    if (!MakeLinkedLayout(scratch, layout))
        GTEST_SKIP() << "this system cannot make a folder link";

    DeleteFolderContents(layout.tree);
    EXPECT_EQ("keep", ReadFileText(layout.target + "\\Precious.doc"));
    EXPECT_FALSE(PathExists(layout.tree + "\\App.exe"));
    EXPECT_TRUE(FolderExists(layout.tree));
}

TEST(FolderLinks, LinkGivenAsTheTreeLosesOnlyTheLink)
{
    ScratchFolder scratch("linkitself");
    LinkedLayout layout;
    if (!MakeLinkedLayout(scratch, layout))
        GTEST_SKIP() << "this system cannot make a folder link";

    (void)DeleteFolderTree(layout.link + "\\");
    EXPECT_EQ("keep", ReadFileText(layout.target + "\\Precious.doc"));
    EXPECT_TRUE(PathExists(layout.tree + "\\App.exe"));
    if (!IsRunningUnderWine()) {
        EXPECT_FALSE(PathExists(layout.link)); // Wine 8 cannot remove the link, see above
    }
}

TEST(DriveRoots, RootOfADriveIsNeverDeletedAsATree)
{
    // A drive letter mapped onto a scratch folder stands in for a real drive, so a failure
    // here costs a scratch folder rather than the test machine.
    ScratchFolder scratch("driveroot");
    ASSERT_TRUE(WriteFileText(scratch.Join("OnTheDrive.txt"), "keep"));
    ASSERT_TRUE(MakeFolder(scratch.Join("Folder")));
    MappedDrive drive(scratch.Path());
    if (drive.Letter().empty())
        GTEST_SKIP() << "no drive letter could be mapped onto a folder";

    for (const std::string& root : {drive.Letter(), drive.Letter() + "\\", drive.Letter() + "/",
                                   drive.Letter() + "\\Folder\\..", "\\\\?\\" + drive.Letter() + "\\"}) {
        SCOPED_TRACE(root);
        EXPECT_FALSE(DeleteFolderTree(root)) << "refused";
        DeleteFolderContents(root);
        EXPECT_EQ("keep", ReadFileText(scratch.Join("OnTheDrive.txt")));
        EXPECT_TRUE(FolderExists(scratch.Join("Folder")));
    }
}

TEST(ProtectedFolders, SystemAndUserFoldersAreProtectedInAnySpelling)
{
    EXPECT_TRUE(IsProtectedSystemFolder(""));
    EXPECT_TRUE(IsProtectedSystemFolder("C:"));
    EXPECT_TRUE(IsProtectedSystemFolder("C:\\"));
    EXPECT_TRUE(IsProtectedSystemFolder("c:/"));
    EXPECT_TRUE(IsProtectedSystemFolder("\\"));
    EXPECT_TRUE(IsProtectedSystemFolder("\\\\server\\share"));
    EXPECT_TRUE(IsProtectedSystemFolder("\\\\server\\share\\"));
    EXPECT_TRUE(IsProtectedSystemFolder("\\\\server\\share\\App")) << "not on a local drive";

    const int ids[] = {CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_PROFILE,
                       CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_PROGRAMS,
                       CSIDL_COMMON_APPDATA, CSIDL_COMMON_PROGRAMS};
    for (int id : ids) {
        const std::string folder = KnownFolder(id);
        if (folder.empty())
            continue;
        SCOPED_TRACE(folder);
        EXPECT_TRUE(IsProtectedSystemFolder(folder));
        EXPECT_TRUE(IsProtectedSystemFolder(folder + "\\"));
        EXPECT_TRUE(IsProtectedSystemFolder(Lowered(folder)));
        EXPECT_TRUE(IsProtectedSystemFolder(folder + "\\Sub\\.."));
    }
    char temp[MAX_PATH] = {};
    ASSERT_NE(0u, GetTempPathA(MAX_PATH, temp));
    EXPECT_TRUE(IsProtectedSystemFolder(temp)) << "the temporary folder itself";

    // The forms the system resolves to the same folders: the judge asks the system, not the text.
    const std::string windows = KnownFolder(CSIDL_WINDOWS);
    const std::string commonFiles = KnownFolder(CSIDL_PROGRAM_FILES_COMMON);
    char volume[MAX_PATH] = {};
    ASSERT_TRUE(GetVolumeNameForVolumeMountPointA((windows.substr(0, 2) + "\\").c_str(), volume, MAX_PATH));
    for (const std::string& form : {"\\\\?\\" + windows, "\\\\.\\" + windows, "\\\\?\\" + commonFiles,
                                    std::string(volume), std::string(volume) + windows.substr(3),
                                    std::string("\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\"),
                                    "\\\\localhost\\" + windows.substr(0, 1) + "$" + windows.substr(2)}) {
        SCOPED_TRACE(form);
        EXPECT_TRUE(IsProtectedSystemFolder(form));
    }
    EXPECT_TRUE(IsProtectedSystemFolder(KnownFolder(CSIDL_PROFILE) + "\\..")) << "the profile root";
}

TEST(ProtectedFolders, ApplicationFoldersAreNotProtected)
{
    ScratchFolder scratch("app");
    EXPECT_FALSE(IsProtectedSystemFolder(scratch.Path())) << "a folder inside the temporary folder";
    EXPECT_FALSE(IsProtectedSystemFolder("\\\\?\\" + scratch.Path()));
    EXPECT_FALSE(IsProtectedSystemFolder("\\\\.\\" + scratch.Path()));
    EXPECT_FALSE(IsProtectedSystemFolder(KnownFolder(CSIDL_PROGRAM_FILES) + "\\Maker\\App"));
    EXPECT_FALSE(IsProtectedSystemFolder(KnownFolder(CSIDL_PERSONAL) + "\\App Data"));
}

TEST(ProtectedFolders, FoldersThatHoldAProtectedFolderAreProtected)
{
    const std::string appData = KnownFolder(CSIDL_APPDATA);
    const std::string commonDocuments = KnownFolder(CSIDL_COMMON_DOCUMENTS);
    const std::string commonStartMenu = KnownFolder(CSIDL_COMMON_STARTMENU);
    ASSERT_FALSE(appData.empty());
    EXPECT_TRUE(IsProtectedSystemFolder(appData + "\\..")) << "the profile's AppData holds the temp folder";
    if (!commonDocuments.empty())
        EXPECT_TRUE(IsProtectedSystemFolder(commonDocuments + "\\..")) << "the public profile";
    if (!commonStartMenu.empty())
        EXPECT_TRUE(IsProtectedSystemFolder(commonStartMenu + "\\..\\..")) << "ProgramData\\Microsoft";
    EXPECT_FALSE(IsProtectedSystemFolder(appData + "\\Maker")) << "an application's own folder inside one";
}

TEST(FolderLinks, SubfolderSwappedForALinkAfterTheListingIsNotFollowed)
{
    ScratchFolder scratch("swap");
    const std::string tree = scratch.Join("App");
    const std::string target = scratch.Join("UserData");
    ASSERT_TRUE(MakeFolder(tree) && MakeFolder(tree + "\\Sub") && MakeFolder(target));
    ASSERT_TRUE(WriteFileText(tree + "\\Sub\\Old.txt", "x") && WriteFileText(target + "\\Precious.doc", "keep"));
    bool swapped = false;
    SetWalkSeamForTests([&](const std::string& folder, const std::string& name) {
        if (name != "Sub" || swapped)
            return;
        // What a hostile process does in the moment between the listing and the descent.
        MoveFileA((folder + "\\Sub").c_str(), scratch.Join("Moved").c_str());
        swapped = MakeFolderLink(folder + "\\Sub", target);
    });

    (void)DeleteFolderTree(tree);
    SetWalkSeamForTests(nullptr);
    if (!swapped)
        GTEST_SKIP() << "this system cannot make a folder link";
    EXPECT_EQ("keep", ReadFileText(target + "\\Precious.doc")) << "the link's target is untouched";
}

TEST(EmptyTreeRemoval, RefusesWhatTheTreeDeletionRefuses)
{
    ScratchFolder scratch("emptyrefuse");
    ASSERT_TRUE(MakeFolder(scratch.Join("Empty")));
    MappedDrive drive(scratch.Path());
    if (!drive.Letter().empty())
        EXPECT_FALSE(RemoveEmptyTree(drive.Letter() + "\\"));
    EXPECT_TRUE(FolderExists(scratch.Join("Empty"))) << "an empty folder on a drive given as a root stays";
    const std::string system = KnownFolder(CSIDL_SYSTEM);
    EXPECT_FALSE(RemoveEmptyTree(system));
    EXPECT_TRUE(FolderExists(system));

    LinkedLayout layout;
    if (MakeLinkedLayout(scratch, layout)) {
        ASSERT_TRUE(MakeFolder(layout.target + "\\EmptyInside"));
        EXPECT_FALSE(RemoveEmptyTree(layout.link));
        EXPECT_TRUE(FolderExists(layout.target + "\\EmptyInside")) << "a link given as the tree is not followed";
    }
}

TEST(EmptyTreeRemoval, PumpsOncePerEntry)
{
    ScratchFolder scratch("emptypump");
    ASSERT_TRUE(MakeFolder(scratch.Join("Desc")) && MakeFolder(scratch.Join("Desc\\A")) && MakeFolder(scratch.Join("Desc\\A\\B")));
    int pumped = 0;
    EXPECT_TRUE(RemoveEmptyTree(scratch.Join("Desc"), [&pumped] { ++pumped; }));
    EXPECT_EQ(2, pumped);
    EXPECT_FALSE(PathExists(scratch.Join("Desc")));
}

TEST(RestartDeletion, ReachesNothingThroughALinkNorOutsideThePathItSpells)
{
    ScratchFolder scratch("restartrefused");
    LinkedLayout layout;
    ASSERT_TRUE(MakeLinkedLayout(scratch, layout));
    char windows[MAX_PATH] = {};
    ASSERT_NE(0u, GetWindowsDirectoryA(windows, MAX_PATH));
    const std::vector<std::string> earlier = PendingRestartDeletions();

    for (const std::string& path : {layout.link + "\\Precious.doc", layout.link, layout.tree + "\\..\\UserData",
                                    std::string("App.exe"), std::string("C:\\"), std::string(windows),
                                    layout.tree + "\\missing.dll"}) {
        unsigned long error = 1;
        EXPECT_FALSE(ScheduleDeletionAtRestart(path, &error)) << path;
        EXPECT_EQ(0u, error) << path;
    }
    const std::vector<std::string> scheduled = ScheduledSince(earlier);
    ForgetRestartDeletions(scheduled);
    EXPECT_TRUE(scheduled.empty());
}

TEST(FolderWalk, TreeDeeperThanTheWalkIsLeftAndReported)
{
    // A lower limit stands in for the real one: Wine takes minutes over a chain 512 deep.
    constexpr int kLimit = 6;
    SetWalkDepthLimitForTests(kLimit);
    ScratchFolder scratch("deep");
    std::string deepest = scratch.Join("Deep");
    ASSERT_TRUE(MakeFolder(deepest));
    for (int level = 0; level < kLimit; ++level)
        ASSERT_TRUE(MakeFolder(deepest += "\\d"));
    TreeReport report;
    EXPECT_FALSE(DeleteFolderTree(scratch.Join("Deep"), &report));
    EXPECT_TRUE(report.tooDeep);
    EXPECT_TRUE(PathExists(deepest)) << "the deepest folder stays";

    ASSERT_TRUE(RemoveDirectoryA(deepest.c_str()));
    EXPECT_TRUE(DeleteFolderTree(scratch.Join("Deep"), &report)) << "a tree as deep as the walk goes";
    EXPECT_FALSE(report.tooDeep);
    SetWalkDepthLimitForTests(0);
}
