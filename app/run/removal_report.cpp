#include "app/run/removal_report.h"

namespace {

constexpr const char* kKindNames[] = {
    "service", "program", "server", "file", "folder", "registry item", "shell object", "uninstall entry",
    "record folder", "uninstall folder",
};

constexpr const char* kOutcomeNames[] = {"removed", "kept", "not there", "failed", "at restart"};
constexpr const char* kPreviewOutcomeNames[] = {"would remove", "would keep", "not there", "would fail", "in use now"};

// Wide enough for the longest word, so that the names line up in a column.
constexpr std::size_t kOutcomeWidth = 13;
constexpr std::size_t kKindWidth = 17;

std::string Padded(const char* word, std::size_t width)
{
    std::string text = word;
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

}

const char* ItemKindName(RemovalItemKind kind) { return kKindNames[static_cast<int>(kind)]; }

const char* OutcomeName(RemovalOutcome outcome, bool preview)
{
    return (preview ? kPreviewOutcomeNames : kOutcomeNames)[static_cast<int>(outcome)];
}

std::string FormatReportLine(RemovalItemKind kind, const std::string& name, const ItemResult& result, bool preview)
{
    std::string line = Padded(OutcomeName(result.outcome, preview), kOutcomeWidth) + Padded(ItemKindName(kind), kKindWidth);
    line += name.empty() ? "(no name)" : name;
    if (!result.reason.empty())
        line += "  (" + result.reason + ")";
    return line;
}
