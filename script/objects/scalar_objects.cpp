#include "script/objects/scalar_objects.h"

#include "script/argument_list.h"
#include "script/objects/method_arguments.h"
#include "script/objects/method_table.h"
#include "script/script_text.h"

#include <algorithm>
#include <climits>

namespace {

char UpperAscii(char character)
{
    return (character >= 'a' && character <= 'z') ? static_cast<char>(character - 'a' + 'A') : character;
}

char LowerAscii(char character)
{
    return (character >= 'A' && character <= 'Z') ? static_cast<char>(character - 'A' + 'a') : character;
}

// A count or start clipped to the string: below 0 counts as 0, beyond the end as the end.
std::size_t Clip(std::int32_t number, std::size_t size)
{
    return number < 0 ? 0 : std::min(static_cast<std::size_t>(number), size);
}

// The int, double and bool classes answer "ToString" with their text as a string.
const MethodRow<ScriptObject> g_numberMethods[] = {
    {"ToString", NameMatch::AnyCase,
     [](ScriptObject& object, ArgumentList& arguments, FunctionInstance*) {
         arguments.SetResult(object.ToString(), TypeString);
     }, ""},
};

bool InvokeToString(ScriptObject& object, const std::string& name, ArgumentList& arguments)
{
    return DispatchMethod(g_numberMethods, object, name, arguments, nullptr);
}

int CompareNoCase(const std::string& left, const std::string& right)
{
    std::size_t common = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < common; ++i) {
        auto leftByte = static_cast<unsigned char>(LowerAscii(left[i]));
        auto rightByte = static_cast<unsigned char>(LowerAscii(right[i]));
        if (leftByte != rightByte)
            return leftByte < rightByte ? -1 : 1;
    }
    if (left.size() == right.size())
        return 0;
    return left.size() < right.size() ? -1 : 1;
}

const MethodRow<StringObject> g_stringMethods[] = {
    {"Left", NameMatch::AnyCase, [](StringObject& object, ArgumentList& arguments, FunctionInstance* caller) {
         const std::string& text = object.Text();
         arguments.SetResult(text.substr(0, Clip(MethodNumber(object, arguments, 1, caller), text.size())), TypeString);
     }, "count"},
    {"Right", NameMatch::AnyCase, [](StringObject& object, ArgumentList& arguments, FunctionInstance* caller) {
         const std::string& text = object.Text();
         std::size_t count = Clip(MethodNumber(object, arguments, 1, caller), text.size());
         arguments.SetResult(text.substr(text.size() - count), TypeString);
     }, "count"},
    {"Mid", NameMatch::AnyCase, [](StringObject& object, ArgumentList& arguments, FunctionInstance* caller) {
         const std::string& text = object.Text();
         std::size_t start = Clip(MethodNumber(object, arguments, 1, caller), text.size());
         std::int32_t count = MethodNumber(object, arguments, 2, caller);
         arguments.SetResult(count < 1 ? text.substr(start) : text.substr(start, static_cast<std::size_t>(count)), TypeString);
     }, "start, [count]"},
    {"ToUpper", NameMatch::AnyCase, [](StringObject& object, ArgumentList& arguments, FunctionInstance*) {
         std::string text = object.Text();
         std::transform(text.begin(), text.end(), text.begin(), UpperAscii);
         arguments.SetResult(text, TypeString);
     }, ""},
    {"ToLower", NameMatch::AnyCase, [](StringObject& object, ArgumentList& arguments, FunctionInstance*) {
         std::string text = object.Text();
         std::transform(text.begin(), text.end(), text.begin(), LowerAscii);
         arguments.SetResult(text, TypeString);
     }, ""},
    {"Replace", NameMatch::AnyCase, [](StringObject& object, ArgumentList& arguments, FunctionInstance* caller) {
         std::string old = MethodText(object, arguments, 1, caller);
         std::string replacement = MethodText(object, arguments, 2, caller);
         if (old.empty())
             return; // an empty text occurs nowhere
         std::string text = object.Text();
         std::string changed;
         std::size_t position = 0;
         for (auto found = text.find(old); found != std::string::npos; found = text.find(old, position)) {
             changed.append(text, position, found - position).append(replacement);
             position = found + old.size();
             if (changed.size() > MaximumTextLength)
                 return; // the text would grow too long: it stays as it was
         }
         changed.append(text, position, std::string::npos);
         object.Set(std::move(changed));
     }, "old, new"},
    {"ToInt", NameMatch::AnyCase, [](StringObject& object, ArgumentList& arguments, FunctionInstance*) {
         arguments.SetResultInt(object.ToInt(), TypeInt);
     }, ""},
    {"Find", NameMatch::AnyCase, [](StringObject& object, ArgumentList& arguments, FunctionInstance* caller) {
         std::string wanted = MethodText(object, arguments, 1, caller);
         auto found = wanted.empty() ? std::string::npos : object.Text().find(wanted[0]);
         arguments.SetResultInt(found == std::string::npos ? -1 : static_cast<std::int32_t>(found), TypeInt);
     }, "text"},
    {"ReverseFind", NameMatch::AnyCase, [](StringObject& object, ArgumentList& arguments, FunctionInstance* caller) {
         std::string wanted = MethodText(object, arguments, 1, caller);
         auto found = wanted.empty() ? std::string::npos : object.Text().rfind(wanted[0]);
         arguments.SetResultInt(found == std::string::npos ? -1 : static_cast<std::int32_t>(found), TypeInt);
     }, "text"},
    {"CompareNoCase", NameMatch::AnyCase, [](StringObject& object, ArgumentList& arguments, FunctionInstance* caller) {
         arguments.SetResultInt(CompareNoCase(object.Text(), MethodText(object, arguments, 1, caller)), TypeInt);
     }, "text"},
};

