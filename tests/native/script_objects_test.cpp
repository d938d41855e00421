#include "script_test_support.h"

#include "script/objects/scalar_objects.h"
#include "script/objects/value_set.h"

#include <gtest/gtest.h>

namespace {

std::string Evaluate(const std::string& declarations, const std::string& expression)
{
    ScriptFixture script;
    if (!script.Load("Function string main\n{\n" + declarations + "return " + expression + "\n}\n"))
        return "load error";
    if (!script.Call("main"))
        return "error " + std::to_string(script.engine.Error().code) + " " + script.engine.Error().word;
    return script.result.ToString();
}

const std::string Hello = "var string s = \"Hello\"\n";

}

TEST(ScriptStringObject, CutsAndSearches)
{
    EXPECT_EQ("He", Evaluate(Hello, "s.Left(2)"));
    EXPECT_EQ("llo", Evaluate(Hello, "s.Right(3)"));
    EXPECT_EQ("ell", Evaluate(Hello, "s.Mid(1, 3)"));
    EXPECT_EQ("ello", Evaluate(Hello, "s.Mid(1, 0)"));
    EXPECT_EQ("Hello", Evaluate(Hello, "s.Left(99)"));
    EXPECT_EQ("", Evaluate(Hello, "s.Left(-3)"));
    EXPECT_EQ("", Evaluate(Hello, "s.Mid(40, 2)"));
    EXPECT_EQ("Hello", Evaluate(Hello, "s.Mid(-2, 0)"));
    EXPECT_EQ("2", Evaluate(Hello, "s.Find(\"lo\")"));
    EXPECT_EQ("3", Evaluate(Hello, "s.ReverseFind(\"l\")"));
    EXPECT_EQ("-1", Evaluate(Hello, "s.Find(\"z\")"));
    EXPECT_EQ("-1", Evaluate(Hello, "s.Find(\"\")"));
    EXPECT_EQ("HELLO", Evaluate(Hello, "s.ToUpper()"));
    EXPECT_EQ("hello", Evaluate(Hello, "s.ToLower()"));
    EXPECT_EQ("42", Evaluate("var string n = \"42abc\"\n", "n.ToInt() + 0"));
}

TEST(ScriptStringObject, ArgumentsMayBeVariables)
{
    EXPECT_EQ("Hel", Evaluate(Hello + "var int count = 3\n", "s.Left(count)"));
}

TEST(ScriptStringObject, CompareNoCase)
{
    EXPECT_EQ("0", Evaluate("var string s = \"abc\"\n", "s.CompareNoCase(\"ABC\")"));
    EXPECT_EQ("-1", Evaluate("var string s = \"abc\"\n", "s.CompareNoCase(\"abd\")"));
    EXPECT_EQ("1", Evaluate("var string s = \"abcd\"\n", "s.CompareNoCase(\"ABC\")"));
}

TEST(ScriptStringObject, ReplaceChangesTheVariableAndToUpperDoesNot)
{
    EXPECT_EQ("Hexxo", Evaluate(Hello + "s.Replace(\"l\", \"x\")\n", "s"));
    EXPECT_EQ("Hello", Evaluate(Hello + "s.ToUpper()\n", "s"));
    EXPECT_EQ("Hello", Evaluate(Hello + "s.Replace(\"\", \"x\")\n", "s"));
    EXPECT_EQ("aaaa", Evaluate("var string s = \"aa\"\ns.Replace(\"a\", \"aa\")\n", "s"));
}

TEST(ScriptNumberObjects, ToStringAndConversions)
{
    EXPECT_EQ("2.500000", Evaluate("var double d = 2.5\n", "d.ToString()"));
    EXPECT_EQ("2", Evaluate("var double d = 2.5\nvar int i = d\n", "i"));
    EXPECT_EQ("-2", Evaluate("var double d = -2.5\nvar int i = d\n", "i"));
    EXPECT_EQ("17", Evaluate("var int i = 17\n", "i.ToString()"));
    EXPECT_EQ("1", Evaluate("var bool b = 7\n", "b.ToString()"));
    EXPECT_EQ("error 8 i.Left", Evaluate("var int i = 17\n", "i.Left(1)"));
}

