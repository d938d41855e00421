#include "script/script_engine.h"
#include "script_system/system_objects.h"
#include "wsh/vbs_function_call.h"

#include "tests/support/fixtures.h"
#include "tests/support/scratch.h"
#include "tests/support/scratch_key.h"

#include <gtest/gtest.h>

// The system objects as scripts use them, against the prefix's real registry, service manager,
// libraries and script engines.

namespace {

// The uninstaller's side of the engine: message boxes are recorded, VBScript runs for real.
class SystemHost final : public ScriptHost {
public:
    [[nodiscard]] int ShowMessageBox(const std::string& caption, const std::string& text, int) override
    {
        shown.push_back(caption + ": " + text);
        return IDOK;
    }
    [[nodiscard]] bool CallVBSFunction(const std::string& code, const std::string& name,
                                       const std::vector<VbsArgument>& arguments, std::string& result,
                                       std::vector<std::string>& errorTexts) override
    {
        return CallVbsFunctionThroughHost(code, name, arguments, result, errorTexts, ScriptDialogs::Allowed);
    }
    [[nodiscard]] Counted<ScriptObject> CreateSystemClass(const std::string& className) override
    {
        return MakeSystemClass(className);
    }

    std::vector<std::string> shown;
};

// One script with the "Service" and "RegKey" globals; its lines end as the reader wants them.
class SystemScript {
public:
    explicit SystemScript(const std::string& scriptFolder = {})
    {
        engine.SetScriptFolder(scriptFolder);
        engine.RegisterObject("Service", MakeServiceObject());
        engine.RegisterObject("RegKey", MakeRegKeyObject());
    }

    // Runs the lines as the body of a function of the given parameters; the result text, or
    // "error:" and the error word when the call failed.
    std::string Run(const std::string& parameters, const std::string& lines,
                    const std::vector<std::string>& arguments = {})
    {
        std::string text = "Function string Main(" + parameters + ")\n{\n" + lines + "}\n";
        std::string crlf;
        for (char c : text)
            crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        if (!engine.LoadText(crlf))
            return "load error: " + engine.Error().word;
        ArgumentList callArguments(&engine, nullptr);
        for (const std::string& argument : arguments) {
            auto variable = MakeCounted<ScriptVariable>();
            variable->Value().SetText(argument);
            callArguments.AppendVariable(std::move(variable));
        }
        if (!engine.CallFunction("Main", &callArguments, nullptr))
            return "error: " + engine.Error().word;
        return callArguments.Result().ToString();
    }

    SystemHost host;
    ScriptEngine engine{&host};
};

std::string ReadValue(HKEY root, const std::string& path, const std::string& name, DWORD& type, REGSAM view = 0)
{
    HKEY key = nullptr;
    type = REG_NONE;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return "<no key>";
    char data[256] = {};
    DWORD size = sizeof data;
    const bool read = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size)
        == ERROR_SUCCESS;
    RegCloseKey(key);
    return read ? std::string(data, size) : "<missing>";
}

}

TEST(RegKeyObject, ValuesRoundTripThroughTheRegistry)
{
    ScratchKey scratch(HKEY_CURRENT_USER, "regkeyobject");
    ASSERT_TRUE(scratch.IsReady());
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, scratch.Path(), "Expandable", REG_EXPAND_SZ, std::string("%TEMP%\\x", 9)));
    SystemScript script;
    // An expandable string is read as it is stored, not expanded.
    EXPECT_EQ("C:\\Program Files\\Maker|1C:\\Program Files\\Maker|-7|1,-7|1|%TEMP%\\x", script.Run("string key, string folder",
        "RegKey.SetRegStrValue(\"HKEY_CURRENT_USER\", key, \"Text\", folder)\n"
        "RegKey.SetRegDWordValue(\"HKEY_CURRENT_USER\", key, \"Count\", \"-7\")\n"
        "var CRegKey k\nvar string got\nvar int number\nvar int read\nvar string report\n"
        "report = k.GetRegStrValue(\"HKEY_CURRENT_USER\", key, \"Text\", \"none\")\n"
        "read = k.GetRegStrValueEx(\"HKEY_CURRENT_USER\", key, \"Text\", got)\n"
        "report = report + \"|\" + read + got\n"
        "report = report + \"|\" + k.GetRegDWordValue(\"HKEY_CURRENT_USER\", key, \"Count\", \"5\")\n"
        "read = k.GetRegDWordValueEx(\"HKEY_CURRENT_USER\", key, \"Count\", number)\n"
        "report = report + \"|\" + read + \",\" + number\n"
        "report = report + \"|\" + k.ExistValue(\"HKEY_CURRENT_USER\", key, \"Count\")\n"
        "report = report + \"|\" + k.GetRegStrValue(\"HKEY_CURRENT_USER\", key, \"Expandable\", \"none\")\n"
        "return report\n",
        {scratch.Path(), "C:\\Program Files\\Maker"}));
    DWORD type = 0;
    EXPECT_EQ(std::string("C:\\Program Files\\Maker\0", 23), ReadValue(HKEY_CURRENT_USER, scratch.Path(), "Text", type))
        << "the stored length counts the terminating zero";
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(std::string("\xF9\xFF\xFF\xFF", 4), ReadValue(HKEY_CURRENT_USER, scratch.Path(), "Count", type));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
}

