// A page that a script opens from its deepest call runs its modal loop beneath that call on the
// main thread's stack. Nested script calls may take up to the engine's native stack limit; the
// page must fit in what the uninstaller's stack has left below it.

#include "app/pages/answerer.h"
#include "app/pages/finish_page.h"
#include "app/pages/page_context.h"
#include "script/script_engine.h"
#include "tests/support/fixtures.h"
#include "tests/support/pe_image.h"
#include "tests/support/window_driver.h"
#include "ui/language_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <thread>

namespace {

// The stack that the built UnInstall.exe reserves for its main thread, as its PE header says;
// 0 when the file cannot be read as a program.
std::size_t MainThreadStackOf(const std::string& exePath)
{
    PeImage image;
    return ReadPeImage(exePath, image) ? static_cast<std::size_t>(image.headers.OptionalHeader.SizeOfStackReserve) : 0;
}

constexpr std::size_t kScriptStackLimit = ScriptEngine::NativeStackLimit;
constexpr std::size_t kPage = 4096;
constexpr std::size_t kPainted = 768 * 1024;
constexpr std::size_t kSpared = 4 * kPage; // the painting function's own frame
constexpr unsigned char kSentinel = 0xbd;

// Fills the stack below the caller with the sentinel. The pages are reached one by one from
// the top, so that the system commits each as its guard page is touched.
__attribute__((noinline)) void PaintBelow(std::uintptr_t top)
{
    for (std::uintptr_t address = top - kPage; address > top - kPainted; address -= kPage)
        (void)*reinterpret_cast<volatile unsigned char*>(address);
    for (std::uintptr_t address = top - kSpared; address > top - kPainted; --address)
        *reinterpret_cast<volatile unsigned char*>(address) = kSentinel;
}

// How far below top the stack was written since it was painted.
__attribute__((noinline)) std::size_t DepthUsedBelow(std::uintptr_t top)
{
    std::uintptr_t address = top - kPainted + 1;
    while (address < top - kSpared && *reinterpret_cast<volatile unsigned char*>(address) == kSentinel)
        ++address;
    return top - address;
}

}

TEST(PageStack, FinishPageFitsBelowTheDeepestScriptCall)
{
    const std::size_t mainThreadStack = MainThreadStackOf(FixturePath("UnInstall.exe"));
    ASSERT_GT(mainThreadStack, kScriptStackLimit) << "UnInstall.exe's stack, from its PE header";
    const LanguageFile language;
    InteractiveAnswerer answerer;
    FinishPage page(PageContext{language, "", "", answerer}, "Stack Page", "Stack App");
    page.AddLaunch("", "", "Offered", 1);
    std::size_t used = 0;
    // The page runs on a thread of its own with a stack as large as the uninstaller's, so that
    // painting it cannot touch the test's own frames.
    std::thread shown([&] {
        volatile char marker = 0;
        const auto top = reinterpret_cast<std::uintptr_t>(&marker);
        PaintBelow(top);
        (void)page.Show();
        used = DepthUsedBelow(top);
    });
    HWND window = WaitForWindow("Stack Page", "#32770", GetCurrentProcessId());
    EXPECT_NE(nullptr, window);
    if (window)
        PressButton(window, IDOK);
    shown.join();
    std::printf("[          ] the finish page took %zu KB of stack\n", used / 1024);
    EXPECT_LT(used, mainThreadStack - kScriptStackLimit - 256 * 1024) << "less than 256 KB would be left";
    EXPECT_LT(used, kPainted - kSpared) << "the page went below the painted stack";
}
