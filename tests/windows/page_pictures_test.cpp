// Every page as a person sees it: plain, with the application's banner bitmaps, and with a
// language file that changes the font and the texts. Each picture is kept under
// build/windows/pictures/ and its pixels are checked where the look matters: the white body,
// the banners at their natural size, the bold titles, the centred lines, and a layout in which
// no control covers another or leaves the page.

#include "app/flows/removal_run.h"
#include "app/pages/answerer.h"
#include "app/pages/confirmation.h"
#include "app/pages/finish_page.h"
#include "app/pages/page_context.h"
#include "app/pages/progress_dialog.h"
#include "app/pages/resource.h"
#include "app/pages/restart_page.h"
#include "app/pages/waiting_windows.h"
#include "app/run/limited_removal.h"
#include "app/run/uninstall_session.h"
#include "tests/support/page_thread.h"
#include "tests/support/sample_installation.h"
#include "tests/support/scratch.h"
#include "tests/support/window_driver.h"
#include "tests/support/window_picture.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

struct Look {
    const char* name;
    bool banners;
    bool language;
};

const Look kLooks[] = {{"plain", false, false}, {"banners", true, false}, {"language", false, true}};

// Changes the font and every text a page takes from the language file.
constexpr const char* kLanguageFile =
    "[DialogFont]\r\nFontName=DejaVu Serif\r\nFontSize=15\r\n"
    "[Strings]\r\n1004=Preparing the removal...\r\n1008=Deleting %s\r\n1010=Everything is gone.\r\n"
    "1012=%s is no longer on this computer.\r\n1014=Do you really want to remove %s from this computer?\r\n"
    "1019=Please wait a moment...\r\n1020=Open %s now\r\n"
    "[WizardButtons]\r\nCancel=Stop\r\nBack=< Previous\r\nFinish=Done\r\n"
    "[SdUninstallProcess]\r\n2029=Removing the application from this computer\r\n1001=Deleting:\r\n"
    "[SdUnInstallFinish]\r\n1004=All done\r\n"
    "[SdUninstallReboot]\r\n1004=One more step\r\n2015=Windows must restart to finish removing %s from this computer.\r\n"
    "2067=Restart now\r\n2068=Restart later\r\n";

// Every pixel of the banner bitmaps has a colour of its own, so a picture tells which pixel of
// the bitmap landed where: anything scaled or shifted shows.
COLORREF BannerColour(int x, int y)
{
    return RGB(x & 0xFF, y & 0xFF, 0x80 | ((x >> 8) & 0x7F));
}

bool WriteBanner(const std::string& path, int width, int height)
{
    const int rowBytes = width * 3;
    std::string file(54 + static_cast<size_t>(rowBytes) * height, '\0');
    auto put32 = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<char>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = BannerColour(x, y);
            // Bottom row first.
            const size_t at = 54 + static_cast<size_t>(height - 1 - y) * rowBytes + x * 3;
            file[at] = static_cast<char>(GetBValue(colour));
            file[at + 1] = static_cast<char>(GetGValue(colour));
            file[at + 2] = static_cast<char>(GetRValue(colour));
        }
    }
    return WriteFileText(path, file);
}

