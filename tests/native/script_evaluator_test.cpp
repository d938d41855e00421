#include "script/argument_list.h"
#include "script/evaluator_host.h"
#include "script/expression_evaluator.h"
#include "script/script_variable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Variables by name and a record of every call with its arguments as "type|text" items.
class TestHost final : public EvaluatorHost {
public:
    void Set(const std::string& name, ScriptValue value)
    {
        auto variable = MakeCounted<ScriptVariable>(name);
        variable->Value() = std::move(value);
        variables.Append(std::move(variable));
    }

    [[nodiscard]] const ScriptValue* FindVariableValue(const std::string& name, VariableLookupCache*) override
    {
        ScriptVariable* variable = variables.Find(name);
        return variable ? &variable->Value() : nullptr;
    }

    // A call answers with the number of its arguments; "fail" fails.
    [[nodiscard]] bool CallFunction(const std::string& name, ArgumentList& arguments) override
    {
        std::string call = name + "(";
        for (std::size_t i = 1; i <= arguments.Count(); ++i)
            call += (i > 1 ? "," : "") + std::to_string(arguments.Arg(i)->Type()) + "|" + arguments.ArgText(i, false);
        calls.push_back(call + ")");
        if (name == "fail")
            return false;
        arguments.SetResultInt(static_cast<std::int32_t>(arguments.Count()));
        return true;
    }

    bool NoteWord(const std::string& name) override
    {
        notedWords.push_back(name);
        return false;
    }

    VariableList variables;
    std::vector<std::string> calls;
    std::vector<std::string> notedWords;
};

class EvaluatorTest : public ::testing::Test {
protected:
    // "type:text" of the value, or "error:word" when the evaluation failed.
    std::string Eval(const std::string& text)
    {
        ExpressionEvaluator evaluator;
        evaluator.SetHost(&host);
        ScriptValue value;
        if (!evaluator.Evaluate(text, value))
            return "error:" + evaluator.ErrorWord();
        EXPECT_FALSE(evaluator.HasError());
        return std::to_string(value.Type()) + ":" + value.ToString();
    }

    // "true", "false", or "error:word".
    std::string Condition(const std::string& text)
    {
        ExpressionEvaluator evaluator;
        evaluator.SetHost(&host);
        bool truth = evaluator.EvaluateCondition(text);
        if (evaluator.HasError())
            return "error:" + evaluator.ErrorWord();
        return truth ? "true" : "false";
    }

    TestHost host;
};

}

TEST_F(EvaluatorTest, LiteralsOfEveryKind)
{
    EXPECT_EQ("3:42", Eval("42"));
    EXPECT_EQ("4:1.500000", Eval("1.5"));
    EXPECT_EQ("4:1500.000000", Eval("1.5e3"));
    EXPECT_EQ("3:1", Eval("1e5"));   // no ".": an int read as decimal
    EXPECT_EQ("3:0", Eval("0x10"));
    EXPECT_EQ("3:12", Eval("12abc"));
    EXPECT_EQ("2:hi there", Eval("\"hi there\""));
    EXPECT_EQ("2:a\"b\\c", Eval("\"a\\\"b\\\\c\""));
    EXPECT_EQ("2:\n\r\t", Eval("\"\\n\\r\\t\""));
    EXPECT_EQ("2:AZ", Eval("\"\\x41\\x5a\""));
    EXPECT_EQ("2:q", Eval("\"\\q\""));
}

TEST_F(EvaluatorTest, BrokenStringLiteralsFailWithoutReadingPastTheText)
{
    EXPECT_EQ("error:", Eval("\"abc"));
    EXPECT_EQ("error:", Eval("\"abc\\"));
    EXPECT_EQ("error:", Eval("\"\\x4"));
    EXPECT_EQ("error:", Eval("\"\\x4\""));
    EXPECT_EQ("error:", Eval("\""));
    EXPECT_EQ("error:\\", Eval("\\")); // a backslash outside a string is a word of its own
}

