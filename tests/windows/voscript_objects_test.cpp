#include "tests/support/fixtures.h"
#include "tests/support/scratch.h"
#include "tests/support/scratch_key.h"

#include <gtest/gtest.h>

// voscript.exe runs the script that uses each system object once, as an author would check it.

namespace {

// Runs the command line with its output into a file; the output, or "<not run>", and the exit code.
std::string RunCapturingOutput(const std::string& commandLine, const std::string& outputPath, DWORD& exitCode)
{
    exitCode = STILL_ACTIVE;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE)
        return "<not run>";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    const bool started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                        &process);
    CloseHandle(output);
    if (!started)
        return "<not run>";
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ReadFileText(outputPath);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}

TEST(VoscriptSystemObjects, ScriptUsesEachObjectOnce)
{
    ScratchFolder folder("voscriptobjects");
    ScratchKey key(HKEY_CURRENT_USER, "voscriptobjects");
    ASSERT_TRUE(key.IsReady());
    const std::string library = folder.Join("exports.dll");
    ASSERT_TRUE(CopyFixture("fixture_exports.dll", library));
    const std::string binary = folder.Join("Service.exe");
    ASSERT_TRUE(CopyFixture("fixture_service.exe", binary));
    ScratchService service("voscript", binary);
    ASSERT_TRUE(service.IsReady());

    const std::string call = Quoted(FixturePath("system_objects.vos")) + " UseEachObject " + Quoted(service.Name()) + " "
        + Quoted(library) + " " + Quoted(key.Path());
    DWORD exitCode = 0;
    DWORD size = 0;
    // Unless asked, the registry value is not written and the library is neither loaded nor
    // called: the calls are printed and answered.
    const std::string dryRun = RunCapturingOutput(Quoted(FixturePath("voscript.exe")) + " " + call,
                                                  folder.Join("dry.txt"), exitCode);
    EXPECT_NE(std::string::npos, dryRun.find("RegKey.SetRegStrValue(\"HKEY_CURRENT_USER\"")) << dryRun;
    EXPECT_NE(std::string::npos, dryRun.find("CallProc(\"UpperCaseText\", \"missing\") = \"\"  (not carried out")) << dryRun;
    EXPECT_NE(std::string::npos, dryRun.find("result: missing+1|missing+2\n")) << dryRun;
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegGetValueA(HKEY_CURRENT_USER, key.Path().c_str(), "Greeting", RRF_RT_REG_SZ,
                                                 nullptr, nullptr, &size));

    const std::string output = RunCapturingOutput(Quoted(FixturePath("voscript.exe")) + " --real " + call,
                                                  folder.Join("output.txt"), exitCode);
    EXPECT_EQ("result: HELLO+1|hello+2\n", output);
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, key.Path().c_str(), "Greeting", RRF_RT_REG_SZ, nullptr,
                                          nullptr, &size));
}
