#include "script_test_support.h"

#include "script/script_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

std::vector<std::string> ReadAll(std::string_view text, bool skipEmpty, std::vector<int>* numbers = nullptr)
{
    ScriptReader reader(text);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(skipEmpty, line)) {
        lines.push_back(line);
        if (numbers)
            numbers->push_back(reader.LineNumber());
    }
    return lines;
}

std::vector<std::string> BodyOf(const ScriptEngine& engine, std::size_t function, std::vector<int>* numbers = nullptr)
{
    std::vector<std::string> lines;
    for (const auto& line : engine.Functions()[function]->Body()) {
        lines.push_back(line.text);
        if (numbers)
            numbers->push_back(line.sourceLine);
        EXPECT_EQ(-1, line.second);
    }
    return lines;
}

using Lines = std::vector<std::string>;
using Numbers = std::vector<int>;

}

TEST(ScriptReader, LinesEndAtCarriageReturnsAndAreTrimmed)
{
    EXPECT_EQ((Lines{"a", "b c", "", "", "d"}), ReadAll("\ta\r\n  b c \t\r\n\r\n// comment\rd", false));
    EXPECT_EQ((Lines{"a\nb"}), ReadAll("a\nb", false)); // a line feed alone ends nothing
    EXPECT_EQ((Lines{"x // not a comment"}), ReadAll("x // not a comment", false));
}

TEST(ScriptReader, EveryPhysicalLineIsCounted)
{
    Numbers numbers;
    EXPECT_EQ((Lines{"first", "third"}), ReadAll("first\r\n//note\r\n\r\nthird\r\n", true, &numbers));
    EXPECT_EQ((Numbers{1, 4}), numbers);
}

TEST(ScriptLoading, BodiesKeepTheirOpeningBraceAndSourceLines)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("// header comment\n"
                            "Function int f(int a)\n"
                            "{\n"
                            "  a = a + 1;;\n"
                            "\n"
                            "  if a > 1\n"
                            "  {\n"
                            "    a = 0 // a comment stays\n"
                            "  }\n"
                            "  return a\n"
                            "}\n"
                            "ignored line\n"));
    ASSERT_EQ(1u, script.engine.Functions().size());
    const ScriptFunction& function = *script.engine.Functions()[0];
    EXPECT_EQ(2, function.HeaderLine());
    EXPECT_EQ(FunctionKind::Function, function.Kind());
    Numbers numbers;
    EXPECT_EQ((Lines{"{", "a = a + 1", "if a > 1", "{", "a = 0 // a comment stays", "}", "return a"}),
              BodyOf(script.engine, 0, &numbers));
    EXPECT_EQ((Numbers{3, 4, 6, 7, 8, 9, 10}), numbers);
}

TEST(ScriptLoading, AHeaderWithoutAnOpeningBraceGetsAnEmptyBody)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Section First {\n"
                            "dropped\n"
                            "Function void Second\n"
                            "}\n"
                            "kept\n"
                            "{\n"
                            "}\n"
                            "Section Third\n"
                            "{\n"
                            "x = 1\n"));
    ASSERT_EQ(3u, script.engine.Functions().size());
    EXPECT_EQ("First {", script.engine.Functions()[0]->Name());
    EXPECT_EQ(Lines{}, BodyOf(script.engine, 0));
    // A "}" first makes the depth negative: lines are kept until it is back at zero.
    EXPECT_EQ((Lines{"}", "kept"}), BodyOf(script.engine, 1));
    EXPECT_EQ((Lines{"{", "x = 1"}), BodyOf(script.engine, 2)); // still open at the end
}

TEST(ScriptLoading, HeadersDeclareParametersAndReturnType)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function string Join(string a, out int count, CValueSet set, IVosObject o) trailing\n"
                            "{\n}\n"
                            "Function Strange Name\n"
                            "{\n}\n"
                            "Function int Empty( )\n"));
    const ScriptFunction& join = *script.engine.Functions()[0];
    EXPECT_EQ("Join", join.Name());
    EXPECT_EQ(TypeString, join.Parameters().Result().Type());
    ASSERT_EQ(4u, join.Parameters().Count());
    EXPECT_EQ("a", join.Parameters().Variable(1)->Name());
    EXPECT_EQ(TypeString, join.Parameters().Arg(1)->Type());
    EXPECT_FALSE(join.Parameters().Variable(1)->IsOut());
    EXPECT_EQ("count", join.Parameters().Variable(2)->Name());
    EXPECT_EQ(TypeInt, join.Parameters().Arg(2)->Type());
    EXPECT_TRUE(join.Parameters().Variable(2)->IsOut());
    EXPECT_EQ(TypeObject, join.Parameters().Arg(3)->Type());
    EXPECT_EQ(TypeObject, join.Parameters().Arg(4)->Type());
    EXPECT_EQ(TypeUnknown, script.engine.Functions()[1]->Parameters().Result().Type());
    EXPECT_EQ("Name", script.engine.Functions()[1]->Name());
    EXPECT_EQ(0u, script.engine.Functions()[2]->Parameters().Count());
}

