#include "sysops/message_box.h"
#include "sysops/message_pump.h"
#include "sysops/service_handle.h"
#include "sysops/services.h"

#include "tests/support/fixtures.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <vector>

// Services run by the real service manager of the Wine prefix: fixture_service.exe is a
// service that stops on request, or ignores the request when started with "ignore-stop".

namespace {

std::vector<std::string> g_shownMessages;

int RecordMessage(const std::string& text, const std::string& caption, unsigned)
{
    g_shownMessages.push_back(caption + ": " + text);
    return IDOK;
}

class Services : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_shownMessages.clear();
        SetMessageBoxHandler(RecordMessage);
        ASSERT_TRUE(CopyFixture("fixture_service.exe", m_binary)) << m_binary;
    }
    void TearDown() override { SetMessageBoxHandler(nullptr); }

    ScratchFolder m_scratch{"service"};
    const std::string m_binary = m_scratch.Join("Service.exe");
};

int g_timerTicks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_timerTicks; }

ULONGLONG ThreadCpuMs()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& time) { return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime; };
    return (ticks(kernel) + ticks(user)) / 10000;
}

}

TEST(ServiceStates, RunningStates)
{
    ServiceInfo info;
    for (uint32_t state = 0; state < 10; ++state) {
        info.CurrentState = state;
        EXPECT_EQ(state == SERVICE_RUNNING || state == SERVICE_PAUSE_PENDING, IsRunning(info)) << state;
    }
}

TEST(MessagePump, PausesDispatchMessagesWithoutSpinning)
{
    g_timerTicks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, CountTick);
    ASSERT_NE(0u, timer);
    const DWORD start = GetTickCount();
    const ULONGLONG cpuBefore = ThreadCpuMs();
    PumpMessagesFor(500);
    const DWORD passed = GetTickCount() - start;
    const ULONGLONG cpu = ThreadCpuMs() - cpuBefore;
    KillTimer(nullptr, timer);
    EXPECT_GE(passed, 490u);
    EXPECT_GT(g_timerTicks, 3) << "timer messages are dispatched during the pause";
    EXPECT_LT(cpu, 250u) << "the pause sleeps between messages instead of polling";
}

TEST(MessagePump, QuitMessageSurvivesThePause)
{
    PostQuitMessage(7);
    PumpMessagesFor(100);
    MSG message = {};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the page's own loop still gets it";
    EXPECT_EQ(7u, message.wParam);
}

TEST_F(Services, FoundByTheirExactBinaryPathInAnyCase)
{
    ScratchService service("find", m_binary);
    ASSERT_TRUE(service.IsReady());
    EXPECT_TRUE(ServiceExists(service.Name()));

    ServiceInfo info;
    std::string otherCase = m_binary;
    for (char& c : otherCase)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    ASSERT_TRUE(FindServiceByPath(otherCase, info));
    EXPECT_EQ(service.Name(), info.Name);
    EXPECT_EQ("Test service " + service.Name(), info.DisplayName);
    EXPECT_EQ(m_binary, info.BinaryPath);
    EXPECT_EQ(static_cast<uint32_t>(SERVICE_WIN32_OWN_PROCESS), info.ServiceType);
    EXPECT_EQ(static_cast<uint32_t>(SERVICE_DEMAND_START), info.StartType);
    EXPECT_EQ(static_cast<uint32_t>(SERVICE_ERROR_IGNORE), info.ErrorControl);
    EXPECT_EQ(static_cast<uint32_t>(SERVICE_STOPPED), info.CurrentState);

    ServiceInfo untouched;
    untouched.Name = "sentinel";
    EXPECT_FALSE(FindServiceByPath("", untouched)) << "an empty path names no service";
    EXPECT_FALSE(FindServiceByPath(m_scratch.Join("Other.exe"), untouched));
    EXPECT_EQ("sentinel", untouched.Name);
}

TEST_F(Services, EnumerationListsEveryServiceWithItsConfiguration)
{
    ScratchService first("listA", m_binary);
    ScratchService second("listB", m_scratch.Join("Second.exe"));
    ASSERT_TRUE(first.IsReady() && second.IsReady());
    const std::vector<ServiceInfo> services = EnumerateServices(kWin32ServiceTypes, kAllServiceStates);
    EXPECT_GT(services.size(), 2u) << "the system's own services are there too";
    int found = 0;
    for (const ServiceInfo& info : services) {
        if (info.Name == first.Name() || info.Name == second.Name()) {
            ++found;
            EXPECT_FALSE(info.BinaryPath.empty()) << info.Name;
        }
    }
    EXPECT_EQ(2, found);
    EXPECT_TRUE(EnumerateServices(SERVICE_WIN32, SERVICE_ACTIVE).size() < services.size())
        << "only running services when asked for active ones";
}