template <class Scalar>
Counted<ScriptObject> NewScalarInstance(const ScriptObject& original)
{
    auto instance = MakeCounted<Scalar>();
    instance->SetClassName(original.ClassName());
    instance->SetEngine(original.Engine());
    return instance;
}

}

std::vector<MethodName> StringMethodNames() { return NamesOfRows(g_stringMethods); }

std::vector<MethodName> NumberMethodNames() { return NamesOfRows(g_numberMethods); }

bool IntegerRemainder(std::int32_t left, std::int32_t right, std::int32_t& remainder)
{
    if (right == 0)
        return false;
    remainder = right == -1 ? 0 : left % right;
    return true;
}

StringObject::StringObject() : ScriptObject("string") { SetScalarType(TypeString); }

StringObject::StringObject(std::string text) : StringObject() { m_text = std::move(text); }

Counted<ScriptObject> StringObject::CreateInstance(const std::string&) { return NewScalarInstance<StringObject>(*this); }

bool StringObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller)
{
    return DispatchMethod(g_stringMethods, *this, name, arguments, caller);
}

std::int32_t StringObject::ToInt() const { return ReadDecimalInt(m_text); }

double StringObject::ToNumber() const { return ReadDecimalNumber(m_text); }

bool StringObject::IsEqual(const ScriptValue* other) const { return other && other->ToString() == m_text; }

IntObject::IntObject(std::int32_t number) : ScriptObject("int"), m_number(number) { SetScalarType(TypeInt); }

Counted<ScriptObject> IntObject::CreateInstance(const std::string&) { return NewScalarInstance<IntObject>(*this); }

bool IntObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance*)
{
    return InvokeToString(*this, name, arguments);
}

std::string IntObject::ToString() const { return FormatInt(m_number); }

// Addition wraps around at 32 bits, as the processor's does.
void IntObject::AddInt(std::int32_t number)
{
    m_number = static_cast<std::int32_t>(static_cast<std::uint32_t>(m_number) + static_cast<std::uint32_t>(number));
}

void IntObject::MultiplyBy(double factor) { m_number = TruncateToInt32(m_number * factor); }

void IntObject::DivideBy(double divisor) { m_number = TruncateToInt32(m_number / divisor); }

void IntObject::ModuloBy(std::int32_t divisor)
{
    std::int32_t remainder = 0;
    if (IntegerRemainder(m_number, divisor, remainder))
        m_number = remainder;
}

DoubleObject::DoubleObject(double number) : ScriptObject("double"), m_number(number) { SetScalarType(TypeDouble); }

Counted<ScriptObject> DoubleObject::CreateInstance(const std::string&) { return NewScalarInstance<DoubleObject>(*this); }

bool DoubleObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance*)
{
    return InvokeToString(*this, name, arguments);
}

std::string DoubleObject::ToString() const { return FormatDouble(m_number); }

std::int32_t DoubleObject::ToInt() const { return TruncateToInt32(m_number); }

void DoubleObject::ModuloBy(std::int32_t divisor)
{
    std::int32_t remainder = 0;
    if (IntegerRemainder(TruncateToInt32(m_number), divisor, remainder))
        m_number = remainder;
}

BoolObject::BoolObject(std::int32_t number) : ScriptObject("bool"), m_number(number) { SetScalarType(TypeBool); }

Counted<ScriptObject> BoolObject::CreateInstance(const std::string&) { return NewScalarInstance<BoolObject>(*this); }

bool BoolObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance*)
{
    return InvokeToString(*this, name, arguments);
}