TEST_F(EvaluatorTest, PrecedenceAndGrouping)
{
    EXPECT_EQ("4:-3.000000", Eval("-3"));
    EXPECT_EQ("4:5.000000", Eval("2 - -3"));
    EXPECT_EQ("3:7", Eval("1 + 2 * 3"));
    EXPECT_EQ("4:9.000000", Eval("(1 + 2) * 3"));
    EXPECT_EQ("4:2.000000", Eval("8 / 2 / 2"));
    EXPECT_EQ("4:1.000000", Eval("7 - 2 * 3"));
    EXPECT_EQ("4:2.000000", Eval("1 - 2 + 3"));
    EXPECT_EQ("4:10.000000", Eval("2 * 3 + 4"));
    EXPECT_EQ("3:3", Eval("1 + 2 & 3")); // "&" binds as tightly as "*"
    EXPECT_EQ("4:-6.000000", Eval("-2 * 3"));
    EXPECT_EQ("4:14.000000", Eval("2 * (3 + 4)"));
    EXPECT_EQ("4:1.000000", Eval("1 + 1 == 2"));
    EXPECT_EQ("4:1.000000", Eval("1 < 2 AND 3 > 2"));
    EXPECT_EQ("4:1.000000", Eval("1 < 2 and 3 > 2"));
    EXPECT_EQ("4:0.000000", Eval("1 > 2 OR 3 < 2"));
}

TEST_F(EvaluatorTest, PlusKeepsTheLeftOperandsType)
{
    EXPECT_EQ("3:3", Eval("1 + 2"));
    EXPECT_EQ("3:3", Eval("1 + 2.5"));
    EXPECT_EQ("4:3.500000", Eval("2.5 + 1"));
    EXPECT_EQ("2:a1", Eval("\"a\" + 1"));
    EXPECT_EQ("2:a2.500000", Eval("\"a\" + 2.5"));
    EXPECT_EQ("4:2.000000", Eval("1 * 2"));
    host.Set("flag", ScriptValue::FromText("1", TypeBool));
    EXPECT_EQ("5:1", Eval("flag + 5"));
    host.Set("text", ScriptValue::FromText("t", TypeText));
    EXPECT_EQ("1:t", Eval("text + 5"));
}

TEST_F(EvaluatorTest, OperatorTable)
{
    EXPECT_EQ("4:1.000000", Eval("!0"));
    EXPECT_EQ("4:0.000000", Eval("!\"7\""));
    EXPECT_EQ("4:-1.000000", Eval("~0"));
    EXPECT_EQ("4:-5.000000", Eval("-\"5\""));
    EXPECT_EQ("4:1.000000", Eval("5 & 3"));
    EXPECT_EQ("4:7.000000", Eval("5 | 3"));
    EXPECT_EQ("4:1.000000", Eval("2 ^ 3"));
    EXPECT_EQ("4:2.000000", Eval("2 ^ 3 + 1"));
    EXPECT_EQ("4:-1.000000", Eval("-7 % 3"));
    EXPECT_EQ("4:1.000000", Eval("7 % -3"));
    EXPECT_EQ("4:1.000000", Eval("1 || 0"));
    EXPECT_EQ("4:0.000000", Eval("0 OR 0"));
    EXPECT_EQ("4:0.000000", Eval("1 && 0"));
    EXPECT_EQ("4:1.000000", Eval("3 >= 3"));
    EXPECT_EQ("4:0.000000", Eval("3 > 3"));
    EXPECT_EQ("4:1.000000", Eval("2 <= 3"));
    EXPECT_EQ("4:1.000000", Eval("2 != 3"));
    EXPECT_EQ("4:0.000000", Eval("2 <> 2"));
    EXPECT_EQ("4:2.000000", Eval("int(2.9)"));
    EXPECT_EQ("4:-2.000000", Eval("int(-2.9)"));
    EXPECT_EQ("4:3.000000", Eval("INT(3)"));
    EXPECT_EQ("4:inf", Eval("1 / 0"));
}

