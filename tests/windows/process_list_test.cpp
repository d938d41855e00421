#include "sysops/process_list.h"

#include "base/path_text.h"
#include "base/text_compare.h"
#include "tests/support/fixtures.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

// Processes of the Wine prefix, walked the way the system offers: Tool Help normally, the
// process-status functions when a test narrows the choice.

namespace {

std::string OwnExecutable()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string SystemModule(const char* name)
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(GetModuleHandleA(name), path, MAX_PATH);
    return path;
}

bool ListsProcess(ProcessList& processes, DWORD processId, std::string& text)
{
    ProcessEntry entry;
    for (bool more = processes.FirstProcess(entry); more; more = processes.NextProcess(entry)) {
        if (entry.ProcessId == processId) {
            text = entry.Text;
            return true;
        }
    }
    return false;
}

std::vector<std::string> ModulesOf(ProcessList& processes, DWORD processId)
{
    std::vector<std::string> paths;
    ModuleEntry entry;
    for (bool more = processes.FirstModule(processId, entry); more; more = processes.NextModule(processId, entry))
        paths.push_back(entry.Path);
    return paths;
}

bool Contains(const std::vector<std::string>& paths, const std::string& wanted)
{
    return std::any_of(paths.begin(), paths.end(), [&](const std::string& path) { return EqualsNoCase(path, wanted); });
}

std::vector<uint32_t> Sorted(std::vector<uint32_t> ids)
{
    std::sort(ids.begin(), ids.end());
    return ids;
}

}

TEST(ProcessWalk, ToolHelpIsPreferredAndChoicesCanBeNarrowed)
{
    ProcessList preferred;
    EXPECT_TRUE(preferred.Mode() & kToolHelpMode);
    EXPECT_FALSE(preferred.Mode() & kProcessStatusMode) << "Tool Help replaces the process-status walk";

    ProcessList status(kProcessStatusMode);
    EXPECT_EQ(static_cast<unsigned>(kProcessStatusMode), status.Mode());

    ProcessList nothing(kTaskMode);
    EXPECT_EQ(0u, nothing.Mode()) << "16-bit tasks only come on top of another walk";
    ProcessEntry entry;
    EXPECT_FALSE(nothing.FirstProcess(entry));
    ModuleEntry module;
    EXPECT_FALSE(nothing.FirstModule(GetCurrentProcessId(), module));
}

TEST(ProcessWalk, ToolHelpNamesFilesAndProcessStatusGivesFullPaths)
{
    const std::string own = OwnExecutable();
    std::string text;
    ProcessList toolHelp(kToolHelpMode);
    ASSERT_TRUE(ListsProcess(toolHelp, GetCurrentProcessId(), text));
    EXPECT_TRUE(EqualsNoCase(GetFileNamePart(own), text)) << text;

    // One identifier of room at first: the buffer has to grow before the list is whole.
    ProcessList status(kProcessStatusMode, 1);
    ASSERT_TRUE(ListsProcess(status, GetCurrentProcessId(), text));
    EXPECT_TRUE(EqualsNoCase(own, text)) << text;
}

TEST(ProcessWalk, ModulesOfAProcessInBothWalks)
{
    for (unsigned mode : {static_cast<unsigned>(kToolHelpMode), static_cast<unsigned>(kProcessStatusMode)}) {
        SCOPED_TRACE(mode);
        ProcessList processes(mode, 1);
        const std::vector<std::string> modules = ModulesOf(processes, GetCurrentProcessId());
        EXPECT_TRUE(Contains(modules, OwnExecutable()));
        EXPECT_TRUE(Contains(modules, SystemModule("kernel32.dll")));
        EXPECT_TRUE(Contains(modules, SystemModule("ntdll.dll")));
        EXPECT_TRUE(processes.ProcessUsesModule(GetCurrentProcessId(), SystemModule("kernel32.dll")));
        EXPECT_FALSE(processes.ProcessUsesModule(GetCurrentProcessId(), "C:\\nowhere\\kernel32.dll"));
    }
}