TEST(RegKeyObject, MissingKeysAndValuesGiveTheDefaultsAndNothingIsCreated)
{
    ScratchKey scratch(HKEY_CURRENT_USER, "regkeymissing");
    ASSERT_TRUE(scratch.IsReady());
    const std::string missingKey = scratch.Join("Absent");
    SystemScript script;
    EXPECT_EQ("dflt|12|0<>|0,0|0|dflt|0", script.Run("string key, string missing",
        "var CRegKey k\nvar string got = \"sentinel\"\nvar int number = 99\nvar int read\nvar string report\n"
        "RegKey.SetRegStrValue(\"HKEY_CURRENT_USER\", missing, \"Text\", \"x\")\n"
        "RegKey.SetRegDWordValue(\"HKEY_CURRENT_USER\", missing, \"Count\", \"1\")\n"
        "report = k.GetRegStrValue(\"HKEY_CURRENT_USER\", missing, \"Text\", \"dflt\")\n"
        "report = report + \"|\" + k.GetRegDWordValue(\"HKEY_CURRENT_USER\", key, \"Nothing\", \"12\")\n"
        "read = k.GetRegStrValueEx(\"HKEY_CURRENT_USER\", key, \"Nothing\", got)\n"
        "report = report + \"|\" + read + \"<\" + got + \">\"\n"
        "read = k.GetRegDWordValueEx(\"HKEY_CURRENT_USER\", missing, \"Count\", number)\n"
        "report = report + \"|\" + read + \",\" + number\n"
        "report = report + \"|\" + k.ExistValue(\"HKEY_CURRENT_USER\", key, \"Nothing\")\n"
        "report = report + \"|\" + k.GetRegStrValue(\"hkey_current_user\", key, \"Text\", \"dflt\")\n"
        "report = report + \"|\" + k.ExistValue(\"HKEY_CURRENT_USER\", missing, \"\")\n"
        "return report\n",
        {scratch.Path(), missingKey}));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, missingKey)) << "a key is only opened, never created";
}

TEST(RegKeyObject, KeyOfA32BitInstallerIsFoundInThe32BitView)
{
    const std::string path = "Software\\UnInstallTests\\View32-" + std::to_string(GetCurrentProcessId());
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                             KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr));
    RegSetValueExA(key, "Dir", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\x86"), 7);
    RegCloseKey(key);
    SystemScript script;
    EXPECT_EQ("C:\\x86", script.Run("string key",
        "RegKey.SetRegStrValue(\"HKEY_LOCAL_MACHINE\", key, \"Written\", \"w\")\n"
        "var CRegKey k\nreturn k.GetRegStrValue(\"HKEY_LOCAL_MACHINE\", key, \"Dir\", \"none\")\n", {path}));
    DWORD type = 0;
    EXPECT_EQ(std::string("w\0", 2), ReadValue(HKEY_LOCAL_MACHINE, path, "Written", type, KEY_WOW64_32KEY));
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), KEY_WOW64_32KEY, 0);
}

TEST(ServiceObject, StartsReportsStopsAndUninstallsTheService)
{
    ScratchFolder folder("serviceobject");
    const std::string binary = folder.Join("Service.exe");
    ASSERT_TRUE(CopyFixture("fixture_service.exe", binary));
    ScratchService service("object", binary);
    ASSERT_TRUE(service.IsReady());

    SystemScript asking;
    EXPECT_EQ("1", asking.Run("string name", "return Service.ServiceIsRun(name)\n", {service.Name()}))
        << "a stopped service exists";
    SystemScript starting;
    EXPECT_EQ("", starting.Run("string name", "Service.StartService(name)\nreturn \"\"\n", {service.Name()}));
    for (int poll = 0; poll < 100 && service.State() != SERVICE_RUNNING; ++poll)
        Sleep(50);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), service.State());

    SystemScript stopping;
    EXPECT_EQ("", stopping.Run("string name", "Service.StopServiceAndWait(name)\nreturn \"\"\n", {service.Name()}));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), service.State()) << "the wait ends when the service stopped";

    SystemScript removing;
    EXPECT_EQ("0", removing.Run("string name", "Service.UnInstallService(name)\nreturn Service.ServiceIsRun(name)\n",
                                {service.Name()}));
    EXPECT_FALSE(service.Exists());
}

class DllModuleObject : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CopyFixture("fixture_exports.dll", m_folder.Join("exports.dll"))); }

    ScratchFolder m_folder{"dllobject"};
};

