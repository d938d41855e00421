#include "script_test_support.h"

#include "script/function_instance.h"
#include "script/objects/value_set.h"
#include "script/script_text.h"

#include <gtest/gtest.h>

namespace {

// A host object: "Add" adds its two numbers, "Store" writes its second argument into the
// variable its first names, "Fail" is a known method that failed; nothing else is known.
class Calculator final : public ScriptObject {
public:
    Calculator() : ScriptObject("Calculator") {}

    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance*) override
    {
        lastMethod = name;
        if (name == "Add") {
            arguments.SetResultInt(ReadDecimalInt(arguments.ArgText(1, true)) + ReadDecimalInt(arguments.ArgText(2, true)));
            return true;
        }
        if (name == "Store") {
            arguments.SetArg(1, arguments.ArgText(2, true));
            return true;
        }
        return name == "Fail";
    }

    std::string lastMethod;
};

}

TEST(ScriptEngineSetup, BuiltInClassesAndConstantsExistFromTheStart)
{
    ScriptEngine engine;
    for (const char* name : {"CWndParam", "CValueSet", "string", "int", "double", "bool"}) {
        ScriptObject* found = engine.FindClass(name);
        ASSERT_NE(nullptr, found) << name;
        EXPECT_EQ(&engine, found->Engine());
    }
    EXPECT_NE(nullptr, engine.FindClass("cvalueset"));
    EXPECT_EQ(nullptr, engine.FindClass("CRegKey")); // system classes come from the host
    ScriptVariable* truth = engine.FindVariable("TRUE", nullptr);
    ASSERT_NE(nullptr, truth);
    EXPECT_TRUE(truth->IsReadOnly());
    EXPECT_EQ(TypeBool, truth->Value().Type());
    EXPECT_EQ(1, truth->Value().ToInt());
    EXPECT_EQ(0, engine.FindVariable("false", nullptr)->Value().ToInt());
    EXPECT_FALSE(engine.HasError());
}

TEST(ScriptEngineSetup, SystemClassesAreRegisteredWhenTheHostHasThem)
{
    class SystemHost final : public ScriptHost {
    public:
        int ShowMessageBox(const std::string&, const std::string&, int) override { return 1; }
        bool CallVBSFunction(const std::string&, const std::string&, const std::vector<VbsArgument>&, std::string&,
                             std::vector<std::string>&) override
        {
            return false;
        }
        Counted<ScriptObject> CreateSystemClass(const std::string& className) override
        {
            return className == "CRegKey" ? MakeCounted<ScriptObject>() : Counted<ScriptObject>();
        }
    } host;
    ScriptEngine engine(&host);
    ScriptObject* registryClass = engine.FindClass("CRegKey");
    ASSERT_NE(nullptr, registryClass);
    EXPECT_EQ("CRegKey", registryClass->ClassName());
    EXPECT_EQ(nullptr, engine.FindClass("CDllModule"));

    // CreateVosObject makes the classes the host lends, and nothing else.
    ASSERT_TRUE(engine.LoadText("Function int Make(string name)\r\n{\r\nvar IVosObject made\r\n"
                                "made = CreateVosObject(name)\r\nreturn 1\r\n}\r\n"));
    const auto MakeTextVariable = [](const char* text) {
        auto variable = MakeCounted<ScriptVariable>();
        variable->Value().SetText(text);
        return variable;
    };
    ArgumentList lent(&engine, nullptr);
    lent.AppendVariable(MakeTextVariable("CRegKey"));
    EXPECT_TRUE(engine.CallFunction("Make", &lent, nullptr)) << "error " << engine.Error().code;
    ArgumentList missing(&engine, nullptr);
    missing.AppendVariable(MakeTextVariable("CDllModule"));
    EXPECT_FALSE(engine.CallFunction("Make", &missing, nullptr));
    EXPECT_EQ("CDllModule", engine.Error().word);
}