TEST(RunningApplications, OnlyInstancesOfTheRecordedFileAreFoundAndEnded)
{
    ScratchFolder scratch("processes");
    ASSERT_TRUE(MakeFolder(scratch.Join("App")) && MakeFolder(scratch.Join("Other")));
    const std::string tool = scratch.Join("App\\Tool.exe");
    const std::string namesake = scratch.Join("Other\\Tool.exe");
    ASSERT_TRUE(CopyFixture("fixture_sleeper.exe", tool));
    ASSERT_TRUE(CopyFixture("fixture_sleeper.exe", namesake));
    StartedProcess first(tool + " 60000");
    StartedProcess second(tool + " 60000");
    StartedProcess elsewhere(namesake + " 60000");
    ASSERT_NE(0u, first.Id());
    ASSERT_NE(0u, second.Id());
    ASSERT_NE(0u, elsewhere.Id());

    ProcessList processes;
    std::vector<uint32_t> found = {42};
    processes.FindProcessesByPath(tool, found);
    EXPECT_EQ(Sorted({42, first.Id(), second.Id()}), Sorted(found)) << "appended, and the namesake left out";

    std::vector<uint32_t> lowerCase;
    std::string lowered = tool;
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), [](char c) { return static_cast<char>(tolower(c)); });
    processes.FindProcessesByPath(lowered, lowerCase);
    EXPECT_EQ(2u, lowerCase.size()) << "paths compare without regard to case";

    std::vector<uint32_t> byStatus;
    ProcessList status(kProcessStatusMode);
    status.FindProcessesByPath(tool, byStatus);
    EXPECT_EQ(Sorted({first.Id(), second.Id()}), Sorted(byStatus)) << "the process-status walk finds them by full path";

    EndProcessesOfFile(tool);
    EXPECT_TRUE(first.EndsWithin(5000));
    EXPECT_TRUE(second.EndsWithin(5000));
    EXPECT_FALSE(elsewhere.EndsWithin(200)) << "a program of the same name elsewhere keeps running";
}

TEST(RunningApplications, FoundProcessesAreHeldAndEndedThroughTheirHandles)
{
    ScratchFolder scratch("held");
    const std::string tool = scratch.Join("Held.exe");
    ASSERT_TRUE(CopyFixture("fixture_sleeper.exe", tool));
    StartedProcess running(tool + " 60000");
    ASSERT_NE(0u, running.Id());

    std::vector<HeldProcess> held;
    ProcessList().FindProcessesByPath(tool, held);
    ASSERT_EQ(1u, held.size());
    EXPECT_EQ(running.Id(), held[0].ProcessId());
    EXPECT_EQ(0, held[0].Terminate(7));
    EXPECT_TRUE(running.EndsWithin(5000));
}

TEST(RunningApplications, TheUninstallerNeverEndsItself)
{
    std::vector<uint32_t> found;
    ProcessList processes;
    processes.FindProcessesByPath(OwnExecutable(), found);
    EXPECT_TRUE(found.empty());
    EndProcessesOfFile(OwnExecutable());
    EndProcessesOfFile("");
    SUCCEED() << "still here";
}

TEST(RunningApplications, TerminationByIdReportsZeroOrMinusOne)
{
    StartedProcess sleeper(FixturePath("fixture_sleeper.exe") + " 60000");
    ASSERT_NE(0u, sleeper.Id());
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, sleeper.Id());
    ASSERT_NE(nullptr, process);
    EXPECT_EQ(0, TerminateProcessById(sleeper.Id(), 1234));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 5000));
    DWORD exitCode = 0;
    EXPECT_TRUE(GetExitCodeProcess(process, &exitCode));
    EXPECT_EQ(1234u, exitCode);
    CloseHandle(process);

    EXPECT_EQ(-1, TerminateProcessById(0xFFFFFFF0, 0)) << "no such process";
}

TEST(ProcessWalk, ProcessNamedNtvdmIsListedOnceWithoutA16BitWalk)
{
    // 64-bit Windows has no NTVDM, and Wine's vdmdbg.dll aborts the process that calls its
    // task walk, so a 64-bit uninstaller never asks for 16-bit tasks.
    ProcessList processes;
    EXPECT_EQ(0u, processes.Mode() & kTaskMode);
    ScratchFolder scratch("ntvdm");
    const std::string ntvdm = scratch.Join("NTVDM.EXE");
    ASSERT_TRUE(CopyFixture("fixture_sleeper.exe", ntvdm));
    StartedProcess running(ntvdm + " 60000");
    ASSERT_NE(0u, running.Id());

    int listed = 0;
    ProcessEntry entry;
    for (bool more = processes.FirstProcess(entry); more; more = processes.NextProcess(entry)) {
        if (entry.ProcessId == running.Id()) {
            ++listed;
            EXPECT_EQ(0u, entry.TaskHandle);
        }
    }
    EXPECT_EQ(1, listed);
}
