#include "app/run/uninstall_session.h"

#include "app/flows/scrambled_text.h"
#include "base/path_text.h"
#include "sysops/file_ops.h"
#include "sysops/message_pump.h"
#include "sysops/reg_key.h"
#include "ui/string_table.h"
#include "ui/text_format.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

}

void UninstallSession::LoadRecord()
{
    if (m_loaded)
        return;
    m_loaded = true;
    (void)m_record.Load(m_descriptionPath);
}

std::string UninstallSession::GetDescPath() const { return m_record.GetDescPath(); }

std::string UninstallSession::GetUnInstallFolder() const { return m_record.GetUnInstallFolder(); }

bool UninstallSession::RemoveUninstallEntry(EntryRemoval* outcome)
{
    // A 32-bit installer wrote the entry into the 32-bit view; it is removed from the view
    // it is found in.
    const std::string guid = m_record.GetGUID();
    RegKey entry;
    const bool present = !guid.empty()
        && entry.OpenInEitherView(HKEY_LOCAL_MACHINE, JoinPath(kUninstallKey, guid), KEY_READ);
    const REGSAM view = present ? entry.ViewAccess() : 0;
    entry.Close();
    EntryRemoval result = guid.empty() ? EntryRemoval::NoGuid : EntryRemoval::Missing;
    RegKey uninstallKey;
    const bool opened = uninstallKey.OpenInView(HKEY_LOCAL_MACHINE, kUninstallKey,
                                                KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, view);
    // Deleting an empty subkey name would delete the opened key, that is every application's
    // uninstall entry at once; a record without a GUID names no entry.
    if (opened && !guid.empty()) {
        const bool deleted = uninstallKey.DeleteSubkey(guid);
        if (present)
            result = deleted ? EntryRemoval::Removed : EntryRemoval::Failed;
    } else if (present) {
        result = EntryRemoval::Failed;
    }
    if (outcome)
        *outcome = result;
    return opened;
}

bool UninstallSession::HasUninstallEntry() const
{
    const std::string guid = m_record.GetGUID();
    RegKey entry;
    return !guid.empty() && entry.OpenInEitherView(HKEY_LOCAL_MACHINE, JoinPath(kUninstallKey, guid), KEY_READ);
}

bool UninstallSession::RemoveDescFolder()
{
    const std::string descPath = GetDescPath();
    if (descPath.empty())
        return false;
    return RemoveEmptyTree(descPath, PumpWaitingMessages); // a deep tree must not freeze the page
}

void UninstallSession::ReadScrambledFile(const std::string& path, std::string& text) const
{
    (void)AppendScriptFile(path, m_record.Getsfentype(), text); // a missing file leaves the text as it was
}

std::string UninstallSession::ReadUninstallScript() const
{
    const std::string folder = m_record.GetUnInstallFolder();
    std::string text;
    const std::string primary = JoinPath(folder, kUninstallScriptFile);
    ReadScrambledFile(FileExists(primary) ? primary : JoinPath(folder, kSpareUninstallScriptFile), text);
    return text;
}

std::string UninstallSession::ReadWindowsScript() const
{
    std::string text;
    ReadScrambledFile(JoinPath(m_record.GetUnInstallFolder(), kWindowsScriptFile), text);
    return text;
}

std::string GetText(int id, const UninstallSession* session)
{
    return GetText(id, session ? &session->Language() : nullptr);
}

std::string GetTextWith(int id, const UninstallSession* session, const std::string& name)
{
    return FormatText(GetText(id, session), name);
}