TEST_F(Services, HandleStartsPausesContinuesAndStops)
{
    ScratchService service("control", m_binary);
    ASSERT_TRUE(service.IsReady());
    ServiceHandle handle;
    ASSERT_TRUE(handle.Open(service.Name(), SERVICE_ALL_ACCESS));
    EXPECT_EQ(static_cast<uint32_t>(SERVICE_STOPPED), handle.CurrentState());
    EXPECT_TRUE(handle.WaitForStopped(false)) << "a stopped service needs no wait";

    ASSERT_TRUE(handle.Start({}));
    for (int poll = 0; poll < 100 && handle.CurrentState() != SERVICE_RUNNING; ++poll)
        Sleep(50);
    EXPECT_EQ(static_cast<uint32_t>(SERVICE_RUNNING), handle.CurrentState());
    EXPECT_TRUE(handle.Pause());
    EXPECT_EQ(static_cast<uint32_t>(SERVICE_PAUSED), handle.CurrentState());
    EXPECT_TRUE(handle.Continue());
    EXPECT_EQ(static_cast<uint32_t>(SERVICE_RUNNING), handle.CurrentState());
    EXPECT_TRUE(handle.Stop());
    EXPECT_TRUE(handle.WaitForStopped(true));
    handle.Close();
    handle.Close();
    EXPECT_EQ(0u, handle.CurrentState()) << "a closed handle has no state";

    ServiceHandle missing;
    EXPECT_FALSE(missing.Open(service.Name() + "-missing", SERVICE_ALL_ACCESS));
}

TEST_F(Services, RunningServiceOfARecordedFileIsStoppedAndDeleted)
{
    ScratchService service("remove", m_binary);
    ASSERT_TRUE(service.IsReady());
    ASSERT_TRUE(service.Start());
    const DWORD processId = service.ProcessId();

    RemoveServiceOfFile(m_binary);
    EXPECT_FALSE(service.Exists());
    EXPECT_FALSE(ProcessIsRunning(processId)) << "it was stopped before it was deleted";
    EXPECT_TRUE(g_shownMessages.empty());
}

TEST_F(Services, QuotedRegistrationWithArgumentsIsStoppedAndDeleted)
{
    ScratchService quoted("quoted", "\"" + m_binary + "\" -run");
    ASSERT_TRUE(quoted.IsReady());
    ASSERT_TRUE(quoted.Start());
    const DWORD processId = quoted.ProcessId();
    const ServiceRemoval removal = RemoveServiceOfFile(m_binary);
    EXPECT_TRUE(removal.found);
    EXPECT_FALSE(quoted.Exists());
    EXPECT_FALSE(ProcessIsRunning(processId));
}

TEST_F(Services, FileWithoutServiceOrOnlyAnArgumentOfAnotherProgramIsLeftAlone)
{
    RemoveServiceOfFile(m_scratch.Join("NoService.exe"));
    RemoveServiceOfFile("");
    EXPECT_TRUE(DeleteServiceByName("UnInstallTest-never-registered"));

    // Another program that is given the recorded file as its argument is not the file's service.
    const std::string other = m_scratch.Join("Other.exe");
    ASSERT_TRUE(CopyFixture("fixture_service.exe", other));
    ScratchService another("another", "\"" + other + "\" " + m_binary);
    ASSERT_TRUE(another.IsReady());
    ASSERT_TRUE(another.Start());
    RemoveServiceOfFile(m_binary);
    EXPECT_TRUE(another.Exists());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), another.State());
    EXPECT_TRUE(g_shownMessages.empty());
}

TEST_F(Services, StopPendingServiceGetsNoStopControlButIsDeleted)
{
    ScratchService service("pending", m_binary);
    ASSERT_TRUE(service.IsReady());
    ASSERT_TRUE(service.Start("ignore-stop"));
    ServiceHandle handle;
    ASSERT_TRUE(handle.Open(service.Name(), SERVICE_ALL_ACCESS));
    ASSERT_TRUE(handle.Stop());
    ASSERT_EQ(static_cast<uint32_t>(SERVICE_STOP_PENDING), handle.CurrentState());
    handle.Close();

    const DWORD start = GetTickCount();
    RemoveServiceOfFile(m_binary);
    EXPECT_LT(GetTickCount() - start, 5000u) << "no wait for a service that is not running";
    ServiceHandle again;
    EXPECT_FALSE(again.Open(service.Name(), DELETE) && DeleteService(again.Handle()))
        << "the service is already marked for deletion";
    EXPECT_TRUE(g_shownMessages.empty());
}

TEST_F(Services, ServiceThatIgnoresStopIsDeletedAfterTwentyPolls)
{
    ScratchService service("stubborn", m_binary);
    ASSERT_TRUE(service.IsReady());
    ASSERT_TRUE(service.Start("ignore-stop"));

    const DWORD start = GetTickCount();
    RemoveServiceOfFile(m_binary);
    const DWORD passed = GetTickCount() - start;
    EXPECT_GE(passed, 9500u) << "twenty polls of 500 ms";
    EXPECT_LT(passed, 30000u);
    EXPECT_TRUE(ProcessIsRunning(service.ProcessId())) << "still running, yet marked for deletion";
    ServiceHandle again;
    EXPECT_FALSE(again.Open(service.Name(), DELETE) && DeleteService(again.Handle()));
}
