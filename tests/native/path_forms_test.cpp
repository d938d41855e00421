#include "base/path_forms.h"

#include <gtest/gtest.h>

// The text side of the judge of folders to delete: a path in a device or long form is
// judged as the drive path it names, and a folder is protected when it holds a protected one.

TEST(PathForms, DeviceAndLongFormsNameTheirDrivePath)
{
    EXPECT_EQ("C:\\windows", WithoutDevicePrefix("\\\\?\\C:\\windows"));
    EXPECT_EQ("C:\\windows", WithoutDevicePrefix("\\\\.\\C:\\windows"));
    EXPECT_EQ("\\\\server\\share", WithoutDevicePrefix("\\\\?\\unc\\server\\share"));
    EXPECT_EQ("\\\\server\\share", WithoutDevicePrefix("\\\\server\\share"));

    const struct {
        const char* path;
        PathForm form;
    } cases[] = {
        {"C:\\App", PathForm::DrivePath},      {"c:/App", PathForm::DrivePath},
        {"\\\\?\\C:\\App", PathForm::DrivePath}, {"\\\\.\\C:\\App", PathForm::DrivePath},
        {"\\\\?\\C:", PathForm::DrivePath},    {"\\\\server\\share\\App", PathForm::Network},
        {"\\\\localhost\\C$\\windows", PathForm::Network}, {"\\\\?\\UNC\\localhost\\C$", PathForm::Network},
        {"//server/share", PathForm::Network}, {"\\\\?\\Volume{0-1}\\App", PathForm::Device},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\", PathForm::Device}, {"\\\\.\\PhysicalDrive0", PathForm::Device},
        {"App", PathForm::Relative},           {"C:App", PathForm::Relative},
        {"\\App", PathForm::Relative},         {"", PathForm::Relative},
    };
    for (const auto& entry : cases)
        EXPECT_EQ(entry.form, ClassifyPathForm(entry.path)) << entry.path;
}

TEST(PathForms, FolderThatIsOrHoldsAProtectedOneIsProtected)
{
    ProtectedFolderList list;
    list.Add("C:\\Users\\bob", Protection::OtherUsersProfile);
    list.Add("C:\\Windows\\System32", Protection::System);
    EXPECT_EQ(Protection::OtherUsersProfile, list.Find("c:\\users\\BOB"));
    EXPECT_EQ(Protection::OtherUsersProfile, list.Find("C:\\Users"));
    EXPECT_EQ(Protection::System, list.Find("C:\\Windows"));
    EXPECT_EQ(Protection::None, list.Find("C:\\Users\\bob\\AppData\\Local\\Maker")) << "inside is not holding";
    EXPECT_EQ(Protection::None, list.Find("C:\\Users\\bobby")) << "whole names only";
    EXPECT_EQ(Protection::None, list.Find("C:\\Windows\\System"));
}
