#include "script_test_support.h"

#include "script/argument_list.h"
#include "script/script_engine.h"

#include <gtest/gtest.h>

namespace {

// An engine with a global "x" holding the string "hello" and a list bound to it.
class ArgumentListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto variable = MakeCounted<ScriptVariable>("x");
        variable->Value().SetTyped("hello", TypeString);
        engine.GlobalVariables().Append(variable);
    }

    ScriptEngine engine;
    ArgumentList arguments{&engine, nullptr};
};

}

TEST_F(ArgumentListTest, ParsesTypedItemsInsideParentheses)
{
    ASSERT_TRUE(arguments.ParseArguments("((\"abc\"<,>3|7))"));
    ASSERT_EQ(2u, arguments.Count());
    EXPECT_EQ(TypeString, arguments.Arg(1)->Type());
    EXPECT_EQ("abc", arguments.Arg(1)->ToString());
    EXPECT_EQ(TypeInt, arguments.Arg(2)->Type());
    EXPECT_EQ(7, arguments.Arg(2)->ToInt());
    EXPECT_EQ("", arguments.Variable(1)->Name());
}

TEST_F(ArgumentListTest, NamesOfVariablesBecomeReferences)
{
    ASSERT_TRUE(arguments.ParseArguments("x <,> y <,> 1x <,> |x"));
    ASSERT_EQ(4u, arguments.Count());
    EXPECT_EQ(TypeVariableReference, arguments.Arg(1)->Type());
    EXPECT_EQ("x", arguments.Arg(1)->Text());
    EXPECT_EQ(TypeText, arguments.Arg(2)->Type()); // no such variable
    EXPECT_EQ(TypeText, arguments.Arg(3)->Type()); // starts with a digit
    EXPECT_EQ(TypeText, arguments.Arg(4)->Type()); // a bar first is no type
    EXPECT_EQ("|x", arguments.Arg(4)->ToString());
}

TEST_F(ArgumentListTest, EmptyTextGivesNoArgumentsAndBarTypesAnyCode)
{
    EXPECT_TRUE(arguments.ParseArguments("  (  )"));
    EXPECT_EQ(0u, arguments.Count());
    ArgumentList trailingBlank; // trailing blanks are not trimmed, so the parentheses stay
    EXPECT_TRUE(trailingBlank.ParseArguments("( ) "));
    ASSERT_EQ(1u, trailingBlank.Count());
    EXPECT_EQ("( )", trailingBlank.ArgText(1, false));
    ArgumentList typed;
    EXPECT_TRUE(typed.ParseArguments("77|x|y<,>0|z"));
    ASSERT_EQ(2u, typed.Count());
    EXPECT_EQ(77, typed.Arg(1)->Type());
    EXPECT_EQ("x|y", typed.Arg(1)->ToString());
    EXPECT_EQ(TypeText, typed.Arg(2)->Type());
}

TEST_F(ArgumentListTest, ArgTextResolvesReferencesOnRequest)
{
    ASSERT_TRUE(arguments.ParseArguments("x<,>\"q\""));
    EXPECT_EQ("hello", arguments.ArgText(1, true));
    EXPECT_EQ("x", arguments.ArgText(1, false));
    EXPECT_EQ("q", arguments.ArgText(2, true));
    EXPECT_EQ("", arguments.ArgText(3, true));
    EXPECT_EQ("", arguments.ArgText(0, true));
    ArgumentList detached;
    ASSERT_TRUE(detached.ParseArguments("103|x"));
    EXPECT_EQ("x", detached.ArgText(1, true)); // no engine to resolve with
}

TEST_F(ArgumentListTest, CompareArgsIgnoresCase)
{
    ASSERT_TRUE(arguments.ParseArguments("\"ABC\"<,>\"abc\"<,>x<,>\"HELLO\"<,>\"abd\""));
    EXPECT_EQ(0, arguments.CompareArgs(1, 2));
    EXPECT_EQ(0, arguments.CompareArgs(3, 4));
    EXPECT_NE(0, arguments.CompareArgs(1, 5));
}

TEST_F(ArgumentListTest, SetArgWritesOnlyIntoNamedOrReferencingArguments)
{
    ASSERT_TRUE(arguments.ParseArguments("x<,>plain"));
    arguments.SetArg(1, "new text");
    arguments.SetArg(2, "ignored");
    arguments.SetArg(5, "ignored");
    ScriptVariable* first = arguments.Variable(1);
    EXPECT_EQ("x", first->Name());
    EXPECT_TRUE(first->IsOut());
    EXPECT_EQ("new text", first->Value().ToString());
    EXPECT_FALSE(arguments.Variable(2)->IsOut());
    EXPECT_EQ("plain", arguments.Arg(2)->ToString());
    arguments.SetArgInt(1, -5);
    EXPECT_EQ("-5", first->Value().ToString());
}

TEST_F(ArgumentListTest, ResultsAreTyped)
{
    arguments.SetResult("12", TypeString);
    EXPECT_EQ(TypeString, arguments.Result().Type());
    arguments.SetResultInt(4);
    EXPECT_EQ(TypeInt, arguments.Result().Type());
    EXPECT_EQ(4, arguments.Result().ToInt());
    arguments.SetResultInt(1, TypeBool);
    EXPECT_EQ("1", arguments.Result().ToString());
}

TEST_F(ArgumentListTest, AddValuePutsCopiesInFrontAndCopyFromCopiesAll)
{
    arguments.AddValue(ScriptValue::FromText("2", TypeInt));
    arguments.AddValue(ScriptValue::FromText("one", TypeString));
    ASSERT_EQ(2u, arguments.Count());
    EXPECT_EQ("one", arguments.ArgText(1, false));
    arguments.Variable(2)->SetName("n");
    arguments.Variable(2)->SetOut();
    arguments.SetResultInt(9);

    ArgumentList copy;
    copy.CopyFrom(arguments);
    EXPECT_EQ(&engine, copy.Engine());
    ASSERT_EQ(2u, copy.Count());
    EXPECT_EQ("n", copy.Variable(2)->Name());
    EXPECT_TRUE(copy.Variable(2)->IsOut());
    EXPECT_NE(arguments.Variable(2), copy.Variable(2));
    EXPECT_NE(arguments.Arg(2)->Object(), copy.Arg(2)->Object());
    EXPECT_EQ(9, copy.Result().ToInt());
    copy.Clear();
    EXPECT_EQ(0u, copy.Count());
}

TEST(ListText, ItemsCarryTypeAndText)
{
    EXPECT_EQ("3|7", ListItemText(ScriptValue::FromText("7", TypeInt)));
    EXPECT_EQ("2|a", ListItemText(ScriptValue::FromText("a", TypeString)));
}

TEST(ListText, ALongListParsesInLinearTime)
{
    // 100000 arguments: quadratic parsing would take minutes here.
    std::string list;
    for (int i = 0; i < 100000; ++i)
        list += (i ? "<,>3|" : "3|") + std::to_string(i);
    ArgumentList arguments;
    ASSERT_TRUE(arguments.ParseArguments("(" + list + ")"));
    ASSERT_EQ(100000u, arguments.Count());
    EXPECT_EQ(99999, arguments.Arg(100000)->ToInt());
}
