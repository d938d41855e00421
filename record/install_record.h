#pragma once

#include "record/record_item.h"

#include <string>
#include <vector>

// The general facts of section [Comm]. Compent, FileGroup and SetupType are only kept and
// written back; sftype 2 selects the scripted uninstall and sfentype 2 marks scrambled
// script files.
struct RecordCommon {
    std::string unInstallFolder;
    std::string appName;
    std::string guid;
    std::string descPath;
    std::string compent;
    std::string fileGroup;
    int setupType = 0;
    int sftype = 0;
    int sfentype = 0;
};

// The install record Setup.Kvx: what the installation put on the machine. The uninstaller
// only loads it; Save writes the canonical layout, which Load reads back and which the
// system's profile (INI) functions can read too.
class InstallRecord {
public:
    // Empties the four lists, remembers the path and parses the file. False when the file
    // cannot be opened, in which case the [Comm] values stay as they were, and when it cannot
    // be read to its end, in which case the lists and the [Comm] values are all empty.
    [[nodiscard]] bool Load(const std::string& path);
    // Remembers the path; writes the record to a new file with CR LF line ends. False when
    // the path is empty or the file cannot be created or written.
    [[nodiscard]] bool Save(const std::string& path);
    // True when the last Load stopped at a read error.
    [[nodiscard]] bool ReadError() const { return m_readError; }
    // Frees the items of the four lists; the [Comm] values stay.
    void Clear();

    // Splits an item key "Item<n>[_<suffix>]" at its first '_'. True when the part before it
    // is "Item" followed by a decimal number of at least 1.
    [[nodiscard]] static bool ParseItemKey(const std::string& key, int& number, std::string& suffix);

    [[nodiscard]] std::vector<RecordItem>& CopyFiles() { return m_copyFiles; }
    [[nodiscard]] const std::vector<RecordItem>& CopyFiles() const { return m_copyFiles; }
    [[nodiscard]] std::vector<RecordItem>& CreateDirs() { return m_createDirs; }
    [[nodiscard]] const std::vector<RecordItem>& CreateDirs() const { return m_createDirs; }
    [[nodiscard]] std::vector<RecordItem>& RegItems() { return m_regItems; }
    [[nodiscard]] const std::vector<RecordItem>& RegItems() const { return m_regItems; }
    [[nodiscard]] std::vector<RecordItem>& ShellObjects() { return m_shellObjects; }
    [[nodiscard]] const std::vector<RecordItem>& ShellObjects() const { return m_shellObjects; }

    [[nodiscard]] const std::string& GetRecordPath() const { return m_recordPath; }
    [[nodiscard]] const RecordCommon& Common() const { return m_common; }
    [[nodiscard]] RecordCommon& Common() { return m_common; }

    [[nodiscard]] const std::string& GetUnInstallFolder() const { return m_common.unInstallFolder; }
    void SetUnInstallFolder(const std::string& folder) { m_common.unInstallFolder = folder; }
    [[nodiscard]] const std::string& GetAppName() const { return m_common.appName; }
    void SetAppName(const std::string& name) { m_common.appName = name; }
    [[nodiscard]] const std::string& GetGUID() const { return m_common.guid; }
    void SetGUID(const std::string& guid) { m_common.guid = guid; }
    [[nodiscard]] const std::string& GetDescPath() const { return m_common.descPath; }
    void SetDescPath(const std::string& path) { m_common.descPath = path; }
    [[nodiscard]] const std::string& GetCompent() const { return m_common.compent; }
    void SetCompent(const std::string& compent) { m_common.compent = compent; }
    [[nodiscard]] const std::string& GetFileGroup() const { return m_common.fileGroup; }
    void SetFileGroup(const std::string& group) { m_common.fileGroup = group; }
    [[nodiscard]] int GetSetupType() const { return m_common.setupType; }
    void SetSetupType(int type) { m_common.setupType = type; }
    [[nodiscard]] int Getsftype() const { return m_common.sftype; }
    void Setsftype(int type) { m_common.sftype = type; }
    [[nodiscard]] int Getsfentype() const { return m_common.sfentype; }
    void Setsfentype(int type) { m_common.sfentype = type; }

private:
    std::vector<RecordItem> m_copyFiles;
    std::vector<RecordItem> m_createDirs;
    std::vector<RecordItem> m_regItems;
    std::vector<RecordItem> m_shellObjects;
    std::string m_recordPath;
    RecordCommon m_common;
    bool m_readError = false;
};

// Equal lists and [Comm] values; the record path is not compared.
[[nodiscard]] bool SameRecordContent(const InstallRecord& left, const InstallRecord& right);
