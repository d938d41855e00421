#pragma once

#include "record/install_record.h"

// The sections and [Comm] keys of the record file, shared by the reader and the writer so
// that both walk the same layout in the same order.

enum class ItemSection { CopyFile, CreateDir, RegItem, ShellObj };

struct ItemSectionName {
    ItemSection section;
    const char* name;
};

// In the order the writer puts them in.
inline constexpr ItemSectionName ItemSectionNames[] = {
    {ItemSection::CopyFile, "CopyFile"},
    {ItemSection::CreateDir, "CreateDir"},
    {ItemSection::RegItem, "RegItem"},
    {ItemSection::ShellObj, "ShellObj"},
};

inline constexpr char CommonSectionName[] = "Comm";
inline constexpr char CountKey[] = "Count";

struct CommonTextKey {
    const char* key;
    std::string RecordCommon::*field;
};

struct CommonNumberKey {
    const char* key;
    int RecordCommon::*field;
};

// The [Comm] keys; the writer puts the texts first, then the numbers.
inline constexpr CommonTextKey CommonTextKeys[] = {
    {"UnInstallFolder", &RecordCommon::unInstallFolder},
    {"AppName", &RecordCommon::appName},
    {"GUID", &RecordCommon::guid},
    {"DescPath", &RecordCommon::descPath},
    {"Compent", &RecordCommon::compent},
    {"FileGroup", &RecordCommon::fileGroup},
};

inline constexpr CommonNumberKey CommonNumberKeys[] = {
    {"SetupType", &RecordCommon::setupType},
    {"sftype", &RecordCommon::sftype},
    {"sfentype", &RecordCommon::sfentype},
};

// The four fields of a registry item's first line and the two of a shell object's.
inline constexpr const char* RegistryItemFields[] = {"Type", "Root", "Path", "Name"};
inline constexpr const char* ShellObjectFields[] = {"Type", "Path"};

[[nodiscard]] std::vector<RecordItem>& ItemList(InstallRecord& record, ItemSection section);
[[nodiscard]] const std::vector<RecordItem>& ItemList(const InstallRecord& record, ItemSection section);
