#include "record/record_queries.h"

#include "record/decimal_text.h"
#include "record/record_field_names.h"
#include "record/record_fields.h"
#include "record/record_layout.h"

namespace {

// Appends the joined fields of every item that has all of them.
template <std::size_t Count>
void ListJoinedFields(const std::vector<RecordItem>& items, const char* const (&names)[Count],
                      std::vector<std::string>& entries)
{
    std::vector<std::string> fields(Count);
    for (const RecordItem& item : items) {
        bool complete = true;
        for (std::size_t i = 0; i < Count && complete; ++i)
            complete = item.GetField(names[i], fields[i]);
        if (complete)
            entries.push_back(JoinRecordFields(fields));
    }
}

}

void ListFilesToRemove(const InstallRecord& record, const FileTimeSource& fileTimes, std::vector<std::string>& files)
{
    for (const RecordItem& item : record.CopyFiles()) {
        if (ShouldRemoveFile(item, fileTimes))
            files.push_back(item.Field(RecordFieldName::FileName));
    }
}

void ListFilesByPolicy(const InstallRecord& record, const FileTimeSource& fileTimes, std::vector<std::string>& files,
                       std::vector<FileRemovalDecision>& removeDecisions, std::vector<KeptFile>& keptFiles)
{
    for (const RecordItem& item : record.CopyFiles()) {
        const FileRemovalDecision decision = DecideFileRemoval(item, fileTimes);
        if (decision.remove) {
            files.push_back(item.Field(RecordFieldName::FileName));
            removeDecisions.push_back(decision);
        } else {
            keptFiles.push_back({item.Field(RecordFieldName::FileName), decision});
        }
    }
}

void ListFolders(const InstallRecord& record, std::vector<std::string>& folders)
{
    for (const RecordItem& item : record.CreateDirs()) {
        std::string folder = item.Field(RecordFieldName::DirName);
        if (!folder.empty())
            folders.push_back(std::move(folder));
    }
}

void ListRegistryItems(const InstallRecord& record, std::vector<std::string>& items)
{
    ListJoinedFields(record.RegItems(), RegistryItemFields, items);
}

void ListShellObjects(const InstallRecord& record, std::vector<std::string>& objects)
{
    ListJoinedFields(record.ShellObjects(), ShellObjectFields, objects);
}

void ListComServers(const InstallRecord& record, std::vector<std::string>& paths, std::vector<unsigned>& types)
{
    std::string regType;
    for (const RecordItem& item : record.CopyFiles()) {
        if (!item.GetField(RecordFieldName::RegType, regType))
            continue;
        const int type = ParseDecimal(regType);
        if (type <= 0)
            continue;
        paths.push_back(item.Field(RecordFieldName::FileName));
        types.push_back(static_cast<unsigned>(type));
    }
}

std::string GetExtension(const std::string& path)
{
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return {};
    return path.substr(dot + 1);
}

bool HasExeExtension(const std::string& path) { return EqualsKeyword(GetExtension(path), "exe"); }

std::size_t CountServiceCandidates(const std::vector<unsigned>& types)
{
    std::size_t count = 0;
    for (unsigned type : types)
        count += IsServiceCandidate(type) ? 1 : 0;
    return count;
}

std::size_t CountExeFiles(const std::vector<std::string>& files)
{
    std::size_t count = 0;
    for (const auto& file : files)
        count += HasExeExtension(file) ? 1 : 0;
    return count;
}
