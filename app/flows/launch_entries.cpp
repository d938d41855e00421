#include "app/flows/launch_entries.h"

#include "script/objects/value_set.h"

#include <algorithm>
#include <string>

namespace {

// Only two entries are ever shown; a count beyond this is a broken script, which must not make
// the uninstaller build entries for minutes.
constexpr std::int32_t kMostLaunchEntries = 1000;

std::string LaunchName(std::size_t number, const char* field)
{
    return "Launch" + std::to_string(number) + "_" + field;
}

}

std::vector<LaunchEntry> ReadLaunchEntries(const ValueSetObject& parameters)
{
    std::vector<LaunchEntry> entries;
    const std::int32_t count = std::min(parameters.EntryInt("LaunchCount", 0), kMostLaunchEntries);
    for (std::int32_t i = 1; i <= count; ++i) {
        const auto number = static_cast<std::size_t>(i);
        LaunchEntry entry;
        entry.command = parameters.EntryText(LaunchName(number, "Cmd"), {});
        entry.parameters = parameters.EntryText(LaunchName(number, "Param"), {});
        entry.prompt = parameters.EntryText(LaunchName(number, "Prompt"), {});
        entry.state = static_cast<unsigned>(parameters.EntryInt(LaunchName(number, "Data"), 1));
        entries.push_back(std::move(entry));
    }
    return entries;
}

void WriteLaunchStates(ValueSetObject& parameters, const std::vector<LaunchEntry>& entries)
{
    for (std::size_t i = 0; i < entries.size(); ++i)
        parameters.SetEntryInt(LaunchName(i + 1, "Data"), entries[i].state != 0 ? 1 : 0);
}
