#include "script_test_support.h"

#include "script/function_instance.h"

#include <gtest/gtest.h>

namespace {

// Runs the body of "Function string main" with the given lines and returns its result, or
// "error code=C line=L word=W". The body's first line is source line 3. A mistaken test
// ends on the line budget instead of looping.
std::string RunMain(const std::string& body, bool closed = true)
{
    ScriptFixture script;
    script.engine.SetLineBudget(100000);
    if (!script.Load("Function string main\n{\n" + body + (closed ? "}\n" : "")))
        return "load error";
    if (!script.Call("main")) {
        const ScriptError& error = script.engine.Error();
        return "error code=" + std::to_string(error.code) + " line=" + std::to_string(error.line) + " word=" + error.word;
    }
    return script.result.ToString();
}

}

TEST(ScriptIf, BranchesWithAndWithoutBraces)
{
    const std::string program = "var string r = \"\"\n"
                                "if n == 1\n"
                                "  r = \"one\"\n"
                                "else if n == 2\n"
                                "{\n"
                                "  r = \"two\"\n"
                                "  r = r + \"!\"\n"
                                "}\n"
                                "else\n"
                                "  r = \"other\"\n"
                                "return r\n";
    EXPECT_EQ("one", RunMain("var int n = 1\n" + program));
    EXPECT_EQ("two!", RunMain("var int n = 2\n" + program));
    EXPECT_EQ("other", RunMain("var int n = 3\n" + program));
}

TEST(ScriptIf, WithoutElseAndNested)
{
    EXPECT_EQ("a", RunMain("var string r = \"a\"\nif 0\n  r = \"b\"\nreturn r\n"));
    EXPECT_EQ("inner", RunMain("var string r = \"\"\n"
                           "if 1\n"
                           "{\n"
                           "  if 2 > 1\n"
                           "  {\n"
                           "    r = \"inner\"\n"
                           "  }\n"
                           "}\n"
                           "return r\n"));
    EXPECT_EQ("error code=0 line=4 word=", RunMain("var int x\nif 1\nx = 1\nelse what\nx = 2\nreturn x\n"));
}

TEST(ScriptLoops, WhileWithAndWithoutBraces)
{
    EXPECT_EQ("10", RunMain("var int i = 0\nwhile i < 10\n  i++\nreturn i\n"));
    EXPECT_EQ("55", RunMain("var int i = 0\n"
                        "var int s = 0\n"
                        "while i < 10\n"
                        "{\n"
                        "  i = i + 1\n"
                        "  s = s + i\n"
                        "}\n"
                        "return s\n"));
    EXPECT_EQ("0", RunMain("var int i = 0\nwhile i > 0\n{\ni++\n}\nreturn i\n"));
}

TEST(ScriptLoops, DoRunsTheBodyFirst)
{
    EXPECT_EQ("1", RunMain("var int i = 0\ndo\n{\n  i++\n}\nWhile i > 5\nreturn i\n"));
    EXPECT_EQ("5", RunMain("var int i = 0\nDo\n{\n  i++\n}\nwhile i < 5\nreturn i\n"));
}

TEST(ScriptLoops, ForRunsInitialisationConditionAndStep)
{
    EXPECT_EQ("0,1,2,", RunMain("var string r = \"\"\n"
                            "var int i\n"
                            "for (i = 0; i < 3; i++)\n"
                            "{\n"
                            "  r = r + i + \",\"\n"
                            "}\n"
                            "return r\n"));
    EXPECT_EQ("untouched", RunMain("var string r = \"untouched\"\n"
                               "var int i\n"
                               "for (i = 0; ; i++)\n"
                               "  r = \"ran\"\n"
                               "return r\n"));
    EXPECT_EQ("3", RunMain("var int i = 0\nfor (; i < 3; )\n  i++\nreturn i\n"));
}

TEST(ScriptLoops, BreakLeavesTheLoopFromInsideAnIf)
{
    EXPECT_EQ("4", RunMain("var int i = 0\n"
                       "while 1\n"
                       "{\n"
                       "  i++\n"
                       "  if i > 3\n"
                       "  {\n"
                       "    break\n"
                       "  }\n"
                       "}\n"
                       "return i\n"));
}

TEST(ScriptSwitch, CasesAndDefault)
{
    const std::string program = "var string r = \"\"\n"
                                "switch n\n"
                                "{\n"
                                "case 1:\n"
                                "  r = r + \"one\"\n"
                                "case 2:\n"
                                "  r = r + \"two\"\n"
                                "  break\n"
                                "Default:\n"
                                "  r = r + \"default\"\n"
                                "}\n"
                                "return r\n";
    EXPECT_EQ("onetwo", RunMain("var int n = 1\n" + program)); // runs on into the next case
    EXPECT_EQ("two", RunMain("var int n = 2\n" + program));
    EXPECT_EQ("default", RunMain("var int n = 9\n" + program));
}

