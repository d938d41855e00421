#include "script/objects/scalar_objects.h"
#include "script/script_text.h"
#include "script/script_value.h"
#include "script/script_variable.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

ScriptValue Text(const char* text) { return ScriptValue::FromText(text, TypeText); }
ScriptValue Typed(const char* text, TypeCode type) { return ScriptValue::FromText(text, type); }

}

TEST(ScriptText, DecimalReadingsTakeTheLeadingNumberOnly)
{
    EXPECT_EQ(12, ReadDecimalInt("12abc"));
    EXPECT_EQ(-7, ReadDecimalInt("  -7.9"));
    EXPECT_EQ(0, ReadDecimalInt("abc"));
    EXPECT_EQ(0, ReadDecimalInt(""));
    EXPECT_EQ(0, ReadDecimalInt("0x1F"));
    EXPECT_DOUBLE_EQ(12.0, ReadDecimalNumber("12abc"));
    EXPECT_DOUBLE_EQ(1500.0, ReadDecimalNumber(" 1.5e3xyz"));
    EXPECT_DOUBLE_EQ(-0.25, ReadDecimalNumber("-.25"));
    EXPECT_DOUBLE_EQ(2.0, ReadDecimalNumber("2e"));
    EXPECT_DOUBLE_EQ(0.0, ReadDecimalNumber("inf"));
    EXPECT_DOUBLE_EQ(0.0, ReadDecimalNumber("nan"));
    EXPECT_DOUBLE_EQ(0.0, ReadDecimalNumber("0x10"));
}

TEST(ScriptText, NumbersBeyondRangeAreHeldAtTheLimit)
{
    EXPECT_EQ(INT_MAX, ReadDecimalInt("99999999999999999999"));
    EXPECT_EQ(INT_MIN, ReadDecimalInt("-99999999999999999999"));
    EXPECT_EQ(INT_MIN, ReadDecimalInt("-2147483648"));
    EXPECT_EQ(INT_MAX, TruncateToInt32(1e300));
    EXPECT_EQ(INT_MIN, TruncateToInt32(-1e300));
    EXPECT_EQ(0, TruncateToInt32(std::nan("")));
    EXPECT_EQ(-2, TruncateToInt32(-2.9));
    EXPECT_TRUE(std::isinf(ReadDecimalNumber("1e999")));
    EXPECT_DOUBLE_EQ(0.0, ReadDecimalNumber("1e-999"));
}

TEST(ScriptText, NumbersAreWrittenAsPrintfWritesThem)
{
    EXPECT_EQ("-42", FormatInt(-42));
    EXPECT_EQ("2.500000", FormatDouble(2.5));
    EXPECT_EQ("-0.000001", FormatDouble(-0.000001));
    EXPECT_EQ("1.000000", FormatDouble(0.9999996));
    EXPECT_EQ(317u, FormatDouble(-std::numeric_limits<double>::max()).size());
}

