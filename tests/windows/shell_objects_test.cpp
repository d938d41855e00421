#include "sysops/shell_objects.h"

#include "tests/support/file_links.h"
#include "tests/support/scratch.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ShellEvent {
    LONG event;
    std::string path;
};

std::vector<ShellEvent> g_events;
constexpr UINT kShellChangeMessage = WM_APP + 17;

LRESULT CALLBACK ListenerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kShellChangeMessage) {
        auto* pidls = reinterpret_cast<PCIDLIST_ABSOLUTE*>(wParam);
        char path[MAX_PATH] = {};
        if (pidls && pidls[0])
            SHGetPathFromIDListA(pidls[0], path);
        g_events.push_back({static_cast<LONG>(lParam), path});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden window that the shell tells about every change anywhere.
class ShellListener {
public:
    ShellListener()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ListenerProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "UnInstallShellListener";
        RegisterClassA(&windowClass);
        m_window = CreateWindowA("UnInstallShellListener", "", 0, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SHChangeNotifyEntry everything = {nullptr, TRUE};
        m_registration = SHChangeNotifyRegister(m_window, SHCNRF_ShellLevel | SHCNRF_InterruptLevel, SHCNE_ALLEVENTS,
                                                kShellChangeMessage, 1, &everything);
        g_events.clear();
    }
    ~ShellListener()
    {
        if (m_registration)
            SHChangeNotifyDeregister(m_registration);
        DestroyWindow(m_window);
    }
    [[nodiscard]] bool IsListening() const { return m_registration != 0; }
    void Collect() const
    {
        MSG message;
        for (int round = 0; round < 20; ++round) {
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            Sleep(10);
        }
    }

private:
    HWND m_window = nullptr;
    ULONG m_registration = 0;
};

bool Heard(LONG event, const std::string& path)
{
    for (const ShellEvent& heard : g_events) {
        if ((heard.event & event) && _stricmp(heard.path.c_str(), path.c_str()) == 0)
            return true;
    }
    return false;
}

}

TEST(ShellObjects, EmptyGroupGoesAndAGroupWithUserEntriesStays)
{
    ScratchFolder scratch("groups");
    const std::string empty = scratch.Join("Maker App");
    const std::string used = scratch.Join("Maker Tools");
    ASSERT_TRUE(MakeFolder(empty) && MakeFolder(used));
    ASSERT_TRUE(WriteFileText(used + "\\Added by the user.lnk", "x"));

    EXPECT_TRUE(RemoveShellObject("Group," + empty, ShellNotification::Skip));
    EXPECT_TRUE(RemoveShellObject("group," + used + "\\", ShellNotification::Skip));
    EXPECT_FALSE(PathExists(empty));
    EXPECT_TRUE(PathExists(used + "\\Added by the user.lnk"));
}

TEST(ShellObjects, ShortcutsGetOnePlainDeletion)
{
    ScratchFolder scratch("shortcuts");
    const std::string plain = scratch.Join("App.lnk");
    const std::string readOnly = scratch.Join("Locked.lnk");
    ASSERT_TRUE(WriteFileText(plain, "x") && WriteFileText(readOnly, "x"));
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_TRUE(RemoveShellObject("Shortcut," + plain, ShellNotification::Skip));
    EXPECT_TRUE(RemoveShellObject("SHORTCUT," + readOnly, ShellNotification::Skip));
    EXPECT_FALSE(PathExists(plain));
    EXPECT_TRUE(PathExists(readOnly)) << "no attribute retry for shortcuts";
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(ShellObjects, MalformedOrUnknownEntriesDoNothing)
{
    ScratchFolder scratch("unknown");
    const std::string file = scratch.Join("Readme.txt");
    ASSERT_TRUE(WriteFileText(file, "x"));
    EXPECT_FALSE(RemoveShellObject("File," + file, ShellNotification::Send));
    EXPECT_FALSE(RemoveShellObject("Shortcut", ShellNotification::Send));
    EXPECT_FALSE(RemoveShellObject("", ShellNotification::Send));
    EXPECT_TRUE(PathExists(file));
    EXPECT_TRUE(RemoveShellObject("Shortcut," + file + ",extra", ShellNotification::Skip)) << "a third field is dropped";
    EXPECT_FALSE(PathExists(file));
}

TEST(ShellObjects, ShellHearsOfTheDeletionAndOfTheParent)
{
    ShellListener listener;
    if (!listener.IsListening())
        GTEST_SKIP() << "this shell takes no change registrations";
    ScratchFolder scratch("notify");
    const std::string shortcut = scratch.Join("App.lnk");
    ASSERT_TRUE(WriteFileText(shortcut, "x"));

    EXPECT_TRUE(RemoveShellObject("Shortcut," + shortcut, ShellNotification::Send));
    listener.Collect();
    EXPECT_TRUE(Heard(SHCNE_DELETE | SHCNE_RMDIR, shortcut)) << g_events.size() << " events heard";
    if (!IsRunningUnderWine()) {
        // Wine 8 drops every event that carries the interrupt bit, as the parent's does.
        EXPECT_TRUE(Heard(SHCNE_UPDATEDIR, scratch.Path()));
    }

    g_events.clear();
    const std::string other = scratch.Join("Other.lnk");
    ASSERT_TRUE(WriteFileText(other, "x"));
    EXPECT_TRUE(RemoveShellObject("Shortcut," + other, ShellNotification::Skip));
    listener.Collect();
    EXPECT_FALSE(Heard(SHCNE_DELETE | SHCNE_RMDIR, other)) << "nothing is sent when notification is skipped";
}
