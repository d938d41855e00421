#include "script_test_support.h"

#include "script/voscript_runner.h"

#include <gtest/gtest.h>

namespace {

struct RunOutcome {
    int status;
    std::string output;
};

RunOutcome RunScript(const std::string& script, const std::string& function, const std::vector<std::string>& arguments = {})
{
    RunOutcome outcome{};
    outcome.status = RunVoScript(Crlf(script), function, arguments, outcome.output);
    return outcome;
}

}

TEST(VoScriptRunner, PrintsMessageBoxesThenTheResult)
{
    auto outcome = RunScript("Function string Main(string who, int n)\n"
                             "{\n"
                             "MessageBox(\"Hello \" + who + \"\\nline two\", \"Greeting\")\n"
                             "var int answer = MessageBox(\"again\")\n"
                             "return \"n=\" + n + \" answer=\" + answer\n"
                             "}\n",
                             "main", {"World", "41"});
    EXPECT_EQ(0, outcome.status);
    EXPECT_EQ("MessageBox: Greeting: Hello World\\nline two\n"
              "MessageBox: Prompt: again\n"
              "result: n=41 answer=1\n",
              outcome.output);
}

TEST(VoScriptRunner, ReportsLoadAndScriptErrors)
{
    auto load = RunScript("\nFunction int f(int a,,b)\n{\n}\n", "f");
    EXPECT_EQ(1, load.status);
    EXPECT_EQ("error: code=10 line=2 word=int f(int a,,b)\n", load.output);
    auto missing = RunScript("Section s\n{\n}\n", "nothere");
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ("error: code=11 line=-1 word=nothere\n", missing.output);
    auto failing = RunScript("Section s\n{\nMessageBox(\"before\")\nx = 1\n}\n", "s");
    EXPECT_EQ(1, failing.status);
    EXPECT_EQ("MessageBox: Prompt: before\nerror: code=13 line=4 word=x\n", failing.output);
}

TEST(VoScriptRunner, ArgumentsAreUntypedTexts)
{
    auto outcome = RunScript("Function string echo(string a)\n{\nreturn a\n}\n", "echo", {"two\r\nlines"});
    EXPECT_EQ(0, outcome.status);
    EXPECT_EQ("result: two\\nlines\n", outcome.output);
    auto none = RunScript("Section s\n{\n}\n", "s");
    EXPECT_EQ("result: \n", none.output);
}

TEST(VoScriptRunner, VbScriptIsNotAvailable)
{
    auto outcome = RunScript("Section s\n{\nCallVBSFunction(\"F\")\n}\n", "s");
    EXPECT_EQ(1, outcome.status);
    EXPECT_EQ("error: code=0 line=3 word=CallVBSFunction\n", outcome.output);
}
