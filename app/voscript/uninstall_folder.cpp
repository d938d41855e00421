#include "app/voscript/uninstall_folder.h"

#include "app/flows/scrambled_text.h"
#include "app/run/uninstall_state.h"
#include "base/path_text.h"
#include "record/install_record.h"
#include "script/script_text.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace {

constexpr const char* kRecordFile = "Setup.Kvx";
constexpr const char* kProfileFile = "ProFile.ini";
constexpr const char* kProfileSection = "[ProFileData]";
constexpr const char* kUninstallerFile = "UnInstall.exe";

// The folder's files are opened with a forward slash, which both systems take.
std::string InFolder(const std::string& folder, const char* name) { return folder + "/" + name; }

bool FileOpens(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file)
        std::fclose(file);
    return file != nullptr;
}

std::string PlainText(const std::string& path)
{
    std::string text;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, got);
        std::fclose(file);
    }
    return text;
}

// The key=value lines of the ProFileData section (its name in any case), up to the next section.
std::vector<std::pair<std::string, std::string>> ProfileSection(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> values;
    bool inside = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        const std::size_t equals = line.find('=');
        if (!line.empty() && line.front() == '[')
            inside = SameName(line, kProfileSection);
        else if (inside && equals != std::string::npos)
            values.emplace_back(line.substr(0, equals), line.substr(equals + 1));
        start = end + 1;
    }
    return values;
}

void FillFromRecord(const InstallRecord& record, RunnerSetup& setup)
{
    setup.appId = record.GetGUID();
    setup.appName = record.GetAppName();
    setup.uninstallFolder = record.GetUnInstallFolder();
    if (setup.uninstallFolder.empty())
        return;
    if (setup.uninstallerPath.empty())
        setup.uninstallerPath = JoinPath(setup.uninstallFolder, kUninstallerFile);
    // Where the record's folder can be read (the Windows runner on the machine installed to),
    // the profile functions start from its ProFile.ini.
    setup.profileValues = ProfileSection(PlainText(JoinPath(setup.uninstallFolder, kProfileFile)));
}

}

bool ReadRecordInto(const std::string& recordPath, RunnerSetup& setup)
{
    InstallRecord record;
    if (!record.Load(recordPath))
        return false;
    FillFromRecord(record, setup);
    return true;
}

bool ReadUninstallFolder(const std::string& folder, const std::string& recordPath, RunnerSetup& setup,
                         std::string& script, std::string& reason)
{
    script.clear();
    const std::string recordFile = recordPath.empty() ? InFolder(folder, kRecordFile) : recordPath;
    InstallRecord record;
    if (!record.Load(recordFile))
        return false;
    FillFromRecord(record, setup);
    const int encoding = record.Getsfentype();
    const std::string primary = InFolder(folder, kUninstallScriptFile);
    (void)AppendScriptFile(FileOpens(primary) ? primary : InFolder(folder, kSpareUninstallScriptFile), encoding,
                           script);
    (void)AppendScriptFile(InFolder(folder, kWindowsScriptFile), encoding, setup.windowsScript);
    const std::string profile = PlainText(InFolder(folder, kProfileFile));
    if (!profile.empty())
        setup.profileValues = ProfileSection(profile);
    if (encoding != kScriptFilesScrambled)
        reason = "the record's sfentype is " + std::to_string(encoding) + ", not 2: the uninstaller reads no script file";
    else if (script.empty())
        reason = std::string("neither ") + kUninstallScriptFile + " nor " + kSpareUninstallScriptFile + " holds a script";
    else if (record.Getsftype() != kScriptTypeVoScript)
        reason = "the record's sftype is " + std::to_string(record.Getsftype()) + ", not 2: the script is not run";
    if (!reason.empty())
        script.clear();
    return true;
}
