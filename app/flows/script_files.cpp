#include "app/flows/script_files.h"

#include "app/flows/scrambled_text.h"
#include "base/path_text.h"
#include "record/install_record.h"
#include "sysops/file_ops.h"

void ReadScrambledFile(const InstallRecord& record, const std::string& path, std::string& text)
{
    (void)AppendScriptFile(path, record.Getsfentype(), text); // a missing file leaves the text as it was
}

std::string ReadUninstallScript(const InstallRecord& record)
{
    const std::string folder = record.GetUnInstallFolder();
    std::string text;
    const std::string primary = JoinPath(folder, kUninstallScriptFile);
    ReadScrambledFile(record, FileExists(primary) ? primary : JoinPath(folder, kSpareUninstallScriptFile), text);
    return text;
}

std::string ReadWindowsScript(const InstallRecord& record)
{
    std::string text;
    ReadScrambledFile(record, JoinPath(record.GetUnInstallFolder(), kWindowsScriptFile), text);
    return text;
}