TEST(ScriptEngineSetup, RegisteredObjectsAndConstantsAreGlobals)
{
    ScriptEngine engine;
    auto first = MakeCounted<Calculator>();
    engine.RegisterObject("Calc", first);
    engine.RegisterObject("calc", MakeCounted<Calculator>());
    engine.DefineConstant("SS_UNINSTALL", "10", TypeInt);
    ScriptVariable* object = engine.FindVariable("CALC", nullptr);
    ASSERT_NE(nullptr, object);
    EXPECT_EQ(TypeObject, object->Value().Type());
    EXPECT_EQ(first.Get(), object->Value().Object()); // duplicates: the first is found
    EXPECT_EQ(&engine, first->Engine());
    ScriptVariable* constant = engine.FindVariable("ss_uninstall", nullptr);
    EXPECT_TRUE(constant->IsReadOnly());
    EXPECT_EQ(10, constant->Value().ToInt());
}

TEST(ScriptEngineLookup, MembersAndTheirPrefixes)
{
    ScriptEngine engine;
    auto object = MakeCounted<ScriptObject>("CThing");
    (void)object->SetMember("m", "plain");
    (void)object->SetMember("@m", "one at");
    (void)object->SetMember("@@m", "two at");
    engine.RegisterObject("obj", object);
    engine.DefineConstant("number", "5", TypeInt);
    EXPECT_EQ("plain", engine.VariableText("obj.M", nullptr));
    EXPECT_EQ("one at", engine.VariableText("@obj.m", nullptr));
    EXPECT_EQ("two at", engine.VariableText("@@obj.m", nullptr));
    EXPECT_EQ(nullptr, engine.FindVariable("obj.missing", nullptr));
    EXPECT_EQ(nullptr, engine.FindVariable("number.m", nullptr)); // an int object has no members
    EXPECT_EQ(nullptr, engine.FindVariable("nothing.m", nullptr));
    EXPECT_EQ(nullptr, engine.FindVariable(".obj", nullptr));
}

TEST(ScriptEngineLookup, VariableTextReadsVariablesQuotesAndWords)
{
    ScriptEngine engine;
    engine.DefineConstant("name", "value", TypeString);
    EXPECT_EQ("", engine.VariableText("", nullptr));
    EXPECT_EQ("value", engine.VariableText("NAME", nullptr));
    EXPECT_EQ("quoted", engine.VariableText("\"quoted\"", nullptr));
    EXPECT_EQ("\"", engine.VariableText("\"", nullptr));
    EXPECT_EQ("word", engine.VariableText("word", nullptr));
    bool found = true;
    EXPECT_EQ("", engine.VariableValueText("word", nullptr, found));
    EXPECT_FALSE(found);
    EXPECT_EQ("value", engine.ValueText(ScriptValue::FromText("name", TypeVariableReference), nullptr));
    EXPECT_EQ("", engine.ValueText(ScriptValue::FromText("word", TypeVariableReference), nullptr));
    EXPECT_EQ("name", engine.ValueText(ScriptValue::FromText("name", TypeString), nullptr));
}

TEST(ScriptEngineLookup, SetVariableKeepsTypesAndSkipsConstants)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Var int n\n"));
    script.engine.SetVariable("n", ScriptValue::FromText("42", TypeString), nullptr);
    ScriptVariable* number = script.engine.FindVariable("n", nullptr);
    EXPECT_EQ(TypeInt, number->Value().Type());
    EXPECT_EQ(42, number->Value().ToInt());
    script.engine.SetVariable("fresh", ScriptValue::FromText("2.5", TypeDouble), nullptr);
    EXPECT_EQ(TypeDouble, script.engine.FindVariable("fresh", nullptr)->Value().Type());
    script.engine.SetVariable("true", ScriptValue::FromText("0", TypeInt), nullptr);
    EXPECT_EQ("1", script.Global("true"));
    EXPECT_FALSE(script.engine.HasError());
}

