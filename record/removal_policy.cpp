#include "record/decimal_text.h"
#include "record/record_date.h"
#include "record/record_field_names.h"
#include "record/record_queries.h"

namespace {

struct PolicyFacts {
    const RecordItem& item;
    const FileTimeSource& fileTimes;
    bool hasUpdateType;
    int updateType;
};

using RemovalPolicy = bool (*)(const PolicyFacts& facts);

bool RemoveUnlessUpdateType3(const PolicyFacts& facts) { return !(facts.hasUpdateType && facts.updateType == 3); }

bool Keep(const PolicyFacts&) { return false; }

bool Remove(const PolicyFacts&) { return true; }

bool RemoveWhenUnchanged(const PolicyFacts& facts) { return IsFileUnchanged(facts.item, facts.fileTimes); }

bool RemoveWithoutUpdateTypeOr1(const PolicyFacts& facts) { return !facts.hasUpdateType || facts.updateType == 1; }

bool RemoveWhenUnchangedWithoutUpdateTypeOr1(const PolicyFacts& facts)
{
    return RemoveWithoutUpdateTypeOr1(facts) && RemoveWhenUnchanged(facts);
}

// Indexed by the Uninstall value; any value outside the table keeps the file.
constexpr RemovalPolicy RemovalPolicies[] = {
    RemoveUnlessUpdateType3,                 // 0
    Keep,                                    // 1
    Remove,                                  // 2
    RemoveWhenUnchanged,                     // 3
    RemoveWithoutUpdateTypeOr1,              // 4
    RemoveWhenUnchangedWithoutUpdateTypeOr1, // 5
};

constexpr int PolicyCount = static_cast<int>(sizeof RemovalPolicies / sizeof RemovalPolicies[0]);

}

bool ShouldRemoveFile(const RecordItem& item, const FileTimeSource& fileTimes)
{
    std::string uninstall;
    if (!item.GetField(RecordFieldName::Uninstall, uninstall))
        return true;
    const int policy = ParseDecimal(uninstall);
    if (policy < 0 || policy >= PolicyCount)
        return false;
    std::string updateType;
    const bool hasUpdateType = item.GetField(RecordFieldName::UpdateType, updateType);
    const PolicyFacts facts{item, fileTimes, hasUpdateType, ParseDecimal(updateType)};
    return RemovalPolicies[policy](facts);
}

bool IsFileUnchanged(const RecordItem& item, const FileTimeSource& fileTimes)
{
    std::string fileName;
    if (!item.GetField(RecordFieldName::FileName, fileName))
        return false;
    std::string modifyDate;
    if (!item.GetField(RecordFieldName::ModifyDate, modifyDate))
        return true; // nothing recorded to compare with
    int64_t recordedTime = 0;
    int64_t fileTime = 0;
    if (!fileTimes.GetFileWriteTime(fileName, fileTime) || !ParseRecordDate(modifyDate, recordedTime))
        return false;
    return fileTime == recordedTime;
}