TEST_F(EvaluatorTest, EqualityComparesByTheLeftType)
{
    EXPECT_EQ("4:0.000000", Eval("\"abc\" == \"ABC\""));
    EXPECT_EQ("4:1.000000", Eval("\"5\" == 5"));
    EXPECT_EQ("4:0.000000", Eval("\"5.0\" == 5"));
    EXPECT_EQ("4:1.000000", Eval("5 == \"5.0\""));
    EXPECT_EQ("4:1.000000", Eval("2.5 == \"2.5\""));
    host.Set("text", ScriptValue::FromText("a", TypeText));
    EXPECT_EQ("4:0.000000", Eval("text == text")); // untyped text is never equal
}

TEST_F(EvaluatorTest, OperandsOfTheWrongKindFail)
{
    EXPECT_EQ("error:", Eval("\"a\" < \"b\""));
    EXPECT_EQ("error:", Eval("\"a\" - 1"));
    EXPECT_EQ("error:", Eval("\"a\" * 2"));
    EXPECT_EQ("error:", Eval("int(\"2\")"));
    EXPECT_EQ("error:", Eval("int()"));
    EXPECT_EQ("error:", Eval("1 +"));
    EXPECT_EQ("error:", Eval("* 3"));
    EXPECT_EQ("error:", Eval(""));
    EXPECT_EQ("error:", Eval("@missing"));
    EXPECT_EQ("error:%", Eval("5 % 0"));
    EXPECT_EQ("error:%", Eval("5 % 0.5"));
}

TEST_F(EvaluatorTest, AssignmentsInsideExpressionsAreRefused)
{
    EXPECT_EQ("error:=", Eval("1 = 1"));
    host.Set("x", ScriptValue::FromText("1", TypeInt));
    EXPECT_EQ("error:+=", Eval("x += 1"));
    EXPECT_EQ("error:*=", Eval("x *= 2"));
}

TEST_F(EvaluatorTest, SyntaxErrorsNameTheToken)
{
    EXPECT_EQ("error:", Eval("5 ("));
    EXPECT_EQ("error:,", Eval(", 1"));
    EXPECT_EQ("error:==", Eval("== 1"));
    EXPECT_EQ("error:AND", Eval("AND 1"));
    EXPECT_EQ("error:word", Eval("word"));
    EXPECT_EQ("error:$", Eval("1 + $"));
    EXPECT_EQ("3:3", Eval("(1 + 2"));  // the "(" left on the stack is never applied
    EXPECT_EQ("error:", Eval("1 + 2)"));
    // ")" directly followed by "=" reads as the word ")=", which is no operator.
    EXPECT_EQ("error:)=", Eval("f(1)==1"));
    EXPECT_EQ("4:1.000000", Eval("f(1) == 1"));
}

TEST_F(EvaluatorTest, VariablesResolveWhenTheyAreUsed)
{
    host.Set("x", ScriptValue::FromText("5", TypeInt));
    EXPECT_EQ("3:5", Eval("x"));
    EXPECT_EQ("4:6.000000", Eval("x++"));
    EXPECT_EQ(5, host.variables.Find("x")->Value().ToInt());
    EXPECT_EQ("4:11.000000", Eval("x * 2++"));
    EXPECT_EQ("error:", Eval("++"));
    EXPECT_EQ("3:5", Eval("x."));    // a "." without a member name ends the text
    EXPECT_EQ("3:6", Eval("X + 1"));
}

TEST_F(EvaluatorTest, AVariableNamedLikeAWordIsAVariable)
{
    host.Set("and", ScriptValue::FromText("4", TypeInt));
    host.Set("int", ScriptValue::FromText("3", TypeInt));
    EXPECT_EQ("3:4", Eval("and"));
    EXPECT_EQ("3:7", Eval("and + int"));
}