TEST(ScriptNumberObjects, UnknownMethodsAreNotKnown)
{
    ArgumentList arguments;
    for (Counted<ScriptObject> object : {Counted<ScriptObject>(MakeCounted<IntObject>(1)),
                                         Counted<ScriptObject>(MakeCounted<DoubleObject>(1.0)),
                                         Counted<ScriptObject>(MakeCounted<BoolObject>(1)),
                                         Counted<ScriptObject>(MakeCounted<StringObject>("x")),
                                         Counted<ScriptObject>(MakeCounted<ValueSetObject>()),
                                         Counted<ScriptObject>(MakeCounted<ScriptObject>())}) {
        EXPECT_FALSE(object->InvokeMethod("NoSuchMethod", arguments, nullptr)) << object->ClassName();
    }
}

TEST(ScriptScalarClasses, InstancesAreEmptyObjectsOfTheClass)
{
    ScriptEngine engine;
    for (const char* name : {"string", "int", "double", "bool"}) {
        ScriptObject* classObject = engine.FindClass(name);
        Counted<ScriptObject> instance = classObject->CreateInstance("n");
        EXPECT_EQ(name, instance->ClassName());
        EXPECT_EQ(&engine, instance->Engine());
        EXPECT_EQ(0, instance->ToInt());
    }
    EXPECT_TRUE(StringObject("a").IsEqual(std::make_unique<ScriptValue>(ScriptValue::FromText("a", TypeText)).get()));
    EXPECT_FALSE(StringObject("a").IsEqual(nullptr));
    EXPECT_FALSE(IntObject(1).IsEqual(nullptr));
}

TEST(ScriptValueSets, SetGetAndClear)
{
    EXPECT_EQ("v", Evaluate("var CValueSet set\nset.SetValue(\"key\", \"v\")\n", "set.GetValue(\"KEY\")"));
    EXPECT_EQ("", Evaluate("var CValueSet set\n", "set.GetValue(\"never\")"));
    EXPECT_EQ("", Evaluate("var CValueSet set\nset.SetValue(\"k\", \"v\")\nset.ClearData()\n", "set.GetValue(\"k\")"));
    EXPECT_EQ("from var", Evaluate("var CValueSet set\nvar string value = \"from var\"\nset.SetValue(\"k\", value)\n",
                                   "set.GetValue(\"k\")"));
    EXPECT_EQ("Proc", Evaluate("var CWndParam p\np.SetWndProc(\"Proc\")\n", "p.GetValue(\"WndProc\")"));
    EXPECT_EQ("error 8 set.SetWndProc", Evaluate("var CValueSet set\nset.SetWndProc(\"x\")\n", "1"));
}

TEST(ScriptValueSets, HostReadsEntriesWithDefaults)
{
    auto parameters = MakeCounted<WndParamObject>();
    parameters->SetEntry("Prompt", "Please wait");
    parameters->SetEntryInt("Count", 12);
    EXPECT_EQ("Please wait", parameters->EntryText("prompt", "default"));
    EXPECT_EQ("default", parameters->EntryText("missing", "default"));
    EXPECT_EQ(12, parameters->EntryInt("Count", -1));
    EXPECT_EQ(-1, parameters->EntryInt("missing", -1));
    Counted<ScriptObject> copy = parameters->CreateInstance("copy");
    EXPECT_EQ("CWndParam", copy->ClassName());
    EXPECT_EQ("copy", copy->InstanceName());
    EXPECT_EQ("", static_cast<WndParamObject&>(*copy).EntryText("Prompt", ""));
}

TEST(ScriptObjectBase, MembersAreSetAndFound)
{
    auto object = MakeCounted<ScriptObject>("CThing");
    EXPECT_TRUE(object->SetMember("Name", "first"));
    EXPECT_TRUE(object->SetMember("NAME", "second"));
    ASSERT_NE(nullptr, object->FindMember("name"));
    EXPECT_EQ("second", object->FindMember("name")->Value().ToString());
    EXPECT_EQ(1u, object->Members().Count());
    Counted<ScriptObject> instance = object->CreateInstance("made");
    EXPECT_EQ("CThing", instance->ClassName());
    EXPECT_EQ("made", instance->InstanceName());
    EXPECT_EQ("", instance->ToString());
}

TEST(ScriptObjectBase, AnObjectDiesWithItsLastHolder)
{
    static int destroyed = 0;
    class Tracked final : public ScriptObject {
    public:
        ~Tracked() override { ++destroyed; }
    };
    destroyed = 0;
    {
        ScriptFixture script;
        script.engine.RegisterObject("tracked", MakeCounted<Tracked>());
        ASSERT_TRUE(script.Load("Function int main\n{\nvar IVosObject copy\ncopy = tracked\nreturn 1\n}\n"));
        ASSERT_TRUE(script.Call("main"));
        EXPECT_EQ(0, destroyed);
    }
    EXPECT_EQ(1, destroyed);
}