TEST(ScriptEngineLookup, LocalsHideGlobals)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Var string x\n"
                            "Function string f\n"
                            "{\n"
                            "x = \"global\"\n"
                            "var string x = \"local\"\n"
                            "x = x + \"!\"\n"
                            "return x\n"
                            "}\n"));
    ASSERT_TRUE(script.Call("f"));
    EXPECT_EQ("local!", script.result.ToString());
    EXPECT_EQ("global", script.Global("x"));
}

TEST(ScriptEngineCalls, AMissingFunctionIsError11)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function int f\n{\nreturn 1\n}\n"));
    EXPECT_TRUE(script.engine.HasFunction("F"));
    EXPECT_FALSE(script.engine.HasFunction("g"));
    EXPECT_FALSE(script.Call("g"));
    EXPECT_EQ(ErrorNoSuchFunction, script.engine.Error().code);
    EXPECT_EQ(-1, script.engine.Error().line);
    EXPECT_EQ("g", script.engine.Error().word);
    EXPECT_EQ(0u, script.engine.CallDepth());
}

TEST(ScriptEngineCalls, ArgumentsBindToDeclaredParameters)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function string f(int a, string b, double c)\n"
                            "{\n"
                            "return \"\" + a + \"/\" + b + \"/\" + c\n"
                            "}\n"));
    ASSERT_TRUE(script.Call("f", {"7x", "text", "2.5"}));
    EXPECT_EQ("7/text/2.500000", script.result.ToString());
    EXPECT_EQ(TypeString, script.result.Type());
}

TEST(ScriptEngineCalls, MoreArgumentsThanParametersFail)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("\n\nFunction int f(int a)\n{\nreturn a\n}\n"));
    EXPECT_FALSE(script.Call("f", {"1", "2"}));
    EXPECT_TRUE(script.engine.Error().flag);
    EXPECT_EQ(ErrorNone, script.engine.Error().code);
    EXPECT_EQ(3, script.engine.Error().line); // a host call reports the header line
    EXPECT_EQ(0u, script.engine.CallDepth());
}

TEST(ScriptEngineCalls, ExtraArgumentsToAFunctionWithoutParametersAreIgnored)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function int f\n{\nreturn 3\n}\n"));
    ASSERT_TRUE(script.Call("f", {"1", "2"}));
    EXPECT_EQ(3, script.result.ToInt());
}

TEST(ScriptEngineCalls, MissingArgumentsLeaveTheirParametersUndeclared)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function int f(int a, int b)\n"
                            "{\n"
                            "b = 1\n"
                            "return a\n"
                            "}\n"));
    EXPECT_FALSE(script.Call("f", {"5"}));
    EXPECT_EQ(ErrorNotAVariable, script.engine.Error().code);
    EXPECT_EQ("b", script.engine.Error().word);
    EXPECT_EQ(3, script.engine.Error().line);
}

TEST(ScriptEngineCalls, TheResultTakesTheDeclaredReturnType)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function int number\n{\nreturn \"12\"\n}\n"
                            "Function int nothing\n{\nx = 1\n}\n"
                            "Function int early\n{\nreturn\nx = 1\n}\n"
                            "Section Plain\n{\nreturn \"7\"\n}\n"
                            "Var int x\n"));
    ASSERT_TRUE(script.Call("number"));
    EXPECT_EQ(TypeInt, script.result.Type());
    EXPECT_EQ(12, script.result.ToInt());
    ASSERT_TRUE(script.Call("nothing"));
    EXPECT_EQ(TypeInt, script.result.Type());
    EXPECT_EQ(0, script.result.ToInt());
    ASSERT_TRUE(script.Call("early"));
    EXPECT_EQ("0", script.result.ToString());
    EXPECT_EQ("1", script.Global("x"));
    ASSERT_TRUE(script.Call("plain"));
    EXPECT_EQ(TypeString, script.result.Type());
}

