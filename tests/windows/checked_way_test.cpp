#include "sysops/checked_way.h"
#include "sysops/file_ops.h"

#include "tests/support/file_links.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

// A record names files and folders by path; a user who can write one of the folders on the way
// can plant a link there. Under Wine a Unix symbolic link stands in for a junction, which the
// scratch folder's removal cannot remove, so each run takes folder names of its own.

namespace {

std::string RunLabel(const char* label) { return label + std::to_string(GetTickCount()); }

}

TEST(RecordedPaths, NothingIsDeletedThroughALinkOnTheWay)
{
    ScratchFolder scratch(RunLabel("way"));
    const std::string target = scratch.Join("Target");
    ASSERT_TRUE(MakeFolder(target) && MakeFolder(target + "\\Empty") && MakeFolder(target + "\\Sub"));
    ASSERT_TRUE(WriteFileText(target + "\\Precious.doc", "keep") && WriteFileText(target + "\\Sub\\Deep.doc", "keep"));
    ASSERT_TRUE(MakeFolder(scratch.Join("Writable")));
    ASSERT_TRUE(MakeFolderLink(scratch.Join("Writable\\Linked"), target));

    const FileDeletion file = DeleteFileForced(scratch.Join("Writable\\Linked\\Precious.doc"));
    EXPECT_EQ(FileDeletion::Refused, file.outcome);
    EXPECT_TRUE(file.throughLink);
    const FileDeletion deep = DeleteFileForced(scratch.Join("Writable\\Linked\\Sub\\Deep.doc"));
    EXPECT_EQ(FileDeletion::Refused, deep.outcome) << "a link anywhere on the way";
    const FolderRemoval folder = RemoveEmptyFolder(scratch.Join("Writable\\Linked\\Empty"));
    EXPECT_EQ(FolderRemoval::Refused, folder.outcome);
    EXPECT_FALSE(DeleteFolderTree(scratch.Join("Writable\\Linked\\Sub")));
    EXPECT_FALSE(RemoveEmptyTree(scratch.Join("Writable\\Linked\\Empty")));
    EXPECT_EQ("keep", ReadFileText(target + "\\Precious.doc"));
    EXPECT_EQ("keep", ReadFileText(target + "\\Sub\\Deep.doc"));
    EXPECT_TRUE(PathExists(target + "\\Empty"));
}

TEST(RecordedPaths, FolderSwappedForALinkAfterItsCheckIsNotFollowed)
{
    ScratchFolder scratch(RunLabel("swap"));
    const std::string folder = scratch.Join("App");
    ASSERT_TRUE(MakeFolder(folder) && MakeFolder(scratch.Join("Target")));
    ASSERT_TRUE(WriteFileText(folder + "\\a.txt", "x") && WriteFileText(folder + "\\b.txt", "x"));
    ASSERT_TRUE(WriteFileText(scratch.Join("Target\\b.txt"), "keep"));
    CheckedWay way;
    EXPECT_EQ(FileDeletion::Deleted, DeleteFileForced(folder + "\\a.txt", &way).outcome);

    // The checked folder moves away and a link takes its name: the next file of the folder is
    // still the checked folder's.
    ASSERT_TRUE(MoveFileA(folder.c_str(), scratch.Join("Moved").c_str()));
    ASSERT_TRUE(MakeFolderLink(folder, scratch.Join("Target")));
    EXPECT_EQ(FileDeletion::Deleted, DeleteFileForced(folder + "\\b.txt", &way).outcome);
    EXPECT_EQ("keep", ReadFileText(scratch.Join("Target\\b.txt")));
    // Wine opens a name relative to a folder handle by the folder's path, so there the checked
    // folder's file may stay; the link's target is safe all the same.
    if (!IsRunningUnderWine()) {
        EXPECT_FALSE(PathExists(scratch.Join("Moved\\b.txt")));
    }
    way.Release();
    EXPECT_EQ(FileDeletion::Refused, DeleteFileForced(folder + "\\b.txt", &way).outcome) << "checked anew";
}

TEST(RecordedPaths, MissingFilesAndPathFormsAreTold)
{
    ScratchFolder scratch("forms");
    ASSERT_TRUE(WriteFileText(scratch.Join("a.txt"), "x"));
    CheckedWay way;
    EXPECT_EQ(FileDeletion::Missing, DeleteFileForced(scratch.Join("missing.txt"), &way).outcome);
    EXPECT_EQ(FileDeletion::Missing, DeleteFileForced(scratch.Join("Nowhere\\a.txt"), &way).outcome);
    EXPECT_EQ(FileDeletion::Missing, DeleteFileForced(scratch.Join("a.txt\\b.txt"), &way).outcome);
    for (const std::string& path : {std::string("a.txt"), scratch.Join("..\\a.txt"), std::string("C:\\")}) {
        const FileDeletion refused = DeleteFileForced(path, &way);
        EXPECT_EQ(FileDeletion::Refused, refused.outcome) << path;
        EXPECT_FALSE(refused.throughLink) << path;
    }
    EXPECT_EQ(FileDeletion::Deleted, DeleteFileForced("\\\\?\\" + scratch.Join("a.txt"), &way).outcome);
    EXPECT_FALSE(PathExists(scratch.Join("a.txt")));
}
