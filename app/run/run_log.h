#pragma once

#include "app/run/removal_report.h"

#include <windows.h>

#include <string>

// Where a preview that has neither /LOG nor a command prompt writes its report: the user's temp
// folder, "<temp>\<application> uninstall preview.log", so that the preview changes nothing
// of the installation. Empty when there is no usable temp folder.
[[nodiscard]] std::string PreviewLogPath(const std::string& appName);

// The administrator's log: one line per step, each with its local time, written at once so
// that a log of a run that was stopped still holds everything up to that point. It is also
// the report of the run and of the preview.
class RunLog final : public RemovalReport {
public:
    RunLog() = default;
    ~RunLog() override;
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Creates the file, or empties one that is a plain file of a single name. The name is
    // never followed: a link, a hard link or a folder there is refused, so that the log cannot
    // be aimed at another file. False when it cannot be written.
    bool OpenFile(const std::string& path);
    // The standard output the uninstaller was given, else the console of the command prompt
    // that started it; false when there is neither. Attached to the console, the process
    // ignores Ctrl+C and Ctrl+Break, which would otherwise end it halfway through a removal;
    // when the console is closed, which ends it all the same, the log says so.
    bool OpenParentConsole();

    [[nodiscard]] bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    // Item lines say "would remove" instead of "removed".
    void SetPreview(bool preview) { m_preview = preview; }

    void Line(const std::string& text);
    void Item(RemovalItemKind kind, const std::string& name, const ItemResult& result) override;

    // How many items had each outcome so far, in the order of RemovalOutcome.
    [[nodiscard]] int Count(RemovalOutcome outcome) const { return m_counts[outcome]; }

private:
    void Close();

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    bool m_ownsHandle = false;
    bool m_preview = false;
    OutcomeCounts m_counts;
};