TEST(ScriptEngineCalls, ScriptCallsPassVariablesByReferenceAndWriteBackOutParameters)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function void fill(out string text, out int count, string copy)\n"
                            "{\n"
                            "text = text + \" world\"\n"
                            "count = count + 1\n"
                            "copy = \"changed\"\n"
                            "}\n"
                            "Function string main\n"
                            "{\n"
                            "var string message = \"hello\"\n"
                            "var int n = 41\n"
                            "var string kept = \"kept\"\n"
                            "fill(message, n, kept)\n"
                            "return message + \"/\" + n + \"/\" + kept\n"
                            "}\n"));
    ASSERT_TRUE(script.Call("main"));
    EXPECT_EQ("hello world/42/kept", script.result.ToString());
}

TEST(ScriptEngineCalls, AReferenceToAMissingVariableFailsTheBinding)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function int f(int a)\n{\nreturn a\n}\n"));
    ArgumentList arguments(&script.engine, nullptr);
    auto argument = MakeCounted<ScriptVariable>();
    argument->Value().SetTyped("ghost", TypeVariableReference);
    arguments.AppendVariable(argument);
    EXPECT_FALSE(script.engine.CallFunction("f", &arguments, nullptr));
    EXPECT_TRUE(script.engine.HasError());
}

TEST(ScriptEngineCalls, ResultsOfNestedCallsFlowThroughExpressions)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function int square(int n)\n{\nreturn n * n\n}\n"
                            "Function int sum(int a, int b)\n{\nreturn a + b\n}\n"
                            "Function int main\n{\nreturn sum(square(3), square(4)) + 1\n}\n"));
    ASSERT_TRUE(script.Call("main"));
    EXPECT_EQ(26, script.result.ToInt());
}

TEST(ScriptEngineCalls, RecursionWorksUpToTheDepthLimit)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function int depth(int n)\n"
                            "{\n"
                            "if n <= 0\n"
                            "return 0\n"
                            "return depth(n - 1) + 1\n"
                            "}\n"));
    ASSERT_TRUE(script.Call("depth", {"999"}));
    EXPECT_EQ(999, script.result.ToInt());
    EXPECT_FALSE(script.engine.HasError());
}

TEST(ScriptEngineCalls, EndlessRecursionStopsWithError17)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function int forever(int n)\n"
                            "{\n"
                            "var int m = n + 1\n"
                            "return forever(m)\n"
                            "}\n"));
    EXPECT_FALSE(script.Call("forever", {"0"}));
    EXPECT_EQ(ErrorCallsTooDeep, script.engine.Error().code);
    EXPECT_EQ("forever", script.engine.Error().word);
    EXPECT_EQ(4, script.engine.Error().line);
    EXPECT_EQ(0u, script.engine.CallDepth());
}

TEST(ScriptEngineCalls, TheDepthLimitCanBeLowered)
{
    ScriptFixture script;
    script.engine.SetCallDepthLimit(10);
    ASSERT_TRUE(script.Load("Function int f(int n)\n{\nif n <= 0\nreturn 0\nreturn f(n - 1)\n}\n"));
    EXPECT_TRUE(script.Call("f", {"9"}));
    EXPECT_FALSE(script.Call("f", {"10"}));
    EXPECT_EQ(ErrorCallsTooDeep, script.engine.Error().code);
}

TEST(ScriptEngineCalls, TheNativeStackLimitStopsDeepCallsToo)
{
    ScriptFixture script;
    script.engine.SetStackLimit(16 * 1024);
    ASSERT_TRUE(script.Load("Function int f(int n)\n{\nif n <= 0\nreturn 0\nreturn f(n - 1)\n}\n"));
    EXPECT_TRUE(script.Call("f", {"3"}));
    EXPECT_FALSE(script.Call("f", {"900"}));
    EXPECT_EQ(ErrorCallsTooDeep, script.engine.Error().code);
    EXPECT_EQ(0u, script.engine.CallDepth());
}

