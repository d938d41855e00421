#include "app/run_log.h"

#include <cstdio>

namespace {

// "2026-12-09 10:15:03.120  "
std::string TimeStamp()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u  ", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

bool IsUsableOutput(HANDLE handle)
{
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}

RunLog::~RunLog() { Close(); }

void RunLog::Close()
{
    if (m_ownsHandle && IsOpen())
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    m_ownsHandle = false;
}

bool RunLog::OpenFile(const std::string& path)
{
    Close();
    // Readers may look at the log while the uninstall writes it.
    m_handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    m_ownsHandle = IsOpen();
    return IsOpen();
}

bool RunLog::OpenParentConsole()
{
    Close();
    // A command prompt that redirected the output gave it to the program; a GUI program
    // started from the prompt otherwise has no output until it attaches to the prompt's console.
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (IsUsableOutput(output)) {
        m_handle = output;
        return true;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return false;
    m_handle = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    m_ownsHandle = IsOpen();
    return IsOpen();
}

void RunLog::Line(const std::string& text)
{
    if (!IsOpen())
        return;
    const std::string line = TimeStamp() + text + "\r\n";
    DWORD written = 0;
    (void)WriteFile(m_handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void RunLog::Item(RemovalItemKind kind, const std::string& name, const ItemResult& result)
{
    m_counts.Add(result.outcome);
    Line(FormatReportLine(kind, name, result, m_preview));
}
