// The removal of a folder tree where it holds no files, as the run removes the description
// folder of the record: files keep their folders, and a link out of the tree is never followed.

#include "sysops/file_ops.h"
#include "tests/support/file_links.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(EmptyTree, FoldersWithoutFilesGoWhileFilesKeepTheirChain)
{
    ScratchFolder scratch("emptytree");
    const std::string root = scratch.Join("Desc");
    for (const char* folder : {"", "\\A", "\\A\\B", "\\A\\Empty", "\\C", "\\C\\D"})
        MakeFolder(root + folder);
    WriteFileText(root + "\\A\\B\\kept.txt", "x");

    EXPECT_FALSE(RemoveEmptyTree(root + "\\"));
    EXPECT_TRUE(PathExists(root + "\\A\\B\\kept.txt"));
    EXPECT_FALSE(PathExists(root + "\\A\\Empty"));
    EXPECT_FALSE(PathExists(root + "\\C"));

    DeleteFileA((root + "\\A\\B\\kept.txt").c_str());
    EXPECT_TRUE(RemoveEmptyTree(root));
    EXPECT_FALSE(PathExists(root));
    EXPECT_TRUE(RemoveEmptyTree(""));
}

TEST(EmptyTree, LinkInsideTheTreeIsNotFollowed)
{
    ScratchFolder scratch("emptylink");
    const std::string root = scratch.Join("Desc");
    const std::string outside = scratch.Join("Outside");
    MakeFolder(root);
    MakeFolder(outside);
    MakeFolder(outside + "\\EmptyButNotOurs");
    if (!MakeFolderLink(root + "\\Link", outside))
        GTEST_SKIP() << "no folder link could be made here";
    EXPECT_FALSE(RemoveEmptyTree(root));
    EXPECT_TRUE(PathExists(outside + "\\EmptyButNotOurs")) << "the link's target is somebody else's";
    RemoveDirectoryA((root + "\\Link").c_str());
}