TEST(ScriptEngineMembers, MethodsOfHostObjects)
{
    ScriptFixture script;
    auto calculator = MakeCounted<Calculator>();
    script.engine.RegisterObject("Calc", calculator);
    ASSERT_TRUE(script.Load("Function string main\n"
                            "{\n"
                            "var string target = \"\"\n"
                            "var int sum\n"
                            "sum = Calc.Add(2, 40)\n"
                            "Calc.Store(target, \"stored\")\n"
                            "return target + sum\n"
                            "}\n"));
    ASSERT_TRUE(script.Call("main"));
    EXPECT_EQ("stored42", script.result.ToString());
}

TEST(ScriptEngineMembers, UnknownMethodsAndNonObjectsAreError8)
{
    struct Case {
        const char* line;
        const char* word;
        ScriptErrorCode code;
    };
    const Case cases[] = {
        {"Calc.Missing(1)", "Calc.Missing", ErrorMemberCall},
        {"nothing.Method()", "nothing.Method", ErrorMemberCall},
        {"number.Method()", "number.Method", ErrorMemberCall},
        // A failed assignment reports code 3 over the code of the failure inside it.
        {"x = Calc.Missing(1)", "Calc.Missing", ErrorPlainStatement},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.line);
        ScriptFixture script;
        script.engine.RegisterObject("Calc", MakeCounted<Calculator>());
        ASSERT_TRUE(script.Load(std::string("Var int x\nVar IVosObject number\nSection main\n{\n") + testCase.line + "\n}\n"));
        EXPECT_FALSE(script.Call("main"));
        EXPECT_EQ(testCase.code, script.engine.Error().code);
        EXPECT_EQ(testCase.word, script.engine.Error().word);
        EXPECT_EQ(5, script.engine.Error().line);
    }
}

TEST(ScriptEngineMembers, AKnownMethodThatFailedIsNoError)
{
    ScriptFixture script;
    script.engine.RegisterObject("Calc", MakeCounted<Calculator>());
    ASSERT_TRUE(script.Load("Section main\n{\nCalc.Fail()\n}\n"));
    EXPECT_TRUE(script.Call("main"));
}

TEST(ScriptEngineCommands, DataCpyCopiesIntoTheNamedVariable)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Var string target\n"
                            "Var int number\n"
                            "Function string main\n"
                            "{\n"
                            "var string source = \"from source\"\n"
                            "DataCpy(target, source)\n"
                            "datacpy(number, \"12\")\n"
                            "return target\n"
                            "}\n"
                            "Section undeclared\n{\nDataCpy(nowhere, \"lost\")\n}\n"));
    ASSERT_TRUE(script.Call("main"));
    EXPECT_EQ("from source", script.result.ToString());
    EXPECT_EQ("12", script.Global("number"));
    EXPECT_EQ(TypeInt, script.engine.FindVariable("number", nullptr)->Value().Type());
    // A name that is no variable is a word, which the argument expression cannot take.
    EXPECT_FALSE(script.Call("undeclared"));
    EXPECT_EQ("nowhere", script.engine.Error().word);
    EXPECT_EQ("<none>", script.Global("nowhere"));
}

TEST(ScriptEngineCommands, MessageBoxTextCaptionAndStyle)
{
    ScriptFixture script;
    script.host.answer = 6;
    ASSERT_TRUE(script.Load("Function int main\n"
                            "{\n"
                            "var string question = \"Continue?\"\n"
                            "var int style = 4\n"
                            "MessageBox(\"only text\")\n"
                            "MessageBox(question, \"Title\", style)\n"
                            "return MessageBox(\"a\", \"b\", 1)\n"
                            "}\n"));
    ASSERT_TRUE(script.Call("main"));
    ASSERT_EQ(3u, script.host.boxes.size());
    EXPECT_EQ("Prompt", script.host.boxes[0].caption);
    EXPECT_EQ("only text", script.host.boxes[0].text);
    EXPECT_EQ(0, script.host.boxes[0].style);
    EXPECT_EQ("Title", script.host.boxes[1].caption);
    EXPECT_EQ("Continue?", script.host.boxes[1].text);
    EXPECT_EQ(4, script.host.boxes[1].style);
    EXPECT_EQ(1, script.host.boxes[2].style);
    EXPECT_EQ(6, script.result.ToInt());
}

