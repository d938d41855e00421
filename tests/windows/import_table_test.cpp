#include "tests/support/fixtures.h"
#include "tests/support/pe_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// UnInstall.exe runs elevated, its copy from the temp folder. The loader resolves its imports
// before any code of ours runs, and looks beside the executable for every DLL that is not one
// of the system's known DLLs: a version.dll planted in the temp folder would run elevated.

namespace {

// The known DLLs of Windows 7 to 11, always mapped from the system folder. comctl32 is bound
// side by side by the manifest, which also names its place.
const char* const kSafeImports[] = {
    "advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "gdi32.dll", "gdiplus.dll", "imagehlp.dll",
    "imm32.dll", "kernel32.dll", "msctf.dll", "msvcrt.dll", "normaliz.dll", "nsi.dll", "ole32.dll",
    "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "wldap32.dll", "ws2_32.dll", "ntdll.dll", "comctl32.dll",
};

std::string Lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
    return text;
}

// The file offset of a relative virtual address, through the section table.
bool FileOffset(const PeImage& image, std::size_t sections, DWORD rva, std::size_t& offset)
{
    for (WORD i = 0; i < image.headers.FileHeader.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER section;
        if (!image.ReadAt(sections + i * sizeof section, section))
            return false;
        if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData) {
            offset = rva - section.VirtualAddress + section.PointerToRawData;
            return true;
        }
    }
    return false;
}

// The names in the import directory of a 64-bit executable; false when it cannot be read.
bool ImportedDlls(const std::string& path, std::vector<std::string>& names)
{
    PeImage image;
    if (!ReadPeImage(path, image))
        return false;
    const std::size_t sections = image.dos.e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader)
        + image.headers.FileHeader.SizeOfOptionalHeader;
    const DWORD importRva = image.headers.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    std::size_t descriptorOffset = 0;
    if (!FileOffset(image, sections, importRva, descriptorOffset))
        return false;
    for (IMAGE_IMPORT_DESCRIPTOR descriptor; image.ReadAt(descriptorOffset, descriptor) && descriptor.Name;
         descriptorOffset += sizeof descriptor) {
        std::size_t nameOffset = 0;
        if (!FileOffset(image, sections, descriptor.Name, nameOffset))
            return false;
        names.push_back(Lowered(image.bytes.data() + nameOffset));
    }
    return !names.empty();
}

}

TEST(ImportTable, UninstallerImportsOnlyKnownSystemDlls)
{
    std::vector<std::string> names;
    ASSERT_TRUE(ImportedDlls(FixturePath("UnInstall.exe"), names));
    for (const std::string& name : names) {
        const bool safe = std::any_of(std::begin(kSafeImports), std::end(kSafeImports),
                                      [&name](const char* known) { return name == known; });
        EXPECT_TRUE(safe) << name << " is imported, so it is loaded before the DLL search is restricted";
    }
}
