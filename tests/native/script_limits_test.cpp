// Scripts that are wrong or hostile end with an error or a defined value, never with a crash.
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

std::string Result(const std::string& body)
{
    ScriptFixture script;
    script.engine.SetLineBudget(1000000);
    if (!script.Load("Function string main\n{\n" + body + "}\n"))
        return "load error";
    if (!script.Call("main"))
        return "error " + std::to_string(script.engine.Error().code) + " " + script.engine.Error().word;
    return script.result.ToString();
}

}

TEST(ScriptLimits, DivisionAndRemainderByZero)
{
    EXPECT_EQ("inf", Result("return 1 / 0\n"));
    EXPECT_EQ("-inf", Result("return -1 / 0\n"));
    EXPECT_EQ("error 9 5 % 0", Result("return 5 % 0\n"));
    EXPECT_EQ("error 3 %", Result("var int x\nx = 5 % 0\n"));
    EXPECT_EQ("2147483647", Result("var int x = 5\nx /= 0\nreturn x\n"));
    EXPECT_EQ("5", Result("var int x = 5\nx %= 0\nreturn x\n"));
    EXPECT_EQ("0", Result("var int x = 0\nx /= 0\nreturn x\n"));
}

TEST(ScriptLimits, IntegerOverflowWrapsOrHolds)
{
    EXPECT_EQ("-2147483648", Result("var int x = 2147483647\nx++\nreturn x\n"));
    EXPECT_EQ("-2147483648", Result("var int x = 2147483647\nx = x + 1\nreturn x\n"));
    EXPECT_EQ("2147483647", Result("var int x = 99999999999999\nreturn x\n"));
    EXPECT_EQ("2147483647", Result("var int x = 2147483647\nx *= 10\nreturn x\n"));
    EXPECT_EQ("-2147483648", Result("var int x = 1\nx -= -2147483648\nx--\nx++\nreturn x\n"));
    EXPECT_EQ("2147483647", Result("var int x = 0\nx = 1.0e308 * 10\nreturn x\n"));
    EXPECT_EQ("10", Result("var int x = 0\nx = 1e308 * 10\nreturn x\n")); // 1e308 is the int 1
    EXPECT_EQ("0.000000", Result("var int lowest = -2147483647\nlowest--\nreturn lowest % -1\n"));
}

TEST(ScriptLimits, AMegabyteLine)
{
    std::string sum = "0";
    while (sum.size() < 1000000)
        sum += " + 1";
    EXPECT_EQ("250000", Result("var int x = " + sum + "\nreturn x\n"));
    std::string text(1000000, 'a');
    EXPECT_EQ(text, Result("return \"" + text + "\"\n"));
    std::string garbage(1000000, '(');
    EXPECT_EQ("error 9 " + garbage, Result("return " + garbage + "\n"));
    std::string words;
    while (words.size() < 1000000)
        words += "word ";
    EXPECT_EQ("error 0 word", Result(words + "\n"));
}

TEST(ScriptLimits, AStringLiteralWithALoneBackslashAtTheEnd)
{
    EXPECT_EQ("error 9 \"abc\\", Result("return \"abc\\\n"));
    EXPECT_EQ("error 0 ", Result("MessageBox(\"abc\\\n"));
}

TEST(ScriptLimits, AStringDoubledWithoutEndFailsInsteadOfExhaustingMemory)
{
    EXPECT_EQ("error 3 +", Result("var string s = \"x\"\nwhile 1\n  s = s + s\n"));
    EXPECT_EQ("error 3 ", Result("var string s = \"x\"\nwhile 1\n  s += s\n"));
    std::string grown = Result("var string s = \"x\"\nvar int i = 0\nwhile i < 40\n{\n  s.Replace(\"x\", \"xx\")\n  i++\n}\nreturn s.Left(3)\n");
    EXPECT_EQ("xxx", grown);
}

TEST(ScriptLimits, EndlessLoopsEndOnTheLineBudget)
{
    EXPECT_EQ("error 18 ", Result("while 1\n{\n}\n"));
    EXPECT_EQ("error 18 ", Result("again:\nGoto again\n"));
}

TEST(ScriptLimits, DeeplyNestedSwitchesAreRefused)
{
    std::string body = "var int n = 1\n";
    for (int i = 0; i < 200; ++i)
        body += "switch n\n{\n";
    for (int i = 0; i < 200; ++i)
        body += "}\n";
    body += "return \"done\"\n";
    EXPECT_EQ("error 0 ", Result(body));
}

TEST(ScriptLimits, ALoadOfManyLinesAndFunctions)
{
    std::string script;
    for (int i = 0; i < 20000; ++i)
        script += "Function int f" + std::to_string(i) + "(int a)\n{\nreturn a + " + std::to_string(i) + "\n}\n";
    ScriptFixture fixture;
    ASSERT_TRUE(fixture.Load(script));
    ASSERT_TRUE(fixture.Call("f19999", {"1"}));
    EXPECT_EQ(20000, fixture.result.ToInt());
}
