#include "app/run/run_log.h"

#include "base/double_byte.h"
#include "base/path_text.h"

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

// The log that console events are told to: the one of the console this process attached to.
RunLog* g_consoleLog = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
        return TRUE; // ignored: the uninstall goes on
    // The system ends the process once this returns.
    if (g_consoleLog && event == CTRL_CLOSE_EVENT)
        g_consoleLog->Line("the console was closed: the uninstall ends here, unfinished");
    return FALSE;
}

// A file name made of the application's name: characters that no file name may hold become
// '_'; the trail byte of a double-byte character is left as it is.
std::string FileNameOf(const std::string& name)
{
    std::string result = name;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(result[i]);
        if (IsLeadByte(byte) && i + 1 < result.size())
            ++i;
        else if (byte < 0x20 || std::string("\\/:*?\"<>|").find(result[i]) != std::string::npos)
            result[i] = '_';
    }
    return result.empty() ? std::string("UnInstall") : result;
}

// A file that exists is written only when it is a plain file with one name; opened as the
// name itself, so that a link there is seen as a link.
HANDLE OpenPlainFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information)
        || (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
        || information.nNumberOfLinks != 1 || !SetEndOfFile(file)) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

bool IsUsableOutput(HANDLE handle)
{
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}

std::string PreviewLogPath(const std::string& appName)
{
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        return {};
    return JoinPath(WithoutTrailingBackslash(temp), FileNameOf(appName) + " uninstall preview.log");
}

RunLog::~RunLog()
{
    if (g_consoleLog == this)
        g_consoleLog = nullptr;
    Close();
}

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
    // Readers may look at the log while the uninstall writes it. CREATE_NEW follows no link:
    // it fails on any name that exists, a dangling link included.
    m_handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS)
        m_handle = OpenPlainFile(path);
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
    g_consoleLog = this;
    (void)SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
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
