#include "wsh/active_script_host.h"
#include "wsh/vbs_function_call.h"

#include <gtest/gtest.h>

// VBScript and JScript code run in Wine's own script engines of the test prefix.

namespace {

VbsArgument Number(std::int32_t value)
{
    VbsArgument argument;
    argument.number = value;
    return argument;
}

VbsArgument Text(const std::string& text)
{
    VbsArgument argument;
    argument.isString = true;
    argument.text = text;
    return argument;
}

std::string AllTexts(const std::vector<std::string>& texts)
{
    std::string joined;
    for (const std::string& text : texts)
        joined += "[" + text + "]";
    return joined;
}

}

TEST(ScriptHost, VbscriptSyntaxErrorYieldsTheScriptErrorAndTheParseFailure)
{
    ActiveScriptHost host;
    EXPECT_FALSE(host.AddScript("Function Good()\r\n  Good = 1\r\nEnd Function\r\nIf Then Else\r\n"));
    const std::vector<std::string>& texts = host.ErrorTexts();
    ASSERT_EQ(2u, texts.size()) << AllTexts(texts);
    // Line and position count from 1; the source line and description are the engine's to give.
    EXPECT_EQ(0u, texts[0].find("Script error in line 4, position ")) << texts[0];
    EXPECT_EQ(0u, texts[1].find("COM Error: 0x")) << texts[1];
    EXPECT_EQ("\nError parsing script text", texts[1].substr(texts[1].size() - 26)) << texts[1];
    EXPECT_EQ(std::string("COM Error: 0x").size() + 8, texts[1].find('\n')) << "eight hexadecimal digits";
    EXPECT_TRUE(host.HasScriptError());

    // The failed text dropped its engine: the next text runs in a new one.
    EXPECT_TRUE(host.AddScript("Function Good()\r\n  Good = 1\r\nEnd Function\r\n")) << AllTexts(host.ErrorTexts());
    std::string result;
    EXPECT_TRUE(host.CallScriptFunction("Good", {}, result));
    EXPECT_EQ("1", result);
}

TEST(ScriptHost, UndefinedFunctionGivesAnEmptyResultAndNoError)
{
    ActiveScriptHost host;
    ASSERT_TRUE(host.AddScript("Function Known()\r\n  Known = \"k\"\r\nEnd Function\r\n"));
    std::string result = "sentinel";
    EXPECT_TRUE(host.CallScriptFunction("Unknown", {Number(1)}, result));
    EXPECT_EQ("", result);
    EXPECT_FALSE(host.HasScriptError());
    EXPECT_TRUE(host.ErrorTexts().empty()) << AllTexts(host.ErrorTexts());

    ActiveScriptHost empty;
    EXPECT_TRUE(empty.CallScriptFunction("Known", {}, result)) << "no script: nothing to call";
    EXPECT_EQ("", result);
}

TEST(ScriptHost, LanguageTwoSelectsJscriptAndZeroTheDefault)
{
    const std::string jscript = "function twice(x) { return x * 2; }";
    ActiveScriptHost host;
    ASSERT_TRUE(host.InitEngine(JScriptLanguage)) << AllTexts(host.ErrorTexts());
    ASSERT_TRUE(host.AddScript(jscript)) << AllTexts(host.ErrorTexts());
    std::string result;
    EXPECT_TRUE(host.CallScriptFunction("twice", {Number(21)}, result));
    EXPECT_EQ("42", result);

    ASSERT_TRUE(host.InitEngine(DefaultLanguage));
    EXPECT_FALSE(host.AddScript(jscript)) << "the default language is VBScript";
}

TEST(ScriptHost, RuntimeErrorOfACallIsReportedForThatCallOnly)
{
    ActiveScriptHost host;
    ASSERT_TRUE(host.AddScript("Function Fails()\r\n  Err.Raise 5\r\nEnd Function\r\n"
                               "Function Works()\r\n  Works = \"w\"\r\nEnd Function\r\n"));
    std::string result;
    EXPECT_FALSE(host.CallScriptFunction("Fails", {}, result));
    ASSERT_EQ(1u, host.ErrorTexts().size()) << AllTexts(host.ErrorTexts());
    EXPECT_EQ(0u, host.ErrorTexts()[0].find("Script error in line 2, position ")) << host.ErrorTexts()[0];
    // A name the script does not define brings none of the old errors back.
    EXPECT_TRUE(host.CallScriptFunction("Undefined", {}, result)) << AllTexts(host.ErrorTexts());
    EXPECT_FALSE(host.HasScriptError());
    EXPECT_TRUE(host.ErrorTexts().empty()) << AllTexts(host.ErrorTexts());
    ASSERT_FALSE(host.CallScriptFunction("Fails", {}, result));
    EXPECT_TRUE(host.CallScriptFunction("Works", {}, result)) << AllTexts(host.ErrorTexts());
    EXPECT_EQ("w", result);
    EXPECT_TRUE(host.ErrorTexts().empty()) << AllTexts(host.ErrorTexts());
}

TEST(ScriptHost, ExposedObjectIsVisibleToTheScript)
{
    ActiveScriptHost host;
    CLSID dictionaryClass;
    ASSERT_EQ(S_OK, CLSIDFromProgID(L"Scripting.Dictionary", &dictionaryClass));
    IUnknown* dictionary = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(dictionaryClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                     reinterpret_cast<void**>(&dictionary)));
    EXPECT_TRUE(host.ExposeObject("Store", dictionary)) << AllTexts(host.ErrorTexts());
    dictionary->Release();
    ASSERT_TRUE(host.AddScript("Function Keep(v)\r\n  Store.Add \"k\", v\r\n  Keep = Store.Item(\"k\")\r\nEnd Function\r\n"))
        << AllTexts(host.ErrorTexts());
    std::string result;
    EXPECT_TRUE(host.CallScriptFunction("Keep", {Text("kept")}, result)) << AllTexts(host.ErrorTexts());
    EXPECT_EQ("kept", result);
}

TEST(VbsFunctionCall, PassesAnIntAndAStringAndReturnsAString)
{
    const std::string code = "Function Describe(n, s)\r\n"
                             "  Describe = s & \"-\" & (n + 1) & \"-\" & TypeName(n) & \"/\" & TypeName(s)\r\n"
                             "End Function\r\n";
    std::string result;
    std::vector<std::string> errors;
    EXPECT_TRUE(CallVbsFunctionThroughHost(code, "Describe", {Number(41), Text("x y")}, result, errors, ScriptDialogs::Allowed));
    EXPECT_EQ("x y-42-Long/String", result);
    EXPECT_TRUE(errors.empty()) << AllTexts(errors);

    EXPECT_FALSE(CallVbsFunctionThroughHost("Function (", "Describe", {}, result, errors, ScriptDialogs::Allowed));
    EXPECT_EQ("", result);
    EXPECT_EQ(2u, errors.size()) << AllTexts(errors);
}
