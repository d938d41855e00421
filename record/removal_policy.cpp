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

struct PolicyVerdict {
    bool remove;
    FilePolicyReason reason;
};

using RemovalPolicy = PolicyVerdict (*)(const PolicyFacts& facts);

PolicyVerdict RemoveUnlessUpdateType3(const PolicyFacts& facts)
{
    if (facts.hasUpdateType && facts.updateType == 3)
        return {false, FilePolicyReason::KeptForUpdateType};
    return {true, FilePolicyReason::AlwaysRemoved};
}

PolicyVerdict Keep(const PolicyFacts&) { return {false, FilePolicyReason::AlwaysKept}; }

PolicyVerdict Remove(const PolicyFacts&) { return {true, FilePolicyReason::AlwaysRemoved}; }

PolicyVerdict RemoveWhenUnchanged(const PolicyFacts& facts)
{
    const FilePolicyReason reason = CompareWithInstalledFile(facts.item, facts.fileTimes);
    return {reason == FilePolicyReason::Unchanged || reason == FilePolicyReason::NoRecordedDate, reason};
}

PolicyVerdict RemoveWithoutUpdateTypeOr1(const PolicyFacts& facts)
{
    if (!facts.hasUpdateType || facts.updateType == 1)
        return {true, FilePolicyReason::AlwaysRemoved};
    return {false, FilePolicyReason::KeptForUpdateType};
}

PolicyVerdict RemoveWhenUnchangedWithoutUpdateTypeOr1(const PolicyFacts& facts)
{
    const PolicyVerdict updateVerdict = RemoveWithoutUpdateTypeOr1(facts);
    return updateVerdict.remove ? RemoveWhenUnchanged(facts) : updateVerdict;
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

// The words of each reason, in the order of FilePolicyReason.
constexpr const char* kReasonTexts[] = {
    "no removal policy: always removed",
    "always removed",
    "always kept",
    "kept for its update type",
    "unchanged since the installation",
    "no installation time recorded to compare with",
    "changed since the installation",
    "its time cannot be read",
    "no file name to compare",
    "unknown policy: kept",
};

}

FileRemovalDecision DecideFileRemoval(const RecordItem& item, const FileTimeSource& fileTimes)
{
    FileRemovalDecision decision;
    std::string uninstall;
    if (!item.GetField(RecordFieldName::Uninstall, uninstall))
        return decision;
    decision.policy = ParseDecimal(uninstall);
    std::string updateType;
    decision.hasUpdateType = item.GetField(RecordFieldName::UpdateType, updateType);
    decision.updateType = ParseDecimal(updateType);
    if (decision.policy < 0 || decision.policy >= PolicyCount) {
        decision.remove = false;
        decision.reason = FilePolicyReason::UnknownPolicy;
        return decision;
    }
    const PolicyFacts facts{item, fileTimes, decision.hasUpdateType, decision.updateType};
    const PolicyVerdict verdict = RemovalPolicies[decision.policy](facts);
    decision.remove = verdict.remove;
    decision.reason = verdict.reason;
    return decision;
}

bool ShouldRemoveFile(const RecordItem& item, const FileTimeSource& fileTimes)
{
    return DecideFileRemoval(item, fileTimes).remove;
}

FilePolicyReason CompareWithInstalledFile(const RecordItem& item, const FileTimeSource& fileTimes)
{
    std::string fileName;
    if (!item.GetField(RecordFieldName::FileName, fileName))
        return FilePolicyReason::NoFileName;
    std::string modifyDate;
    if (!item.GetField(RecordFieldName::ModifyDate, modifyDate))
        return FilePolicyReason::NoRecordedDate; // nothing recorded to compare with
    int64_t recordedTime = 0;
    int64_t fileTime = 0;
    if (!fileTimes.GetFileWriteTime(fileName, fileTime) || !ParseRecordDate(modifyDate, recordedTime))
        return FilePolicyReason::Unreadable;
    return fileTime == recordedTime ? FilePolicyReason::Unchanged : FilePolicyReason::Changed;
}

bool IsFileUnchanged(const RecordItem& item, const FileTimeSource& fileTimes)
{
    const FilePolicyReason reason = CompareWithInstalledFile(item, fileTimes);
    return reason == FilePolicyReason::Unchanged || reason == FilePolicyReason::NoRecordedDate;
}

std::string DescribeFileRemoval(const FileRemovalDecision& decision)
{
    const std::string reason = kReasonTexts[static_cast<int>(decision.reason)];
    if (decision.reason == FilePolicyReason::NoPolicy)
        return reason;
    std::string text = "removal policy " + std::to_string(decision.policy);
    if (decision.hasUpdateType)
        text += ", update type " + std::to_string(decision.updateType);
    return text + ": " + reason;
}