TEST(ScriptEngineCommands, MessageBoxUsesTheDefaultCaption)
{
    ScriptFixture script;
    script.engine.SetDefaultCaption("Uninstall");
    ASSERT_TRUE(script.Load("Section main\n{\nMessageBox(\"x\")\n}\n"));
    ASSERT_TRUE(script.Call("main"));
    ASSERT_EQ(1u, script.host.boxes.size());
    EXPECT_EQ("Uninstall", script.host.boxes[0].caption);
}

TEST(ScriptEngineCommands, DataCmpGotoJumpsWhenTheTextsMatchInAnyCase)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function string main(string a)\n"
                            "{\n"
                            "DataCmpGoto(a, \"abc\", \"Same\")\n"
                            "return \"different\"\n"
                            "same:\n"
                            "return \"same\"\n"
                            "}\n"));
    ASSERT_TRUE(script.Call("main", {"ABC"}));
    EXPECT_EQ("same", script.result.ToString());
    ASSERT_TRUE(script.Call("main", {"abd"}));
    EXPECT_EQ("different", script.result.ToString());
}

TEST(ScriptEngineCommands, CallVbsFunctionNeedsCodeAndPassesStringsAndNumbers)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Var string result\n"
                            "Function string main\n"
                            "{\n"
                            "var string name = \"Twice\"\n"
                            "var string text = \"abc\"\n"
                            "var double real = 2.7\n"
                            "result = CallVBSFunction(name, text, real, \"lit\", 5)\n"
                            "return result\n"
                            "}\n"
                            "Section missing\n{\nCallVBSFunction(\"F\", ghost)\n}\n"));
    EXPECT_FALSE(script.Call("main")); // no VBScript code: the command fails
    EXPECT_EQ("CallVBSFunction", script.engine.Error().word);
    EXPECT_TRUE(script.host.vbsCalls.empty());

    ScriptFixture withCode;
    ASSERT_TRUE(withCode.Load("Function string main\n"
                              "{\n"
                              "var string name = \"Twice\"\n"
                              "var string text = \"abc\"\n"
                              "var double real = 2.7\n"
                              "return CallVBSFunction(name, text, real, \"lit\", 5)\n"
                              "}\n"));
    withCode.engine.SetVbsCode("Function Twice(a)\r\nEnd Function");
    withCode.host.vbsResult = "done";
    withCode.host.vbsErrors = {"first error", "second error"};
    ASSERT_TRUE(withCode.Call("main"));
    EXPECT_EQ("done", withCode.result.ToString());
    ASSERT_EQ(1u, withCode.host.vbsCalls.size());
    const auto& call = withCode.host.vbsCalls[0];
    EXPECT_EQ("Twice", call.functionName);
    EXPECT_EQ("Function Twice(a)\r\nEnd Function", call.code);
    ASSERT_EQ(4u, call.arguments.size());
    EXPECT_TRUE(call.arguments[0].isString);
    EXPECT_EQ("abc", call.arguments[0].text);
    EXPECT_FALSE(call.arguments[1].isString);
    EXPECT_EQ(2, call.arguments[1].number);
    EXPECT_TRUE(call.arguments[2].isString);
    EXPECT_EQ(5, call.arguments[3].number);
    ASSERT_EQ(2u, withCode.host.boxes.size());
    EXPECT_EQ("VoScript", withCode.host.boxes[0].caption);
    EXPECT_EQ("second error", withCode.host.boxes[1].text);
}

TEST(ScriptEngineCommands, AQuotedNameIsTakenAsWrittenNotAsAVariable)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function string main\n"
                            "{\n"
                            "var string total = \"\"\n"
                            "var string text = \"the variable\"\n"
                            "var string target\n"
                            "CallVBSFunction(\"Total\", 5)\n"
                            "DataCpy(target, \"text\")\n"
                            "return target\n"
                            "}\n"));
    script.engine.SetVbsCode("Function Total(n)\r\nEnd Function");
    ASSERT_TRUE(script.Call("main"));
    ASSERT_EQ(1u, script.host.vbsCalls.size());
    EXPECT_EQ("Total", script.host.vbsCalls[0].functionName);
    EXPECT_EQ("text", script.result.ToString());
}

