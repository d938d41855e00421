#pragma once

#include "record/install_record.h"
#include "tests/support/scratch.h"

#include <string>

// An application laid out in a scratch folder the way the installer leaves it: the uninstall
// folder with UnInstall.exe (copied from beside the test program) and the install record that
// the record writer saved, and a program folder beside it with whatever files and folders a
// test adds. The two are apart so that a test can still look at the program folder after the
// cleanup copy has deleted the uninstall folder.
class SampleInstallation {
public:
    explicit SampleInstallation(const std::string& label, const std::string& exeName = "UnInstall.exe");
    ~SampleInstallation();

    [[nodiscard]] const std::string& AppFolder() const { return m_appFolder; }
    [[nodiscard]] std::string InApp(const std::string& relative) const { return m_appFolder + "\\" + relative; }
    [[nodiscard]] const std::string& ProgramFolder() const { return m_programFolder; }
    [[nodiscard]] std::string InProgram(const std::string& relative) const { return m_programFolder + "\\" + relative; }
    [[nodiscard]] std::string UninstallerPath() const { return m_appFolder + "\\" + m_exeName; }
    [[nodiscard]] InstallRecord& Record() { return m_record; }
    [[nodiscard]] const std::string& Guid() const { return m_guid; }

    // Adds a file with the given text to the program folder and to the record's CopyFile list;
    // returns the new item so the test can set its policy fields.
    RecordItem& AddFile(const std::string& relative, const std::string& text = "installed");
    // Creates a folder and lists it in CreateDir.
    void AddFolder(const std::string& relative);
    // Creates the Windows uninstall entry named by the record's GUID.
    bool AddUninstallEntry();
    [[nodiscard]] bool UninstallEntryExists() const;

    // Makes the record select the script engine and stores the script scrambled as hw.dll in
    // the uninstall folder. Lines are given with "\n".
    bool AddScript(const std::string& lines);

    // A value the script wrote into ProFile.ini of the uninstall folder, "<missing>" when none.
    [[nodiscard]] std::string ProfileValue(const std::string& key) const;

    // Saves the record as Setup.Kvx beside the uninstaller.
    bool SaveRecord();

private:
    ScratchFolder m_scratch;
    std::string m_appFolder;
    std::string m_programFolder;
    std::string m_exeName;
    std::string m_guid;
    InstallRecord m_record;
};

// Appends a registry item "Type,Root,Path,Name" to the record.
void AddRegistryItem(InstallRecord& record, const std::string& type, const std::string& root, const std::string& path,
                     const std::string& name);

// The file's last-write time as the installer records it in ModifyDate, moved by secondsOff.
[[nodiscard]] std::string RecordedModifyDate(const std::string& path, int secondsOff = 0);

// The folder of the running test program, where the build puts UnInstall.exe too.
[[nodiscard]] std::string TestProgramFolder();

inline constexpr const char* kUninstallKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
