#include "record/install_record.h"

#include "record/decimal_text.h"
#include "record/record_layout.h"

namespace {

constexpr char ItemKeyPrefix[] = "Item";
constexpr std::string::size_type ItemKeyPrefixLength = sizeof ItemKeyPrefix - 1;

}

void InstallRecord::Clear()
{
    m_copyFiles.clear();
    m_createDirs.clear();
    m_regItems.clear();
    m_shellObjects.clear();
}

bool InstallRecord::ParseItemKey(const std::string& key, int& number, std::string& suffix)
{
    number = 0;
    const auto underscore = key.find('_');
    const std::string prefix = key.substr(0, underscore);
    suffix = underscore == std::string::npos ? std::string() : key.substr(underscore + 1);
    if (prefix.size() <= ItemKeyPrefixLength || prefix.compare(0, ItemKeyPrefixLength, ItemKeyPrefix) != 0)
        return false;
    number = ParseDecimal(prefix.substr(ItemKeyPrefixLength));
    return number >= 1;
}

namespace {

// The list of a section, for a const or a mutable record.
template <typename Record>
auto& SectionList(Record& record, ItemSection section)
{
    switch (section) {
    case ItemSection::CopyFile:
        return record.CopyFiles();
    case ItemSection::CreateDir:
        return record.CreateDirs();
    case ItemSection::RegItem:
        return record.RegItems();
    case ItemSection::ShellObj:
        break;
    }
    return record.ShellObjects();
}

}

std::vector<RecordItem>& ItemList(InstallRecord& record, ItemSection section) { return SectionList(record, section); }

const std::vector<RecordItem>& ItemList(const InstallRecord& record, ItemSection section)
{
    return SectionList(record, section);
}

bool SameRecordContent(const InstallRecord& left, const InstallRecord& right)
{
    for (const auto& entry : ItemSectionNames) {
        if (ItemList(left, entry.section) != ItemList(right, entry.section))
            return false;
    }
    for (const auto& entry : CommonTextKeys) {
        if (left.Common().*entry.field != right.Common().*entry.field)
            return false;
    }
    for (const auto& entry : CommonNumberKeys) {
        if (left.Common().*entry.field != right.Common().*entry.field)
            return false;
    }
    return true;
}