TEST(ScriptSwitch, CaseLinesWithoutColonLeaveTheSwitch)
{
    EXPECT_EQ("one", RunMain("var int n = 1\n"
                         "var string r = \"\"\n"
                         "switch n\n"
                         "{\n"
                         "case 1\n"
                         "  r = r + \"one\"\n"
                         "case 2\n"
                         "  r = r + \"two\"\n"
                         "}\n"
                         "return r\n"));
    EXPECT_EQ("default", RunMain("var int n = 2\n"
                             "var string r = \"\"\n"
                             "switch n\n"
                             "{\n"
                             "Default:\n"
                             "  r = \"default\"\n"
                             "  break\n"
                             "case 2:\n"
                             "  r = \"two\"\n"
                             "}\n"
                             "return r\n"));
}

TEST(ScriptGoto, JumpsLeaveBlocksAndAMissingLabelEndsTheCall)
{
    EXPECT_EQ("3", RunMain("var int i = 0\n"
                       "while 1\n"
                       "{\n"
                       "  i++\n"
                       "  if i == 3\n"
                       "    Goto done\n"
                       "}\n"
                       "done:\n"
                       "return i\n"));
    EXPECT_EQ("", RunMain("Goto nowhere\nreturn \"not reached\"\n"));
    EXPECT_EQ("back", RunMain("var int i = 0\n"
                          "again::\n"
                          "i++\n"
                          "if i < 2\n"
                          "  Goto AGAIN\n"
                          "return \"back\"\n"));
}

TEST(ScriptStatementErrors, ControlStatementCodesAndLines)
{
    EXPECT_EQ("error code=15 line=7 word=", RunMain("Goto inside\nif 0\n{\ninside:\n}\nreturn \"after\"\n"));
    EXPECT_EQ("error code=1 line=3 word=", RunMain("while\n{\n}\n"));
    EXPECT_EQ("error code=4 line=3 word=", RunMain("do\n{\n}\nWhile\n"));
    EXPECT_EQ("error code=0 line=3 word=", RunMain("do\n{\n}\n"));
    EXPECT_EQ("error code=5 line=3 word=", RunMain("switch\n{\n}\n"));
    EXPECT_EQ("error code=5 line=3 word=", RunMain("case 1\n"));
    EXPECT_EQ("error code=6 line=3 word=", RunMain("for (i = 0; i < 1; i++)\n{\n", false));
    EXPECT_EQ("error code=7 line=4 word=", RunMain("if 1\n  break\n"));
    EXPECT_EQ("error code=9 line=3 word=1 +", RunMain("return 1 +\n"));
    EXPECT_EQ("error code=0 line=3 word=", RunMain("while 1\n{\n", false));
    EXPECT_EQ("error code=18 line=3 word=", RunMain("while 1\n{\n}\n"));
}

TEST(ScriptPlainStatements, DeclarationsShareTheirType)
{
    EXPECT_EQ("1/2/0", RunMain("var int a = 1, b = 2, c\nreturn \"\" + a + \"/\" + b + \"/\" + c\n"));
    EXPECT_EQ("error code=16 line=3 word=", RunMain("var int\n"));
    EXPECT_EQ("error code=16 line=3 word=", RunMain("var\n"));
    EXPECT_EQ("error code=0 line=3 word=", RunMain("var CNothing x\n"));
    EXPECT_EQ("error code=3 line=3 word=nowhere", RunMain("var int a = nowhere\n"));
}

TEST(ScriptPlainStatements, CompoundAssignmentsWorkInTheVariablesType)
{
    EXPECT_EQ("3", RunMain("var int x = 5\nx -= 2.7\nreturn x\n"));
    EXPECT_EQ("2", RunMain("var int x = 5\nx /= 2\nreturn x\n"));
    EXPECT_EQ("6", RunMain("var int x = 5\nx += 1.9\nreturn x\n"));
    EXPECT_EQ("15", RunMain("var int x = 5\nx *= 3\nreturn x\n"));
    EXPECT_EQ("2", RunMain("var int x = 5\nx %= 3\nreturn x\n"));
    EXPECT_EQ("5", RunMain("var int x = 5\nx %= 0\nreturn x\n"));
    EXPECT_EQ("4", RunMain("var int x = 5\nx--\nreturn x\n"));
    EXPECT_EQ("3.700000", RunMain("var double d = 5.7\nd -= 2.7\nreturn d\n")); // subtracts 2
    EXPECT_EQ("ab", RunMain("var string s = \"a\"\ns += \"b\"\nreturn s\n"));
    EXPECT_EQ("1", RunMain("true++\nreturn true\n")); // a constant is not changed
}