TEST(ScriptLoading, BadHeadersFailWithError10)
{
    struct Case {
        const char* header;
        const char* word;
    };
    const Case cases[] = {
        {"Function int f(int a", "int f(int a"},
        {"Function int f(int a,, int b)", "int f(int a,, int b)"},
        {"Function int f(unknown a)", "int f(unknown a)"},
        {"Function int f(int a,)", "int f(int a,)"},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.header);
        ScriptFixture script;
        EXPECT_FALSE(script.Load(std::string("Var int before\n\n") + testCase.header + "\n{\n}\nVar int after\n"));
        EXPECT_EQ(ErrorFunctionHeader, script.engine.Error().code);
        EXPECT_EQ(3, script.engine.Error().line);
        EXPECT_EQ(testCase.word, script.engine.Error().word);
        EXPECT_EQ("0", script.Global("before")); // what came before stays loaded
        EXPECT_EQ("<none>", script.Global("after"));
    }
}

TEST(ScriptLoading, GlobalDeclarationsMakeTypedVariables)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Var int n = 5;\n"
                            "var string s\n"
                            "VAR IVosObject o\n"
                            "Var CValueSet set extra words\n"));
    ScriptVariable* number = script.engine.FindVariable("n", nullptr);
    ASSERT_NE(nullptr, number);
    EXPECT_EQ(TypeInt, number->Value().Type());
    EXPECT_EQ(0, number->Value().ToInt()); // the initialiser is ignored at top level
    EXPECT_EQ(TypeString, script.engine.FindVariable("s", nullptr)->Value().Type());
    ScriptVariable* object = script.engine.FindVariable("o", nullptr);
    EXPECT_EQ(TypeObject, object->Value().Type());
    EXPECT_EQ(nullptr, object->Value().Object());
    ScriptVariable* set = script.engine.FindVariable("set", nullptr);
    EXPECT_EQ(TypeObject, set->Value().Type());
    ASSERT_NE(nullptr, set->Value().Object());
    EXPECT_EQ("CValueSet", set->Value().Object()->ClassName());
}

TEST(ScriptLoading, UndeclarableTypesFailWithError14)
{
    for (const char* type : {"void", "CNothing"}) {
        ScriptFixture script;
        EXPECT_FALSE(script.Load(std::string("\n\nVar ") + type + " v\nVar int later\n"));
        EXPECT_EQ(ErrorDeclaredType, script.engine.Error().code);
        EXPECT_EQ(3, script.engine.Error().line);
        EXPECT_EQ(type, script.engine.Error().word);
        EXPECT_EQ("<none>", script.Global("later"));
    }
}

TEST(ScriptLoading, OnlyTheFirstLoadErrorIsKept)
{
    ScriptFixture script;
    EXPECT_FALSE(script.Load("Var void a\n"));
    EXPECT_FALSE(script.engine.LoadText(Crlf("Function int f(\n")));
    EXPECT_EQ(ErrorDeclaredType, script.engine.Error().code);
    EXPECT_EQ("void", script.engine.Error().word);
}

TEST(ScriptLoading, TwoFunctionsOfOneNameAreBothKeptAndTheFirstIsCalled)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function int f\n{\nreturn 1\n}\nFunction int F\n{\nreturn 2\n}\n"));
    EXPECT_EQ(2u, script.engine.Functions().size());
    ASSERT_TRUE(script.Call("f"));
    EXPECT_EQ(1, script.result.ToInt());
}

TEST(ScriptLoading, IncludesNeedAScriptFolderAndTheVbScriptKind)
{
    std::string folder = ::testing::TempDir();
    if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    std::string file = folder + "\\vos_include_test.vbs";
    { std::ofstream(file, std::ios::binary) << "Function F()\r\nEnd Function"; }
    {
        ScriptFixture script; // no script folder: the include is ignored
        ASSERT_TRUE(script.Load("#include vos_include_test.vbs VbScript\n"));
        EXPECT_EQ("", script.engine.VbsCode());
    }
    ScriptFixture script;
    script.engine.SetScriptFolder(folder);
    ASSERT_TRUE(script.Load("#include \"vos_include_test.vbs\" vbscript\n"
                            "#include vos_include_test.vbs JScript\n"
                            "#define x\n"
                            "#include missing.vbs VbScript\n"));
#ifdef _WIN32
    EXPECT_EQ("\r\nFunction F()\r\nEnd Function\r\n", script.engine.VbsCode());
#else
    // Natively the folder and the name are joined with a backslash, which names a file of
    // its own; the test wrote that file.
    EXPECT_EQ("\r\nFunction F()\r\nEnd Function\r\n", script.engine.VbsCode());
#endif
    std::remove(file.c_str());
}