TEST_F(DllModuleObject, WritableTextsComeBackChangedAndNumbersPassInOrder)
{
    SystemScript script(m_folder.Path());
    EXPECT_EQ("HELLO world|1,-2,3,4,5|abcdefghi", script.Run("",
        "var CDllModule dll\n"
        "dll.LoadLibrary(\"exports.dll\")\n"
        "dll.AddProcDefine(\"int UpperCaseText(out mstring text)\")\n"
        "dll.AddProcDefine(\"int DescribeNumbers(int a, int b, long c, int d, int e, out mstring 64)\")\n"
        "dll.AddProcDefine(\"void FirstLetters(mstring, mstring, mstring, mstring, mstring, mstring, mstring, "
        "mstring, mstring, out mstring 9)\")\n"
        "var string text = \"hello\"\n"
        "var string numbers\n"
        "var string letters\n"
        "dll.CallProc(\"UpperCaseText\", text)\n"
        "text = text + \" world\"\n"
        "dll.CallProc(\"DescribeNumbers\", 1, -2, 3, 4, 5, numbers)\n"
        "dll.CallProc(\"FirstLetters\", \"a\", \"b\", \"c\", \"d\", \"e\", \"f\", \"g\", \"h\", \"i\", letters)\n"
        "return text + \"|\" + numbers + \"|\" + letters\n"));
}

TEST_F(DllModuleObject, UndeclaredProceduresAndAnEleventhTextAreRefused)
{
    SystemScript undeclared(m_folder.Path());
    EXPECT_EQ("error: dll.CallProc", undeclared.Run("",
        "var CDllModule dll\ndll.LoadLibrary(\"exports.dll\")\nvar string text = \"x\"\n"
        "dll.CallProc(\"UpperCaseText\", text)\nreturn text\n"))
        << "the library exports it, but the script never declared it";

    SystemScript eleven(m_folder.Path());
    EXPECT_EQ("error: dll.CallProc", eleven.Run("",
        "var CDllModule dll\ndll.LoadLibrary(\"exports.dll\")\n"
        "dll.AddProcDefine(\"void FirstLetters(mstring, mstring, mstring, mstring, mstring, mstring, mstring, "
        "mstring, mstring, out mstring, mstring)\")\n"
        "var string letters = \"untouched\"\n"
        "dll.CallProc(\"FirstLetters\", \"a\", \"b\", \"c\", \"d\", \"e\", \"f\", \"g\", \"h\", \"i\", letters, \"k\")\n"
        "return letters\n"));
    EXPECT_EQ(8, eleven.engine.Error().code);
}

TEST(DllModuleLoading, DependenciesComeFromTheLibrarysFolderForThatLoadOnly)
{
    // The libraries lie in a folder of their own, away from the test programs' folder. They are
    // copied into the prefix: an elevated load refuses a library that other accounts can change,
    // as they can in a build folder below a world-writable one such as /tmp.
    ScratchFolder scratch("dllloading");
    const std::string libraries = scratch.Join("Libraries");
    ASSERT_TRUE(MakeFolder(libraries));
    for (const char* name : {"fixture_dependent.dll", "fixture_hidden.dll"})
        ASSERT_TRUE(CopyFileA((FixturePath("..\\fixture_libraries\\") + name).c_str(),
                              (libraries + "\\" + name).c_str(), FALSE)) << name;
    HMODULE plain = LoadLibraryExA((libraries + "\\fixture_dependent.dll").c_str(), nullptr, 0);
    EXPECT_EQ(nullptr, plain) << "a plain load does not look beside the library for what it needs";
    if (plain)
        FreeLibrary(plain);
    SystemScript script(libraries);
    EXPECT_EQ("5", script.Run("",
        "var CDllModule dll\ndll.LoadLibrary(\"fixture_dependent.dll\")\n"
        "dll.AddProcDefine(\"void MeasureText(out mstring 16)\")\n"
        "var string text = \"hello\"\ndll.CallProc(\"MeasureText\", text)\nreturn text\n"));
    // A load by name alone still searches as before.
    HMODULE other = LoadLibraryExA("fixture_dependent.dll", nullptr, 0);
    EXPECT_EQ(nullptr, other) << "the library's folder did not join the process's search path";
    if (other)
        FreeLibrary(other);
}

TEST(WsModuleObject, CallsFunctionsOfTheLoadedScriptAndShowsItsErrors)
{
    SystemScript script;
    EXPECT_EQ("a b-8", script.Run("string code",
        "var CWSModule ws\nws.LoadFile(\"\")\nws.LoadScript(code)\nvar string result\nvar int n = 7\n"
        "result = ws.CallMethod(\"Join\", \"a b\", n)\nreturn result\n",
        {"Function Join(s, n)\r\n  Join = s & \"-\" & (n + 1)\r\nEnd Function\r\n"}));
    EXPECT_TRUE(script.host.shown.empty());

    SystemScript failing;
    EXPECT_EQ("error: ws.CallMethod", failing.Run("string code",
        "var CWSModule ws\nws.LoadScript(code)\nws.CallMethod(\"Fails\")\nreturn \"\"\n",
        {"Function Fails()\r\n  Err.Raise 5\r\nEnd Function\r\n"}));
    ASSERT_EQ(1u, failing.host.shown.size());
    EXPECT_EQ(0u, failing.host.shown[0].find("VoScript: Script error in line 2, position ")) << failing.host.shown[0];
}