TEST(ScriptPlainStatements, AssignmentErrors)
{
    EXPECT_EQ("error code=13 line=3 word=y", RunMain("y = 1\n"));
    EXPECT_EQ("error code=0 line=3 word=y", RunMain("y(1)\n")); // a call of a function y
    EXPECT_EQ("error code=3 line=4 word=", RunMain("var int x\nx\n"));
    EXPECT_EQ("error code=3 line=4 word=", RunMain("var int x\nx =\n"));
    EXPECT_EQ("error code=3 line=3 word=", RunMain("Set nothing = 1\n"));
    EXPECT_EQ("error code=3 line=4 word=z", RunMain("var int x\nx = 1 + z\n"));
    EXPECT_EQ("error code=3 line=4 word==", RunMain("var int x\nx == 1\n"));
}

TEST(ScriptPlainStatements, SetAssignsLikeAPlainAssignment)
{
    EXPECT_EQ("7", RunMain("var int x\nSet x = 7\nreturn x\n"));
}

TEST(ScriptPlainStatements, ObjectsNothingAndNew)
{
    EXPECT_EQ("empty", RunMain("var IVosObject o\n"
                           "o = new CValueSet\n"
                           "o.SetValue(\"k\", \"v\")\n"
                           "var string before = o.GetValue(\"k\")\n"
                           "o = Nothing\n"
                           "if before == \"v\"\n"
                           "  return \"empty\"\n"
                           "return \"wrong\"\n"));
    EXPECT_EQ("error code=3 line=4 word=x", RunMain("var int x\nx = Nothing\n"));
    EXPECT_EQ("error code=12 line=4 word=x", RunMain("var int x\nSet x = Nothing\n"));
    EXPECT_EQ("error code=3 line=4 word=", RunMain("var IVosObject o\no = new CMissing\n"));
    // "new" keeps the variable's declared type.
    EXPECT_EQ("0", RunMain("var int x = 5\nx = new int\nreturn x\n"));
}

TEST(ScriptPlainStatements, CreateVosObjectNeedsTheHostsHook)
{
    EXPECT_EQ("error code=3 line=4 word=Thing", RunMain("var IVosObject o\no = CreateVosObject(\"Thing\")\n"));
    EXPECT_EQ("error code=12 line=4 word=Thing", RunMain("var IVosObject o\nSet o = CreateVosObject(\"Thing\")\n"));
}

TEST(ScriptPlainStatements, AMemberAssignmentIsACallThatFails)
{
    EXPECT_EQ("error code=0 line=4 word==", RunMain("var CValueSet v\nv.x = 5\n"));
}

TEST(ScriptPlainStatements, CallStatementsPassVariablesByName)
{
    EXPECT_EQ("copied", RunMain("var string a = \"copied\"\nvar string b\nDataCpy(b, a)\nreturn b\n"));
    EXPECT_EQ("one", RunMain("var string b\nDataCpy(b, \"one\")\nreturn b\n"));
}

TEST(ScriptLabels, LabelsAndCaseLinesDoNothing)
{
    EXPECT_EQ("ok", RunMain("start:\nDefault:\ncase 3:\nreturn \"ok\"\n"));
}

TEST(ScriptPlainStatements, AFailedInitialiserKeepsTheFirstErrorsCode)
{
    EXPECT_EQ("error code=8 line=3 word=nothing.Get", RunMain("var int a = nothing.Get()\n"));
    EXPECT_EQ("error code=3 line=4 word=nothing.Get", RunMain("var int a\na = nothing.Get()\n"));
}

TEST(ScriptPlainStatements, ADeclarationRunAgainAddsNoLocal)
{
    // "Locals" answers with the number of the calling function's locals.
    class Probe final : public ScriptObject {
    public:
        bool InvokeMethod(const std::string&, ArgumentList& arguments, FunctionInstance* caller) override
        {
            arguments.SetResultInt(static_cast<std::int32_t>(caller->Locals().Count()));
            return true;
        }
    };
    ScriptFixture script;
    script.engine.RegisterObject("Probe", MakeCounted<Probe>());
    ASSERT_TRUE(script.Load("Function string main\n{\nvar int n = 0\nwhile n < 50\n{\nvar int x = n, y\nn++\n}\n"
                            "return \"\" + Probe.Locals() + \"/\" + x\n}\n"));
    ASSERT_TRUE(script.Call("main"));
    EXPECT_EQ("3/49", script.result.ToString());
}
