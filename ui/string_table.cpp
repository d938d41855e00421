#include "ui/string_table.h"

#include "ui/language_file.h"

#include <iterator>

namespace {

constexpr StringTableEntry StringTable[] = {
    {TextId::InitData, "Init Data..."},
    {TextId::RemoveShellObject, "Remove ShellObj "},
    {TextId::RemoveRegistryInfo, "Remove RegInfo"},
    {TextId::Unregister, "UnRegist %s"},
    {TextId::Remove, "Remove %s"},
    {TextId::UninstallFailed, "Uninstall is error!"},
    {TextId::UninstallSucceeded, "Uninstall is successfully!"},
    {TextId::NotUninstalled, "%s has not been successfully uninstalled."},
    {TextId::Uninstalled, "%s has been successfully uninstalled."},
    {TextId::NoUninstallInfo, "Not find Uninstall Info"},
    {TextId::ConfirmUninstall, "Are you sure you want to uninstall %s ?"},
    {TextId::GuidError, "GUID is error"},
    {TextId::UninstallCaption, "Uninstall %s"},
    {TextId::CleaningApplication, "Cleaning application : %s"},
    {TextId::StopService, "Stop service %s"},
    {TextId::WaitingForUninstall, "Waiting for uninstall..."},
    {TextId::Launch, "Launch %s"},
};

}

const StringTableEntry* StringTableBegin() { return std::begin(StringTable); }

const StringTableEntry* StringTableEnd() { return std::end(StringTable); }

std::string GetTableText(int id)
{
    for (const auto& entry : StringTable) {
        if (entry.id == id)
            return entry.text;
    }
    return {};
}

std::string GetText(int id, const LanguageFile* language)
{
    if (language && language->IsLoaded()) {
        bool found = false;
        std::string text = language->GetString(StringsSection, id, &found);
        if (found)
            return text;
    }
    return GetTableText(id);
}
