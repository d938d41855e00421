#include "sysops/command_runner.h"
#include "sysops/ini_file.h"
#include "sysops/launch.h"
#include "sysops/message_box.h"
#include "sysops/process_list.h"
#include "sysops/user_start.h"
#include "sysops/write_trust.h"

#include "tests/support/fixtures.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <vector>

// Programs started for scripts: fixture_sleeper.exe sleeps for the milliseconds of its first
// argument and logs its command line to the file named by UNINSTALL_FIXTURE_LOG.

namespace {

std::vector<std::string> g_shownMessages;

int RecordMessage(const std::string& text, const std::string&, unsigned)
{
    g_shownMessages.push_back(text);
    return IDOK;
}

int g_timerTicks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_timerTicks; }

template <typename Condition>
bool WaitUntil(Condition condition, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > ms)
            return false;
        Sleep(50);
    }
    return true;
}

std::string TempFolder()
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

// The batch file of a run in its work folder, or empty when there is none.
std::string FoundBatch()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((TempFolder() + "UnInstall-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    std::string batch;
    do {
        const std::string candidate = TempFolder() + found.cFileName + "\\MyDocCmd.bat";
        if (GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES)
            batch = candidate;
    } while (batch.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return batch;
}

bool AnyWorkFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((TempFolder() + "UnInstall-*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return search != INVALID_HANDLE_VALUE;
}

bool TakeQuitMessage()
{
    MSG message = {};
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

class Launching : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_shownMessages.clear();
        SetMessageBoxHandler(RecordMessage);
        SetEnvironmentVariableA("UNINSTALL_FIXTURE_LOG", m_log.c_str());
        // A temp folder of the test's own, where a leftover of another test cannot be taken
        // for a batch file's folder.
        char previous[MAX_PATH + 1] = {};
        if (GetEnvironmentVariableA("TMP", previous, sizeof previous) > 0)
            m_previousTemp = previous;
        ASSERT_TRUE(MakeFolder(m_temp));
        SetEnvironmentVariableA("TMP", m_temp.c_str());
        ASSERT_TRUE(CopyFixture("fixture_sleeper.exe", m_sleeper));
    }
    void TearDown() override
    {
        SetEnvironmentVariableA("UNINSTALL_FIXTURE_LOG", nullptr);
        SetEnvironmentVariableA("TMP", m_previousTemp.empty() ? nullptr : m_previousTemp.c_str());
        SetMessageBoxHandler(nullptr);
        EndProcessesOfFile(m_sleeper);
        Sleep(100);
    }

    [[nodiscard]] std::string Log() const { return ReadFileText(m_log); }
    [[nodiscard]] bool SleeperRuns() const
    {
        std::vector<uint32_t> found;
        ProcessList processes;
        processes.FindProcessesByPath(m_sleeper, found);
        return !found.empty();
    }

    ScratchFolder m_scratch{"launch"};
    const std::string m_sleeper = m_scratch.Join("Sleeper.exe");
    const std::string m_log = m_scratch.Join("commands.log");
    const std::string m_temp = m_scratch.Join("temp");
    std::string m_previousTemp;
};

}

TEST_F(Launching, ParameterIsQuotedAndTheWaitKeepsMessagesFlowing)
{
    g_timerTicks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, CountTick);
    const DWORD start = GetTickCount();
    LaunchProgram(m_sleeper, "1500", LaunchWait::UntilEnded);
    const DWORD passed = GetTickCount() - start;
    KillTimer(nullptr, timer);

    EXPECT_EQ(m_sleeper + " \"1500\"\n", Log());
    EXPECT_GE(passed, 1400u) << "the call returns when the program has ended";
    EXPECT_GT(g_timerTicks, 5) << "window messages were dispatched while waiting";
    EXPECT_TRUE(g_shownMessages.empty());
}

TEST_F(Launching, ProgramOpenedForTheUserStartsUnlessOthersCanChangeIt)
{
    EXPECT_TRUE(OpenForTheUser(m_sleeper, "100", "", SW_HIDE));
    EXPECT_TRUE(WaitUntil([&] { return Log().find("100") != std::string::npos; }, 5000)) << Log();
    EXPECT_TRUE(g_shownMessages.empty());

    const std::string open = m_scratch.Join("open");
    ASSERT_TRUE(MakeFolder(open) && LetEveryoneChange(open));
    const std::string planted = open + "\\Readme.exe";
    ASSERT_TRUE(CopyFixture("fixture_sleeper.exe", planted));
    ASSERT_TRUE(RunsElevated()) << "the check applies to elevated runs";
    EXPECT_FALSE(OpenForTheUser(planted, "200", "", SW_HIDE));
    Sleep(500);
    EXPECT_EQ(std::string::npos, Log().find("200")) << Log();
    ASSERT_EQ(1u, g_shownMessages.size());
    EXPECT_EQ(planted + " was not run: Everyone can change " + open + ".", g_shownMessages[0]);
}

TEST_F(Launching, ProgramAloneStartsWithoutACommandLineAndReturnsAtOnce)
{
    const DWORD start = GetTickCount();
    LaunchProgram(m_sleeper, "", LaunchWait::Return);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_TRUE(WaitUntil([&] { return !Log().empty(); }, 5000));
    EXPECT_TRUE(SleeperRuns());
}