std::string Describe(COLORREF colour)
{
    char text[32];
    snprintf(text, sizeof text, "RGB(%d,%d,%d)", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

std::string DescribeArea(HWND control)
{
    RECT area;
    GetWindowRect(control, &area);
    char text[96];
    snprintf(text, sizeof text, "control %d at %ld,%ld-%ld,%ld", GetDlgCtrlID(control), area.left, area.top, area.right,
        area.bottom);
    return text;
}

BOOL CALLBACK CollectVisible(HWND child, LPARAM list)
{
    if (IsWindowVisible(child))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

// The full-width decorations of the wizard pages (the top banner and the etched lines) are a
// little wider than the page and run under its frame on purpose: the page cuts them.
bool IsFullWidthDecoration(HWND page, HWND control)
{
    RECT client, area;
    GetClientRect(page, &client);
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&area), 2);
    return area.left == 0 && area.right >= client.right;
}

// Visible controls that cover one another or reach past the page's client area. Sends no
// message to the page.
std::vector<std::string> LayoutFaults(HWND page)
{
    std::vector<HWND> controls;
    EnumChildWindows(page, CollectVisible, reinterpret_cast<LPARAM>(&controls));
    RECT client;
    GetClientRect(page, &client);
    MapWindowPoints(page, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::vector<std::string> faults;
    for (size_t i = 0; i < controls.size(); ++i) {
        RECT area, common;
        GetWindowRect(controls[i], &area);
        if (!IsFullWidthDecoration(page, controls[i])
            && (area.left < client.left || area.top < client.top || area.right > client.right || area.bottom > client.bottom))
            faults.push_back(DescribeArea(controls[i]) + " leaves the page");
        for (size_t j = i + 1; j < controls.size(); ++j) {
            RECT other;
            GetWindowRect(controls[j], &other);
            if (IntersectRect(&common, &area, &other))
                faults.push_back(DescribeArea(controls[i]) + " covers " + DescribeArea(controls[j]));
        }
    }
    return faults;
}

int Width(const RECT& area) { return area.right - area.left; }

// Holds the progress page at two moments of its run while the test looks at it: right after
// its first frame, without serving any message, so the picture shows only what the page
// painted by itself; and in the middle of the files step, serving messages as a page does.
class HeldProgressPage : public ProgressDialog {
public:
    using ProgressDialog::ProgressDialog;

    struct Moment {
        HANDLE reached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE released = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ~Moment()
        {
            CloseHandle(reached);
            CloseHandle(released);
        }
        bool WaitReached() const { return WaitForSingleObject(reached, kWindowWaitMs) == WAIT_OBJECT_0; }
        void Release() const { SetEvent(released); }
    };

    Moment firstFrame;
    Moment middle;
    // The advance at which the run is held: the third file of the files step.
    static constexpr int kMiddleAdvance = 4;

    void PumpOneMessage() override
    {
        ProgressDialog::PumpOneMessage();
        if (m_firstPumpSeen)
            return;
        m_firstPumpSeen = true;
        SetEvent(firstFrame.reached);
        WaitForSingleObject(firstFrame.released, kWindowWaitMs);
    }

    void AdvanceProgress(int n) override
    {
        if (++m_advances != kMiddleAdvance) {
            ProgressDialog::AdvanceProgress(n);
            return;
        }
        // Longer than the page waits between two repaints of its bar and status line, so that
        // both show where the run is.
        ServeMessagesFor(150);
        ProgressDialog::AdvanceProgress(n);
        ServeMessagesFor(150);
        SetEvent(middle.reached);
        while (MsgWaitForMultipleObjects(1, &middle.released, FALSE, kWindowWaitMs, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
            ServeMessagesFor(0);
    }

private:
    static void ServeMessagesFor(DWORD ms)
    {
        const ULONGLONG end = GetTickCount64() + ms;
        do {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            if (ms)
                Sleep(10);
        } while (GetTickCount64() < end);
    }

    bool m_firstPumpSeen = false;
    int m_advances = 0;
};

class PagePictures : public ::testing::TestWithParam<Look> {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        const Look& look = GetParam();
        m_session.Record().SetAppName("Sample App");
        if (look.banners) {
            // Both larger than their controls, so that they must be cut.
            ASSERT_TRUE(WriteBanner(m_scratch.Join("TopBar.bmp"), 700, 90));
            ASSERT_TRUE(WriteBanner(m_scratch.Join("LeftBar.bmp"), 260, 400));
            m_topBannerPath = m_scratch.Join("TopBar.bmp");
            m_leftBannerPath = m_scratch.Join("LeftBar.bmp");
        }
        if (look.language) {
            ASSERT_TRUE(WriteFileText(m_scratch.Join("Setup.lr"), kLanguageFile));
            ASSERT_TRUE(m_session.Language().LoadLanguage("Setup", m_scratch.Join("Setup.lr")));
        }
    }

    // Keeps the picture as build/windows/pictures/PAGE-LOOK.png and checks the page's layout.
    void Keep(const WindowPicture& picture, HWND page, const std::string& name)
    {
        ASSERT_FALSE(picture.Empty());
        const std::string folder = TestProgramFolder() + "\\..\\pictures";
        CreateDirectoryA(folder.c_str(), nullptr);
        EXPECT_TRUE(picture.SavePng(folder + "\\" + name + "-" + GetParam().name + ".png"));
        for (const std::string& fault : LayoutFaults(page))
            ADD_FAILURE() << name << ": " << fault;
    }

    // The banner's pixels at the corners of its control are the bitmap's own at the same
    // place: drawn from the top left at natural size. Past the control's bottom and right edges
    // the bitmap is cut.
    void ExpectBannerIn(const WindowPicture& picture, HWND control)
    {
        SCOPED_TRACE(DescribeArea(control));
        RECT area = picture.AreaOf(control);
        RECT client = picture.ClientArea();
        IntersectRect(&area, &area, &client);
        const int width = Width(area);
        const int height = area.bottom - area.top;
        const POINT inside[] = {{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}, {width / 2, height / 3}};
        for (const POINT& at : inside)
            EXPECT_EQ(Describe(BannerColour(at.x, at.y)), Describe(picture.Pixel(area.left + at.x, area.top + at.y)))
                << "at " << at.x << "," << at.y << " of the control";
        EXPECT_NE(Describe(BannerColour(4, height + 4)), Describe(picture.Pixel(area.left + 4, area.bottom + 4)))
            << "the bitmap goes on below the control";
        if (area.right < client.right) {
            EXPECT_NE(Describe(BannerColour(width + 4, 4)), Describe(picture.Pixel(area.right + 4, area.top + 4)))
                << "the bitmap goes on right of the control";
        }
    }

    // White above the separator, and only there.
    void ExpectWhiteBody(const WindowPicture& picture, HWND page)
    {
        const RECT client = picture.ClientArea();
        const RECT picture1003 = picture.AreaOf(GetDlgItem(page, IDC_LEFT_PICTURE));
        EXPECT_EQ(Describe(kWhite), Describe(picture.Pixel(client.right - 4, client.top + 4))) << "the body's top right";
        if (!GetParam().banners) {
            EXPECT_EQ(Describe(kWhite), Describe(picture.Pixel(client.left + 10, picture1003.bottom - 10)))
                << "without LeftBar.bmp nothing is drawn on the left";
        }
        EXPECT_NE(Describe(kWhite), Describe(picture.Pixel(client.left + 4, client.bottom - 4))) << "the button bar";
    }

    // A choice's text lies on white: right of its text, inside the control.
    void ExpectWhiteChoice(const WindowPicture& picture, HWND page, int controlId)
    {
        const RECT area = picture.AreaOf(GetDlgItem(page, controlId));
        EXPECT_EQ(Describe(kWhite), Describe(picture.Pixel(area.right - 3, (area.top + area.bottom) / 2)))
            << "control " << controlId;
    }

    // One line of text, as far from the control's top as from its bottom.
    void ExpectCentredLine(const WindowPicture& picture, HWND page, int controlId)
    {
        SCOPED_TRACE("control " + std::to_string(controlId));
        const RECT area = picture.AreaOf(GetDlgItem(page, controlId));
        const RECT ink = picture.InkBox(area);
        ASSERT_LT(ink.top, ink.bottom) << "the text shows";
        EXPECT_EQ(1, picture.InkLines(area));
        EXPECT_NEAR(ink.top - area.top, area.bottom - ink.bottom, 3) << "vertically centred";
    }

    // The title's text, drawn bold, is wider than the same text in the page's font of normal
    // weight, which another text of the page shows once it is given the title's text.
    void ExpectBoldTitle(const WindowPicture& picture, HWND page, int normalTextId)
    {
        const RECT bold = picture.InkBox(picture.AreaOf(GetDlgItem(page, IDC_TITLE)));
        SetDlgItemTextA(page, normalTextId, DialogItemText(page, IDC_TITLE).c_str());
        const WindowPicture same = WindowPicture::Take(page);
        const RECT normal = same.InkBox(same.AreaOf(GetDlgItem(page, normalTextId)));
        EXPECT_GT(Width(normal), 0);
        EXPECT_GT(Width(bold), Width(normal)) << "the bold title is wider than the same text in normal weight";
    }

    // What the pages see of the uninstall: its language file, the banners and a person to answer.
    [[nodiscard]] PageContext Pages() { return {m_session.Language(), m_topBannerPath, m_leftBannerPath, m_answerer}; }

    ScratchFolder m_scratch{"pictures"};
    UninstallSession m_session;
    std::string m_topBannerPath;
    std::string m_leftBannerPath;
    InteractiveAnswerer m_answerer;
};

}

TEST_P(PagePictures, Confirmation)
{
    PageThread shown([&] { (void)ConfirmUninstall(m_answerer, m_session.Language(), "Sample App"); });
    HWND box = WaitForWindow("Sample App", "#32770", GetCurrentProcessId());
    ASSERT_NE(nullptr, box);
    Keep(WindowPicture::Take(box), box, "confirmation");
    PressButton(box, IDNO);
    EXPECT_TRUE(WaitForWindowGone(box));
}

TEST_P(PagePictures, ProgressPage)
{
    SampleInstallation sample("pictures");
    for (const char* name : {"readme.txt", "data1.dat", "data2.dat", "data3.dat", "data4.dat", "help.chm"})
        sample.AddFile(name);
    m_session.Record() = sample.Record();
    const RecordWriters writers;
    HeldProgressPage page(Pages(), [&](RunView& view) { RunSystemRemoval(m_session, writers, nullptr, view); });
    PageThread shown([&] { (void)page.Show(); });
    ASSERT_TRUE(page.firstFrame.WaitReached());
    HWND window = page.Window();
    {
        const WindowPicture first = WindowPicture::Take(window, WindowPicture::Repaint::AsItIs);
        EXPECT_GT(Width(first.InkBox(first.AreaOf(GetDlgItem(window, IDC_STATUS)))), 0)
            << "the first status text shows in the first frame";
        if (GetParam().language) {
            EXPECT_GT(Width(first.InkBox(first.AreaOf(GetDlgItem(window, IDC_HEADING)))), 0)
                << "the heading shows in the first frame";
        }
        if (GetParam().banners)
            ExpectBannerIn(first, GetDlgItem(window, IDC_BANNER));
    }
    page.firstFrame.Release();

    ASSERT_TRUE(page.middle.WaitReached());
    const WindowPicture middle = WindowPicture::Take(window);
    Keep(middle, window, "progress");
    EXPECT_TRUE(IsDialogItemVisible(window, IDC_REMOVE_LABEL));
    EXPECT_EQ(1, middle.InkLines(middle.AreaOf(GetDlgItem(window, IDC_STATUS)))) << "the file being removed";
    page.middle.Release();
}

TEST_P(PagePictures, FinishPageWithoutLaunchEntries)
{
    FinishPage page(Pages(), "Uninstall Sample App", "Sample App");
    PageThread shown([&] { (void)page.Show(); });
    HWND window = WaitForWindow("Uninstall Sample App", "#32770", GetCurrentProcessId());
    ASSERT_NE(nullptr, window);
    const WindowPicture picture = WindowPicture::Take(window);
    Keep(picture, window, "finish");
    ExpectWhiteBody(picture, window);
    ExpectCentredLine(picture, window, IDC_MESSAGE);
    if (GetParam().banners)
        ExpectBannerIn(picture, GetDlgItem(window, IDC_LEFT_PICTURE));
    ExpectBoldTitle(picture, window, IDC_HEADING);
    PressButton(window, IDOK);
}

TEST_P(PagePictures, FinishPageWithTwoLaunchEntries)
{
    FinishPage page(Pages(), "Uninstall Sample App", "Sample App");
    page.AddLaunch("", "", "", 1);
    page.AddLaunch("", "", "View the release notes", 0);
    PageThread shown([&] { (void)page.Show(); });
    HWND window = WaitForWindow("Uninstall Sample App", "#32770", GetCurrentProcessId());
    ASSERT_NE(nullptr, window);
    const WindowPicture picture = WindowPicture::Take(window);
    Keep(picture, window, "finish-launch");
    ExpectWhiteChoice(picture, window, IDC_LAUNCH_FIRST);
    ExpectWhiteChoice(picture, window, IDC_LAUNCH_SECOND);
    PressButton(window, IDOK);
}

TEST_P(PagePictures, RestartPage)
{
    RestartPage page(Pages(), "Uninstall Sample App", "Sample App");
    PageThread shown([&] { (void)page.Show(); });
    HWND window = WaitForWindow("Uninstall Sample App", "#32770", GetCurrentProcessId());
    ASSERT_NE(nullptr, window);
    const WindowPicture picture = WindowPicture::Take(window);
    Keep(picture, window, "restart");
    ExpectWhiteBody(picture, window);
    ExpectWhiteChoice(picture, window, IDC_RESTART_NOW);
    ExpectWhiteChoice(picture, window, IDC_RESTART_LATER);
    EXPECT_EQ(GetParam().banners, IsDialogItemVisible(window, IDC_LEFT_PICTURE));
    if (GetParam().banners)
        ExpectBannerIn(picture, GetDlgItem(window, IDC_LEFT_PICTURE));
    EXPECT_GE(picture.InkLines(picture.AreaOf(GetDlgItem(window, IDC_MESSAGE))), 2) << "the message wraps";
    ExpectBoldTitle(picture, window, IDC_MESSAGE);
    CloseWithTheCloseBox(window);
}

TEST_P(PagePictures, WaitingWindows)
{
    // Modeless windows are served by whatever loop runs; here the test's own thread.
    WaitingWindow box(Pages(), WaitingWindow::Kind::Box, "");
    ASSERT_TRUE(box.Open());
    Keep(WindowPicture::Take(box.Window()), box.Window(), "waiting-box");

    WaitingWindow page(Pages(), WaitingWindow::Kind::Page, "");
    ASSERT_TRUE(page.Open());
    const WindowPicture picture = WindowPicture::Take(page.Window());
    Keep(picture, page.Window(), "waiting-page");
    if (GetParam().banners)
        ExpectBannerIn(picture, GetDlgItem(page.Window(), IDC_BANNER));
}

INSTANTIATE_TEST_SUITE_P(Looks, PagePictures, ::testing::ValuesIn(kLooks),
    [](const ::testing::TestParamInfo<Look>& info) { return std::string(info.param.name); });
