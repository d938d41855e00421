#include "sysops/process_list.h"

#include "base/path_text.h"
#include "base/text_compare.h"
#include "tests/support/fixtures.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

// Processes of the Wine prefix, walked with the Tool Help snapshots.

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

TEST(ProcessWalk, ProcessesAreNamedByTheirExecutableFile)
{
    const std::string own = OwnExecutable();
    std::string text;
    ProcessList processes;
    ASSERT_TRUE(ListsProcess(processes, GetCurrentProcessId(), text));
    EXPECT_TRUE(EqualsNoCase(GetFileNamePart(own), text)) << text;
}

TEST(ProcessWalk, ModulesOfAProcessAreItsFullPaths)
{
    ProcessList processes;
    const std::vector<std::string> modules = ModulesOf(processes, GetCurrentProcessId());
    EXPECT_TRUE(Contains(modules, OwnExecutable()));
    EXPECT_TRUE(Contains(modules, SystemModule("kernel32.dll")));
    EXPECT_TRUE(Contains(modules, SystemModule("ntdll.dll")));
    EXPECT_TRUE(processes.ProcessUsesModule(GetCurrentProcessId(), SystemModule("kernel32.dll")));
    EXPECT_FALSE(processes.ProcessUsesModule(GetCurrentProcessId(), "C:\\nowhere\\kernel32.dll"));
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

    HANDLE watched = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, running.Id());
    ASSERT_NE(nullptr, watched);

    std::vector<HeldProcess> held;
    ProcessList().FindProcessesByPath(tool, held);
    ASSERT_EQ(1u, held.size());
    EXPECT_EQ(running.Id(), held[0].ProcessId());
    EXPECT_EQ(0, held[0].Terminate(7));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watched, 5000));
    DWORD exitCode = 0;
    EXPECT_TRUE(GetExitCodeProcess(watched, &exitCode));
    EXPECT_EQ(7u, exitCode) << "ended with the code it was given";
    CloseHandle(watched);
}

TEST(RunningApplications, TheUninstallerNeverEndsItself)
{
    const std::string own = OwnExecutable();
    ProcessList processes;
    std::string text;
    ASSERT_TRUE(ListsProcess(processes, GetCurrentProcessId(), text));
    ASSERT_TRUE(processes.ProcessUsesModule(GetCurrentProcessId(), own)) << "this process would match the file";

    // Other instances of this test program, suites run at the same time, are rightly found;
    // so nothing found here is ended.
    std::vector<uint32_t> found;
    processes.FindProcessesByPath(own, found);
    EXPECT_EQ(found.end(), std::find(found.begin(), found.end(), GetCurrentProcessId())) << "this process is left out";

    const ProcessEnding none = EndProcessesOfFile("");
    EXPECT_EQ(0u, none.found) << "an empty path names no program";
    EXPECT_EQ(0u, none.ended);
}