TEST_F(EvaluatorTest, HostCallsReceiveTheirArgumentsInOrder)
{
    host.Set("x", ScriptValue::FromText("5", TypeInt));
    EXPECT_EQ("3:0", Eval("f()"));
    EXPECT_EQ("3:2", Eval("f(1, \"x\")"));
    EXPECT_EQ("3:3", Eval("obj.Method(x, 2.5, x + 1)"));
    EXPECT_EQ("3:1", Eval("f (7)"));
    EXPECT_EQ("3:1", Eval("f(x)"));
    EXPECT_EQ("3:3", Eval("f(1, f(2, 3)) + 1"));
    EXPECT_EQ("error:fail", Eval("fail(1)"));
    ASSERT_EQ(8u, host.calls.size());
    EXPECT_EQ("f()", host.calls[0]);
    EXPECT_EQ("f(3|1,2|x)", host.calls[1]);
    // A variable goes by reference; expressions by value.
    EXPECT_EQ("obj.Method(103|x,4|2.500000,3|6)", host.calls[2]);
    // A single argument is passed as its text.
    EXPECT_EQ("f(1|7)", host.calls[3]);
    EXPECT_EQ("f(1|x)", host.calls[4]);
    EXPECT_EQ("f(3|2,3|3)", host.calls[5]);
    EXPECT_EQ("f(3|1,3|2)", host.calls[6]);
}

TEST_F(EvaluatorTest, AWordMustBeACallAndIsNotedFirst)
{
    EXPECT_EQ("error:missing", Eval("missing + 1"));
    EXPECT_EQ("3:0", Eval("later ()"));
    EXPECT_EQ((std::vector<std::string>{"missing", "later"}), host.notedWords);
}

TEST_F(EvaluatorTest, ParenthesesMakeLists)
{
    EXPECT_EQ("101:3|1<,>2|a<,>4|2.000000", Eval("(1, \"a\", 1 * 2)"));
    EXPECT_EQ("3:0", Eval("f(())")); // an empty group adds nothing: the call gets the empty list
}

TEST_F(EvaluatorTest, ConditionsReadTheValueAsAnInteger)
{
    host.Set("half", ScriptValue::FromText("0.5", TypeDouble));
    host.Set("text", ScriptValue::FromText("12abc", TypeString));
    EXPECT_EQ("true", Condition("1"));
    EXPECT_EQ("false", Condition("half"));
    EXPECT_EQ("true", Condition("half * 2"));
    EXPECT_EQ("true", Condition("text"));
    EXPECT_EQ("false", Condition("\"abc\""));
    EXPECT_EQ("false", Condition("0.9999994"));
    EXPECT_EQ("true", Condition("0.9999996"));
    EXPECT_EQ("false", Condition("1 / 0")); // infinity is written "inf"
    EXPECT_EQ("false", Condition(""));
    EXPECT_EQ("false", Condition("   "));
    EXPECT_EQ("error:", Condition("@nothing"));
    EXPECT_EQ("error:zz", Condition("zz"));
}

TEST_F(EvaluatorTest, DeepNestingAndLongTextsNeedNoRecursion)
{
    std::string nested = std::string(100000, '(') + "1" + std::string(100000, ')');
    EXPECT_EQ("3:1", Eval(nested));
    std::string sum = "0";
    for (int i = 0; i < 50000; ++i)
        sum += " + 1";
    EXPECT_EQ("3:50000", Eval(sum));
    std::string arguments = "f(0";
    for (int i = 1; i < 50000; ++i)
        arguments += ", " + std::to_string(i);
    EXPECT_EQ("3:50000", Eval(arguments + ")"));
}

TEST_F(EvaluatorTest, LocalVariablesComeBeforeTheHost)
{
    host.Set("x", ScriptValue::FromText("5", TypeInt));
    ExpressionEvaluator evaluator;
    evaluator.SetHost(&host);
    evaluator.AddLocalVariable("x", ScriptValue::FromText("40", TypeInt));
    ScriptValue value;
    ASSERT_TRUE(evaluator.Evaluate("x + 2", value));
    EXPECT_EQ(42, value.ToInt());
}

TEST(EvaluatorLifetime, NothingOfATextOutlivesItsEvaluation)
{
    ExpressionEvaluator evaluator;
    ScriptValue value;
    ASSERT_TRUE(evaluator.Evaluate("\"left behind\" \"top\"", value));
    EXPECT_EQ("top", value.ToString());
    EXPECT_EQ(0u, evaluator.OperandCount()) << "the operands below the top read the text just freed";
    EXPECT_TRUE(evaluator.EvaluateCondition("\"left behind\" 1"));
    EXPECT_EQ(0u, evaluator.OperandCount());
}