TEST_F(Launching, QuitMessageEndsTheWaitAndTheProgramRunsOn)
{
    PostQuitMessage(0);
    const DWORD start = GetTickCount();
    LaunchProgram(m_sleeper, "30000", LaunchWait::UntilEnded);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_TRUE(TakeQuitMessage()) << "the quit message is still there for the program's own loop";
    EXPECT_TRUE(SleeperRuns());
}

TEST_F(Launching, ProgramThatCannotStartIsReported)
{
    const std::string missing = m_scratch.Join("Missing.exe");
    LaunchProgram(missing, "", LaunchWait::UntilEnded);
    LaunchProgram(missing, "readme.txt", LaunchWait::Return);
    ASSERT_EQ(2u, g_shownMessages.size());
    EXPECT_EQ("CreateProcess is error: " + missing, g_shownMessages[0]);
    EXPECT_EQ("CreateProcess is error: %s%d", [&] {
        LaunchProgram("%s%d", "", LaunchWait::Return);
        return g_shownMessages.back();
    }()) << "the program text is never taken as a format";
}

TEST_F(Launching, WaitedCommandHasRunWhenTheCallReturns)
{
    const std::string output = m_scratch.Join("out.txt");
    CommandRunner runner;
    EXPECT_EQ("", runner.Run("cmd /c echo waited>\"" + output + "\"", CommandRunner::kWaitedMode));
    EXPECT_EQ("waited\r\n", ReadFileText(output));
}

TEST_F(Launching, BatchModeRunsEveryLineAndLeavesNoBatchBehind)
{
    const std::string first = m_scratch.Join("first.txt");
    const std::string second = m_scratch.Join("second.txt");
    CommandRunner runner;
    EXPECT_EQ("", runner.Run("@echo one>\"" + first + "\"\r\n@echo two>\"" + second + "\"\r\n", CommandRunner::kBatchMode));
    EXPECT_EQ("one\r\n", ReadFileText(first));
    EXPECT_EQ("two\r\n", ReadFileText(second));
    EXPECT_FALSE(AnyWorkFolder()) << "the batch file and its folder are gone";
}

TEST_F(Launching, BatchPlantedInTheTempFolderIsNeitherWrittenNorRun)
{
    // Held open by its planter without delete sharing, it cannot be deleted, and an open of
    // the name would write the command into it and run what the planter puts there.
    const std::string planted = TempFolder() + "MyDocCmd.bat";
    const std::string plantedRun = m_scratch.Join("planted.txt");
    const std::string plantedText = "@echo planted>\"" + plantedRun + "\"\r\n";
    ASSERT_TRUE(WriteFileText(planted, plantedText));
    HANDLE holder = CreateFileA(planted.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    const std::string ours = m_scratch.Join("ours.txt");
    CommandRunner runner;
    (void)runner.Run("@echo ours>\"" + ours + "\"\r\n", CommandRunner::kBatchMode);
    CloseHandle(holder);
    EXPECT_EQ("ours\r\n", ReadFileText(ours));
    EXPECT_EQ(plantedText, ReadFileText(planted));
    EXPECT_FALSE(PathExists(plantedRun));
    DeleteFileA(planted.c_str());
}

TEST_F(Launching, UnwaitedCommandReturnsAtOnce)
{
    CommandRunner runner;
    const DWORD start = GetTickCount();
    EXPECT_EQ("", runner.Run(m_sleeper + " 1000", 0));
    EXPECT_LT(GetTickCount() - start, 900u);
    EXPECT_TRUE(WaitUntil([&] { return SleeperRuns(); }, 5000));
    // Left to end by itself: under Wine, a program ended by force in a console of its own
    // can leave that console's host running.
    EXPECT_TRUE(WaitUntil([&] { return !SleeperRuns(); }, 10000));
}

TEST_F(Launching, QuitMessageEndsAWaitedRunAndTheWorkerFinishesAlone)
{
    {
        CommandRunner runner;
        PostQuitMessage(0);
        runner.Run("\"" + m_sleeper + "\" 1500", CommandRunner::kBatchMode);
        EXPECT_TRUE(TakeQuitMessage());
        EXPECT_FALSE(FoundBatch().empty()) << "the batch file stays while its program runs";
    } // the runner is gone while its worker still waits
    EXPECT_TRUE(WaitUntil([&] { return !AnyWorkFolder(); }, 10000))
        << "the worker deletes the batch file once the program has ended";
    EXPECT_NE(std::string::npos, Log().find("1500"));
}

TEST(IniFiles, TextsAndNumbersWithDefaults)
{
    ScratchFolder scratch("ini");
    const std::string file = scratch.Join("ProFile.ini");
    ASSERT_TRUE(WriteFileText(file, "[ProFileData]\r\nName=Maker App\r\nCount=42\r\nLong=" + std::string(1500, 'x') + "\r\n"));

    EXPECT_EQ("Maker App", ReadIniString(file, "ProFileData", "Name", "none"));
    EXPECT_EQ("none", ReadIniString(file, "ProFileData", "Missing", "none"));
    EXPECT_EQ("none", ReadIniString(scratch.Join("Missing.ini"), "ProFileData", "Name", "none"));
    EXPECT_EQ(1023u, ReadIniString(file, "ProFileData", "Long", "").size()) << "cut to the 1024-character buffer";
    EXPECT_EQ(42, ReadIniInt(file, "ProFileData", "Count", 7));
    EXPECT_EQ(7, ReadIniInt(file, "ProFileData", "Missing", 7));
    EXPECT_EQ(0, ReadIniInt(file, "ProFileData", "Name", 7)) << "a text that is no number reads as 0";
}
