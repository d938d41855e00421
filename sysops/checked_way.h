#pragma once

#include "sysops/file_handle.h"

#include <string>
#include <unordered_map>

// How far the way to a path could be opened.
enum class WayState {
    Open,        // every folder on the way is open and checked
    Missing,     // a folder on the way is not there
    Failed,      // a folder on the way could not be opened; error says why
    ThroughLink, // a folder on the way is a junction, mount point or symbolic link
    BadForm,     // not a full path of a drive or share, or one with "." or ".." in it
};

struct WayResult {
    WayState state = WayState::Open;
    unsigned long error = 0;
};

// The folders on the way to a path, opened one at a time from the drive root, each relative to
// the handle of the one before and never following a link, and checked: none may be a junction,
// mount point or symbolic link (a name surrogate; a cloud file's placeholder is a folder like any
// other). An entry opened relative to the last folder's handle is then in the folder that was
// checked, whatever is renamed or swapped in on the way afterwards. Every checked folder stays
// open for the next paths that pass it, so that the thousands of files of an installation check
// each of their folders once; Forget lets a folder go before it is removed, Release all of them.
class CheckedWay {
public:
    // Opens the folders that hold path, its last part left out; name receives that last part.
    [[nodiscard]] WayResult OpenTo(const std::string& path, std::wstring& name);
    // The handle of the folder that the last successful OpenTo reached.
    [[nodiscard]] HANDLE Folder() const { return m_last; }
    // Closes the handles of the folder and of every folder below it.
    void Forget(const std::string& folder);
    void Release();

private:
    // Checked folders by their path as root and names joined with single backslashes.
    std::unordered_map<std::wstring, FileHandle> m_checked;
    HANDLE m_last = INVALID_HANDLE_VALUE;
};

// The NT status of a failed open as a Windows error code.
[[nodiscard]] unsigned long ErrorOfStatus(LONG status);
// The status of an open that found nothing at the name or on the way to it.
[[nodiscard]] bool IsNotFoundStatus(LONG status);

// What shows a link (a junction, mount point or symbolic link, not a cloud file's placeholder)
// at an opened path: the handle itself, or only the path's own attributes, as under Wine,
// where a handle opened for a Unix symbolic link reaches its target.
enum class LinkSight { None, Handle, PathOnly };
[[nodiscard]] LinkSight SeeLink(HANDLE handle, const std::wstring& path);

// The text in the ANSI code page as UTF-16.
[[nodiscard]] std::wstring WideOfAnsi(const std::string& text);
