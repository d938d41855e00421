#include "record/decimal_text.h"
#include "record/install_record.h"
#include "record/record_field_names.h"
#include "record/record_fields.h"
#include "record/record_layout.h"
#include "record/record_line_reader.h"

namespace {

// The store takes the value over; the line is not used again.
using ItemStore = void (*)(RecordItem& item, const std::string& suffix, std::string& value);

// Sets the fields named by the comma-separated value, or none when it holds too few.
template <std::size_t Count>
void StoreSplitFields(RecordItem& item, const std::string& value, const char* const (&names)[Count])
{
    std::vector<std::string> fields;
    if (!SplitRecordFields(value, Count, fields))
        return;
    for (std::size_t i = 0; i < Count; ++i)
        item.SetField(names[i], fields[i]);
}

void StoreCopyFile(RecordItem& item, const std::string& suffix, std::string& value)
{
    // Any suffix names a field, so the installer can add facts the uninstaller passes on.
    item.SetField(suffix.empty() ? std::string(RecordFieldName::FileName) : suffix, std::move(value));
}

void StoreCreateDir(RecordItem& item, const std::string& suffix, std::string& value)
{
    if (suffix.empty())
        item.SetField(RecordFieldName::DirName, std::move(value));
}

// The value lines of a registry item are kept so that a record that is saved again keeps
// them; the uninstall reads only the four fields of the first line. Other suffixes are
// dropped, so that no suffix can overwrite one of those four fields.
constexpr const char* RegistryValueFields[] = {RecordFieldName::DataType, RecordFieldName::Data,
                                               RecordFieldName::Uninstall, RecordFieldName::UpdateType};

void StoreRegItem(RecordItem& item, const std::string& suffix, std::string& value)
{
    if (suffix.empty()) {
        StoreSplitFields(item, value, RegistryItemFields);
        return;
    }
    for (const char* name : RegistryValueFields) {
        if (suffix == name)
            item.SetField(name, std::move(value));
    }
}

void StoreShellObj(RecordItem& item, const std::string& suffix, std::string& value)
{
    if (suffix.empty())
        StoreSplitFields(item, value, ShellObjectFields);
}

struct ItemSectionReader {
    ItemSection section;
    ItemStore store;
};

constexpr ItemSectionReader ItemSectionReaders[] = {
    {ItemSection::CopyFile, StoreCopyFile},
    {ItemSection::CreateDir, StoreCreateDir},
    {ItemSection::RegItem, StoreRegItem},
    {ItemSection::ShellObj, StoreShellObj},
};

void ReadCommonLine(RecordCommon& common, const RecordLine& line)
{
    for (const auto& entry : CommonTextKeys) {
        if (line.key == entry.key)
            common.*entry.field = line.value;
    }
    for (const auto& entry : CommonNumberKeys) {
        if (line.key == entry.key)
            common.*entry.field = ParseDecimal(line.value);
    }
}

const ItemSectionReader* FindItemSection(const std::string& name)
{
    for (const auto& entry : ItemSectionNames) {
        if (name != entry.name)
            continue;
        for (const auto& reader : ItemSectionReaders) {
            if (reader.section == entry.section)
                return &reader;
        }
    }
    return nullptr;
}

// Items are numbered 1, 2, 3, ... in order of first appearance: a number names an existing
// item or the next new one, and any other number is ignored, so a gap ends the list.
RecordItem* SelectItem(std::vector<RecordItem>& items, int number)
{
    const auto index = static_cast<std::size_t>(number) - 1;
    if (index < items.size())
        return &items[index];
    if (index == items.size()) {
        items.emplace_back();
        return &items.back();
    }
    return nullptr;
}

void ReadItemLine(InstallRecord& record, const ItemSectionReader& reader, RecordLine& line)
{
    int number = 0;
    std::string suffix;
    if (!InstallRecord::ParseItemKey(line.key, number, suffix))
        return;
    if (RecordItem* item = SelectItem(ItemList(record, reader.section), number))
        reader.store(*item, suffix, line.value);
}

}

bool InstallRecord::Load(const std::string& path)
{
    Clear();
    m_recordPath = path;
    m_readError = false;
    RecordLineReader reader;
    if (!reader.Open(path))
        return false;
    RecordLine line;
    while (reader.Next(line)) {
        if (line.section == CommonSectionName) {
            ReadCommonLine(m_common, line);
        } else if (const ItemSectionReader* section = FindItemSection(line.section)) {
            ReadItemLine(*this, *section, line);
        }
    }
    if (reader.Failed()) {
        // A record read only in part is no record: nothing of it may be removed.
        Clear();
        m_common = RecordCommon{};
        m_readError = true;
        return false;
    }
    return true;
}
