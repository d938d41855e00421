#include "record/decimal_text.h"
#include "record/install_record.h"
#include "record/record_field_names.h"
#include "record/record_fields.h"
#include "record/record_layout.h"

#include <cstdio>

namespace {

constexpr char LineEnd[] = "\r\n";

// A value holding a line end would end its line early, and the rest would be read as a line
// of its own, by this reader (CR) and by the system's profile functions (CR or LF) alike.
bool FitsOnOneLine(const std::string& value) { return value.find_first_of("\r\n") == std::string::npos; }

// The comma-separated fields of a first line are read back by splitting at commas, so a
// field with a comma would come back as a different key, value or file.
bool FitsInCommaField(const std::string& value) { return FitsOnOneLine(value) && value.find(',') == std::string::npos; }

void AppendLine(std::string& block, const std::string& key, const std::string& value)
{
    block += key;
    block += '=';
    block += value;
    block += LineEnd;
}

std::string ItemKey(int number, const char* suffix = nullptr)
{
    std::string key = "Item" + FormatDecimal(number);
    if (suffix) {
        key += '_';
        key += suffix;
    }
    return key;
}

struct SuffixLine {
    const char* field;
    bool onlyWithText; // written only when the field is present and not empty
};

constexpr SuffixLine CopyFileLines[] = {
    {RecordFieldName::RegType, false},   {RecordFieldName::ServiceName, false}, {RecordFieldName::ServiceID, false},
    {RecordFieldName::Uninstall, false}, {RecordFieldName::FileGroup, false},   {RecordFieldName::ModifyDate, true},
    {RecordFieldName::UpdateType, true},
};

constexpr SuffixLine RegistryValueLines[] = {
    {RecordFieldName::DataType, false},
    {RecordFieldName::Data, false},
    {RecordFieldName::Uninstall, false},
    {RecordFieldName::UpdateType, true},
};

template <std::size_t Count>
void AppendSuffixLines(std::string& block, const RecordItem& item, int number, const SuffixLine (&lines)[Count])
{
    std::string value;
    for (const auto& line : lines) {
        if (!item.GetField(line.field, value) || (line.onlyWithText && value.empty()) || !FitsOnOneLine(value))
            continue;
        AppendLine(block, ItemKey(number, line.field), value);
    }
}

// The "Item<n>=a,b,..." line of the named fields; false when one is absent or cannot be
// written so that it reads back the same.
template <std::size_t Count>
bool AppendJoinedLine(std::string& block, const RecordItem& item, int number, const char* const (&names)[Count])
{
    std::vector<std::string> fields(Count);
    for (std::size_t i = 0; i < Count; ++i) {
        if (!item.GetField(names[i], fields[i]) || !FitsInCommaField(fields[i]))
            return false;
    }
    AppendLine(block, ItemKey(number), JoinRecordFields(fields));
    return true;
}

bool AppendSingleLine(std::string& block, const RecordItem& item, int number, const char* name)
{
    std::string value;
    if (!item.GetField(name, value) || !FitsOnOneLine(value))
        return false;
    AppendLine(block, ItemKey(number), value);
    return true;
}

bool FormCopyFileBlock(const RecordItem& item, int number, std::string& block)
{
    if (!AppendSingleLine(block, item, number, RecordFieldName::FileName))
        return false;
    AppendSuffixLines(block, item, number, CopyFileLines);
    return true;
}

bool FormCreateDirBlock(const RecordItem& item, int number, std::string& block)
{
    return AppendSingleLine(block, item, number, RecordFieldName::DirName);
}

bool FormRegItemBlock(const RecordItem& item, int number, std::string& block)
{
    if (!AppendJoinedLine(block, item, number, RegistryItemFields))
        return false;
    if (EqualsKeyword(item.Field(RecordFieldName::Type), RecordTypeName::Value))
        AppendSuffixLines(block, item, number, RegistryValueLines);
    return true;
}

bool FormShellObjBlock(const RecordItem& item, int number, std::string& block)
{
    return AppendJoinedLine(block, item, number, ShellObjectFields);
}

using BlockFormer = bool (*)(const RecordItem& item, int number, std::string& block);

struct ItemSectionWriter {
    ItemSection section;
    BlockFormer form;
};

constexpr ItemSectionWriter ItemSectionWriters[] = {
    {ItemSection::CopyFile, FormCopyFileBlock},
    {ItemSection::CreateDir, FormCreateDirBlock},
    {ItemSection::RegItem, FormRegItemBlock},
    {ItemSection::ShellObj, FormShellObjBlock},
};

BlockFormer FindBlockFormer(ItemSection section)
{
    for (const auto& writer : ItemSectionWriters) {
        if (writer.section == section)
            return writer.form;
    }
    return nullptr;
}

// Appends text to the file and remembers whether every write succeeded.
class RecordFileWriter {
public:
    explicit RecordFileWriter(std::FILE* file) : m_file(file) {}

    void Write(const std::string& text)
    {
        if (std::fwrite(text.data(), 1, text.size(), m_file) != text.size())
            m_failed = true;
    }
    void WriteLine(const std::string& text) { Write(text + LineEnd); }
    [[nodiscard]] bool Close()
    {
        const bool closed = std::fclose(m_file) == 0;
        return closed && !m_failed;
    }

private:
    std::FILE* m_file;
    bool m_failed = false;
};

// Items whose first line cannot be formed are left out, and the next block takes their
// number: the reader ends a list at the first gap, so every later item would be lost.
void WriteItemSection(RecordFileWriter& writer, const InstallRecord& record, const ItemSectionName& entry)
{
    const BlockFormer form = FindBlockFormer(entry.section);
    writer.WriteLine(std::string("[") + entry.name + "]");
    int written = 0;
    std::string block;
    for (const RecordItem& item : ItemList(record, entry.section)) {
        block.clear();
        if (form(item, written + 1, block)) {
            ++written;
            writer.Write(block);
        }
    }
    writer.WriteLine(std::string(CountKey) + "=" + FormatDecimal(written));
}

void WriteCommonSection(RecordFileWriter& writer, const RecordCommon& common)
{
    writer.WriteLine(std::string("[") + CommonSectionName + "]");
    for (const auto& entry : CommonTextKeys) {
        const std::string& value = common.*entry.field;
        if (FitsOnOneLine(value))
            writer.WriteLine(std::string(entry.key) + "=" + value);
    }
    for (const auto& entry : CommonNumberKeys)
        writer.WriteLine(std::string(entry.key) + "=" + FormatDecimal(common.*entry.field));
}

}

bool InstallRecord::Save(const std::string& path)
{
    m_recordPath = path;
    if (path.empty())
        return false;
    // A new file every time, so nothing of an earlier, longer record survives at its end.
    std::remove(path.c_str());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    RecordFileWriter writer(file);
    for (const auto& entry : ItemSectionNames)
        WriteItemSection(writer, *this, entry);
    WriteCommonSection(writer, m_common);
    return writer.Close();
}