TEST(ScriptText, TruthIsTheTextReadAsAnInteger)
{
    EXPECT_TRUE(IsTrueText("1.000000"));
    EXPECT_TRUE(IsTrueText("12abc"));
    EXPECT_FALSE(IsTrueText("0.500000"));
    EXPECT_FALSE(IsTrueText("abc"));
    EXPECT_FALSE(IsTrueText(""));
    EXPECT_TRUE(IsTrueDouble(0.9999996));
    EXPECT_FALSE(IsTrueDouble(0.9999994));
    EXPECT_FALSE(IsTrueDouble(0.5));
    EXPECT_TRUE(IsTrueDouble(-3.0));
    EXPECT_FALSE(IsTrueDouble(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(IsTrueDouble(std::nan("")));
}

TEST(ScriptText, NamesCompareWithoutCaseAndWordsSplitAtOperators)
{
    EXPECT_TRUE(SameName("OnUninstallBegin", "onuninstallBEGIN"));
    EXPECT_FALSE(SameName("abc", "abd"));
    auto [word, rest] = SplitFirstWord("  x+= 5 ");
    EXPECT_EQ("x", word);
    EXPECT_EQ("+= 5", rest);
    auto call = SplitFirstWord("MessageBox(\"a b\")");
    EXPECT_EQ("MessageBox", call.first);
    EXPECT_EQ("(\"a b\")", call.rest);
    auto separated = SplitAtSeparator(" a <,> b <,> c", "<,>");
    EXPECT_EQ("a", separated.first);
    EXPECT_EQ("b <,> c", separated.rest);
}

TEST(ScriptTypes, TypeNamesMapBothWays)
{
    EXPECT_EQ(TypeString, TypeCodeFromName("STRING"));
    EXPECT_EQ(TypeInt, TypeCodeFromName("int"));
    EXPECT_EQ(TypeBool, TypeCodeFromName("Bool"));
    EXPECT_EQ(TypeDouble, TypeCodeFromName("double"));
    EXPECT_EQ(TypeObject, TypeCodeFromName("ivosobject"));
    EXPECT_EQ(TypeVoid, TypeCodeFromName("void"));
    EXPECT_EQ(TypeUnknown, TypeCodeFromName("CRegKey"));
    EXPECT_EQ("IVosObject", TypeNameFromCode(TypeObject));
    EXPECT_EQ("", TypeNameFromCode(TypeList));
    EXPECT_TRUE(IsNumeric(TypeText));
    EXPECT_FALSE(IsNumeric(TypeString));
}

TEST(ScriptValueConversion, UntypedTextReadsAsNumbers)
{
    ScriptValue value = Text("12abc");
    EXPECT_EQ(12, value.ToInt());
    EXPECT_DOUBLE_EQ(12.0, value.ToNumber());
    EXPECT_EQ("12abc", value.ToString());
    EXPECT_EQ(nullptr, value.Object());
}

TEST(ScriptValueConversion, TypedValuesHoldAnObjectOfTheirClass)
{
    ScriptValue number = Typed("42", TypeInt);
    ASSERT_NE(nullptr, number.Object());
    EXPECT_EQ("int", number.Object()->ClassName());
    EXPECT_EQ("42", number.ToString());
    ScriptValue real = Typed("2.5", TypeDouble);
    EXPECT_EQ("2.500000", real.ToString());
    EXPECT_EQ(2, real.ToInt());
    EXPECT_EQ(-2, Typed("-2.5", TypeDouble).ToInt());
    ScriptValue truth = Typed("7", TypeBool);
    EXPECT_EQ("1", truth.ToString());
    EXPECT_EQ(7, truth.ToInt());
    ScriptValue text = Typed("5.0", TypeString);
    EXPECT_EQ("string", text.Object()->ClassName());
    EXPECT_EQ(5, text.ToInt());
}

TEST(ScriptValueConversion, SetTextTypesByTheCurrentType)
{
    ScriptValue fresh;
    fresh.SetText("abc");
    EXPECT_EQ(TypeText, fresh.Type());
    ScriptValue number(TypeInt);
    number.SetText("17 apples");
    EXPECT_EQ(17, number.ToInt());
    EXPECT_EQ("17 apples", number.Text()); // the text field keeps what was stored
    ScriptValue reference = ScriptValue::FromText("x", TypeVariableReference);
    reference.SetText("y");
    EXPECT_EQ(TypeVariableReference, reference.Type());
    EXPECT_EQ("y", reference.ToString());
}

TEST(ScriptValueConversion, SetIntAndSetDoubleWriteByType)
{
    ScriptValue text = Text("");
    text.SetDouble(2.5);
    EXPECT_EQ("2.500000", text.ToString());
    ScriptValue number(TypeInt);
    number.SetDouble(-3.99);
    EXPECT_EQ(-3, number.ToInt());
    ScriptValue string(TypeString);
    string.SetInt(12);
    EXPECT_EQ("12", string.ToString());
    string.SetInt(5, TypeDouble);
    EXPECT_EQ(TypeDouble, string.Type());
    EXPECT_EQ("5.000000", string.ToString());
    ScriptValue huge(TypeInt);
    huge.SetDouble(1e20);
    EXPECT_EQ(INT_MAX, huge.ToInt());
}

TEST(ScriptValueAssignment, AssignTakesTypeAndCopiesScalars)
{
    ScriptValue source = Typed("7", TypeInt);
    ScriptValue target = Typed("x", TypeString);
    target.Assign(source);
    EXPECT_EQ(TypeInt, target.Type());
    EXPECT_EQ(7, target.ToInt());
    EXPECT_NE(source.Object(), target.Object()); // two values never share a scalar object
    source.AddInt(1);
    EXPECT_EQ(7, target.ToInt());
}

TEST(ScriptValueAssignment, ObjectsAreSharedByEveryHolder)
{
    auto object = MakeCounted<ScriptObject>("CThing");
    ScriptValue first(TypeObject);
    first.SetObject(object);
    ScriptValue second;
    second.Assign(first);
    EXPECT_EQ(object.Get(), second.Object());
    EXPECT_EQ(3, object->ReferenceCount());
    first.Clear();
    second.Clear();
    EXPECT_EQ(1, object->ReferenceCount());
    EXPECT_EQ(TypeNone, second.Type());
}

TEST(ScriptValueAssignment, KeepTypeConvertsIntoTheOwnType)
{
    ScriptValue declared = Typed("0", TypeInt);
    declared.AssignKeepType(Typed("7", TypeString));
    EXPECT_EQ(TypeInt, declared.Type());
    EXPECT_EQ(7, declared.ToInt());
    ScriptValue fresh;
    fresh.AssignKeepType(Typed("7", TypeString));
    EXPECT_EQ(TypeString, fresh.Type());
    EXPECT_EQ("7", fresh.ToString());
    ScriptValue text = Text("old");
    text.AssignKeepType(Typed("9", TypeInt));
    EXPECT_EQ(TypeText, text.Type());
    EXPECT_EQ("9", text.ToString()); // the int object is shared for an untyped value
}

TEST(ScriptValueAssignment, ASharedObjectIsNotChangedThroughATypedValue)
{
    // A value of type 50 may hold an int object; a typed value that takes it over must not
    // change it for the other holder.
    auto number = MakeCounted<IntObject>(5);
    ScriptValue holder(TypeObject);
    holder.SetObject(number);
    ScriptValue other;
    other.Assign(holder); // shares the object
    other.SetInt(9, TypeInt);
    EXPECT_EQ(5, number->Number());
    EXPECT_EQ(9, other.ToInt());
}

TEST(ScriptValueEquality, DecidedByTheOwnTypeOnly)
{
    ScriptValue five = Typed("5", TypeInt);
    ScriptValue fiveText = Typed("5.0", TypeString);
    EXPECT_TRUE(five.Equals(fiveText));
    EXPECT_FALSE(fiveText.Equals(five));
    EXPECT_FALSE(Text("a").Equals(Text("a")));
    EXPECT_TRUE(Typed("2.5", TypeDouble).Equals(Text("2.5")));
    EXPECT_TRUE(Typed("3", TypeBool).Equals(Text("3")));
    EXPECT_FALSE(Typed("abc", TypeString).Equals(Typed("ABC", TypeString)));
}

TEST(ScriptValueArithmetic, AddWorksInTheOwnType)
{
    ScriptValue text = Typed("a", TypeString);
    EXPECT_TRUE(text.Add(Typed("1", TypeInt)));
    EXPECT_EQ("a1", text.ToString());
    ScriptValue number = Typed("1", TypeInt);
    EXPECT_TRUE(number.Add(Typed("2.9", TypeDouble)));
    EXPECT_EQ(3, number.ToInt());
    ScriptValue real = Typed("2.5", TypeDouble);
    EXPECT_TRUE(real.Add(Text("1")));
    EXPECT_EQ("3.500000", real.ToString());
    ScriptValue truth = Typed("1", TypeBool);
    EXPECT_TRUE(truth.Add(Typed("5", TypeInt)));
    EXPECT_EQ(1, truth.ToInt());
    ScriptValue untyped = Text("x");
    untyped.AddInt(3);
    EXPECT_EQ("x", untyped.ToString());
}

TEST(ScriptValueArithmetic, StringsStopGrowingAtTheTextLimit)
{
    ScriptValue text = ScriptValue::FromText(std::string(MaximumTextLength - 1, 'a'), TypeString);
    EXPECT_TRUE(text.Add(Typed("b", TypeString)));
    EXPECT_FALSE(text.Add(Typed("c", TypeString)));
    EXPECT_EQ(MaximumTextLength, text.ToString().size());
}

TEST(ScriptValueArithmetic, IntegerOverflowWrapsAndProductsHoldAtTheLimit)
{
    ScriptValue number = Typed("2147483647", TypeInt);
    number.AddInt(1);
    EXPECT_EQ(INT_MIN, number.ToInt());
    number.MultiplyBy(-2.0);
    EXPECT_EQ(INT_MAX, number.ToInt());
    ScriptValue small = Typed("-2147483648", TypeInt);
    small.DivideBy(-1.0);
    EXPECT_EQ(INT_MAX, small.ToInt());
}

TEST(ScriptValueArithmetic, DivisionAndRemainderByZeroHaveDefinedResults)
{
    ScriptValue number = Typed("7", TypeInt);
    number.ModuloBy(0);
    EXPECT_EQ(7, number.ToInt());
    number.DivideBy(0.0);
    EXPECT_EQ(INT_MAX, number.ToInt());
    ScriptValue zero = Typed("0", TypeInt);
    zero.DivideBy(0.0);
    EXPECT_EQ(0, zero.ToInt());
    ScriptValue real = Typed("7.5", TypeDouble);
    real.ModuloBy(0);
    EXPECT_DOUBLE_EQ(7.5, real.ToNumber());
    real.ModuloBy(2);
    EXPECT_DOUBLE_EQ(1.0, real.ToNumber());
    real.DivideBy(0.0);
    EXPECT_TRUE(std::isinf(real.ToNumber()));
    ScriptValue lowest = Typed("-2147483648", TypeInt);
    lowest.ModuloBy(-1);
    EXPECT_EQ(0, lowest.ToInt());
}

TEST(ScriptValueArithmetic, IntMultipliesAndDividesThroughDoubles)
{
    ScriptValue number = Typed("7", TypeInt);
    number.MultiplyBy(1.5);
    EXPECT_EQ(10, number.ToInt());
    number.DivideBy(4.0);
    EXPECT_EQ(2, number.ToInt());
    number.ModuloBy(-3);
    EXPECT_EQ(2, number.ToInt());
    ScriptValue negative = Typed("-7", TypeInt);
    negative.ModuloBy(3);
    EXPECT_EQ(-1, negative.ToInt());
}

TEST(ScriptVariables, FlagsAndReadOnly)
{
    auto variable = MakeCounted<ScriptVariable>("n");
    EXPECT_FALSE(variable->IsOut());
    variable->SetOut();
    EXPECT_EQ(ScriptVariable::OutFlag, variable->Flags());
    EXPECT_FALSE(variable->IsReadOnly());
    variable->SetReadOnly();
    EXPECT_TRUE(variable->IsReadOnly());
}

TEST(ScriptVariables, ListsFindTheFirstOfAName)
{
    VariableList list;
    auto first = MakeCounted<ScriptVariable>("Name");
    auto second = MakeCounted<ScriptVariable>("NAME");
    list.Append(first);
    list.Append(second);
    EXPECT_EQ(first.Get(), list.Find("name"));
    EXPECT_EQ(nullptr, list.Find("other"));
    EXPECT_EQ(2, first->ReferenceCount());
    list.Clear();
    EXPECT_EQ(1, first->ReferenceCount());
}
