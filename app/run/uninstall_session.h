#pragma once

#include "app/run/removal_report.h"
#include "app/run/uninstall_state.h"
#include "record/install_record.h"
#include "ui/language_file.h"

#include <string>

// The state of one uninstall: where the setup description is, the record parsed from it, the
// optional language file, whether a script cancelled, and whether the user asked for a restart.
// It keeps state only; the operations that act on the machine are given it.
class UninstallSession {
public:
    // Parses the record from the description path the first time only.
    void LoadRecord();

    // The parsed record's values: the folders that are read from and the folders that are
    // deleted come from the one reading of the record, so that they cannot disagree. Empty
    // before LoadRecord.
    [[nodiscard]] std::string GetDescPath() const;
    [[nodiscard]] std::string GetUnInstallFolder() const;

    void Cancel() { m_state = UninstallState::Cancelled; }

    // The progress page's run has begun: from then on the application is (partly) gone, and
    // the uninstaller has nothing left to offer by staying.
    void NoteRemovalRun() { m_removalRun = true; }
    [[nodiscard]] bool RemovalHasRun() const { return m_removalRun; }
    // A scripted uninstall that failed before anything was removed keeps the uninstall folder:
    // the application and its uninstall entry are still there, so the user must be able to
    // run the uninstaller again.
    void KeepUninstallFolder() { m_keepUninstallFolder = true; }
    [[nodiscard]] bool KeepsUninstallFolder() const { return m_keepUninstallFolder; }

    // What became of the items of every removal run so far.
    [[nodiscard]] OutcomeCounts& Outcomes() { return m_outcomes; }
    [[nodiscard]] const OutcomeCounts& Outcomes() const { return m_outcomes; }
    // Something the run could not delete now goes when Windows next starts.
    [[nodiscard]] bool IsRestartNeeded() const { return m_outcomes[RemovalOutcome::AtRestart] > 0; }

    [[nodiscard]] int RebootFlag() const { return m_rebootFlag; }
    void SetRebootFlag(int flag) { m_rebootFlag = flag; }
    [[nodiscard]] UninstallState State() const { return m_state; }
    [[nodiscard]] const std::string& DescriptionPath() const { return m_descriptionPath; }
    void SetDescriptionPath(const std::string& path) { m_descriptionPath = path; }
    [[nodiscard]] bool IsLoaded() const { return m_loaded; }

    [[nodiscard]] InstallRecord& Record() { return m_record; }
    [[nodiscard]] const InstallRecord& Record() const { return m_record; }
    [[nodiscard]] LanguageFile& Language() { return m_language; }
    [[nodiscard]] const LanguageFile& Language() const { return m_language; }

private:
    int m_rebootFlag = 0;
    std::string m_descriptionPath;
    bool m_loaded = false;
    InstallRecord m_record;
    LanguageFile m_language;
    UninstallState m_state = UninstallState::Uninstall;
    bool m_removalRun = false;
    bool m_keepUninstallFolder = false;
    OutcomeCounts m_outcomes;
};

// The user-visible text of a string id: the language file's Strings section when it has the
// id, else the built-in string table.
[[nodiscard]] std::string GetText(int id, const UninstallSession* session);

// GetText formatted with one name in place of its %s.
[[nodiscard]] std::string GetTextWith(int id, const UninstallSession* session, const std::string& name);
