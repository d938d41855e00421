#include "app/run/uninstall_session.h"

#include "ui/string_table.h"
#include "ui/text_format.h"

void UninstallSession::LoadRecord()
{
    if (m_loaded)
        return;
    m_loaded = true;
    (void)m_record.Load(m_descriptionPath);
}

std::string UninstallSession::GetDescPath() const { return m_record.GetDescPath(); }

std::string UninstallSession::GetUnInstallFolder() const { return m_record.GetUnInstallFolder(); }

std::string GetText(int id, const UninstallSession* session)
{
    return GetText(id, session ? &session->Language() : nullptr);
}

std::string GetTextWith(int id, const UninstallSession* session, const std::string& name)
{
    return FormatText(GetText(id, session), name);
}