TEST(ScriptEngineCommands, CallVbsFunctionWithAMissingVariableRunsNothing)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Section main\n{\nCallVBSFunction(\"F\", @ghost)\n}\n"));
    script.engine.SetVbsCode("x");
    EXPECT_FALSE(script.Call("main"));
    EXPECT_TRUE(script.host.vbsCalls.empty());
}

TEST(ScriptEngineErrors, TheFirstErrorIsKept)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Section first\n{\nmissing()\n}\nSection second\n{\n\nx = 1\n}\n"));
    EXPECT_FALSE(script.Call("first"));
    ScriptError first = script.engine.Error();
    EXPECT_EQ(ErrorNone, first.code); // a call by a script of an unknown name has no code
    EXPECT_EQ("missing", first.word);
    EXPECT_EQ(3, first.line);
    EXPECT_FALSE(script.Call("second"));
    EXPECT_EQ(first.code, script.engine.Error().code);
    EXPECT_EQ(first.word, script.engine.Error().word);
}

TEST(ScriptEngineErrors, TheLineIsTheOneInTheFunctionTheHostCalled)
{
    ScriptFixture script;
    ASSERT_TRUE(script.Load("Function int inner\n"
                            "{\n"
                            "return undefined_word\n"
                            "}\n"
                            "Function int outer\n"
                            "{\n"
                            "var int a = 1\n"
                            "return inner() + a\n"
                            "}\n"
                            "Function int assigning\n"
                            "{\n"
                            "var int a = 1\n"
                            "a = inner()\n"
                            "}\n"));
    EXPECT_FALSE(script.Call("outer"));
    EXPECT_EQ(ErrorReturnValue, script.engine.Error().code);
    EXPECT_EQ("undefined_word", script.engine.Error().word);
    EXPECT_EQ(8, script.engine.Error().line);
    EXPECT_EQ(-1, script.engine.Error().secondLine);

    ScriptFixture again;
    ASSERT_TRUE(again.Load("Function int inner\n{\nreturn undefined_word\n}\n"
                           "Function int assigning\n{\nvar int a = 1\na = inner()\n}\n"));
    EXPECT_FALSE(again.Call("assigning"));
    EXPECT_EQ(ErrorPlainStatement, again.engine.Error().code);
    EXPECT_EQ("undefined_word", again.engine.Error().word);
    EXPECT_EQ(8, again.engine.Error().line);
}

TEST(ScriptEngineErrors, ConditionsReportTheirWordWithoutACode)
{
    ScriptEngine engine;
    EXPECT_TRUE(engine.EvaluateCondition("1 < 2", nullptr));
    EXPECT_FALSE(engine.HasError());
    EXPECT_FALSE(engine.EvaluateCondition("1 < nowhere", nullptr));
    EXPECT_TRUE(engine.HasError());
    EXPECT_EQ(ErrorNone, engine.Error().code);
    EXPECT_EQ("nowhere", engine.Error().word);
}

TEST(ScriptMemberAssignment, ARightSideThatReleasesTheObjectLeavesNoDanglingTarget)
{
    ScriptFixture script;
    auto object = MakeCounted<ScriptObject>();
    (void)object->SetMember("m", "1");
    script.engine.RegisterObject("obj", std::move(object));
    ASSERT_TRUE(script.Load("Function int Drop\n{\nobj = Nothing\nreturn 1\n}\n"
                            "Function string main\n{\nSet obj.m += Drop()\n}\n"));
    EXPECT_FALSE(script.Call("main")) << "the member is gone with its object";
    EXPECT_EQ(ErrorPlainStatement, script.engine.Error().code);
}
