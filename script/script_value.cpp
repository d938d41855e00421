#include "script/script_value.h"

#include "script/objects/scalar_objects.h"
#include "script/script_text.h"

#include <algorithm>

namespace {

Counted<ScriptObject> NewScalar(TypeCode type)
{
    switch (type) {
    case TypeString: return MakeCounted<StringObject>();
    case TypeInt: return MakeCounted<IntObject>();
    case TypeDouble: return MakeCounted<DoubleObject>();
    default: return MakeCounted<BoolObject>();
    }
}

}

ScriptValue ScriptValue::FromText(std::string_view text, TypeCode type)
{
    ScriptValue value;
    value.SetTyped(text, type);
    return value;
}

ScriptValue ScriptValue::FromInt(std::int32_t number, TypeCode type)
{
    ScriptValue value(type);
    value.SetInt(number);
    return value;
}

ScriptValue ScriptValue::FromDouble(double number)
{
    ScriptValue value;
    value.m_type = TypeDouble;
    value.m_object = MakeCounted<DoubleObject>(number);
    return value;
}

ScriptValue ScriptValue::CopyOf(const ScriptValue& other)
{
    ScriptValue value;
    value.Assign(other);
    return value;
}

std::string ScriptValue::ToString() const
{
    return m_object ? m_object->ToString() : m_text;
}

std::int32_t ScriptValue::ToInt() const
{
    if (!m_object)
        return ReadDecimalInt(m_text);
    switch (m_object->ScalarType()) {
    case TypeInt: return static_cast<const IntObject&>(*m_object).Number();
    case TypeBool: return static_cast<const BoolObject&>(*m_object).Number();
    default: return m_object->ToInt();
    }
}

double ScriptValue::ToNumber() const
{
    if (!m_object)
        return ReadDecimalNumber(m_text);
    switch (m_object->ScalarType()) {
    case TypeInt: return static_cast<const IntObject&>(*m_object).Number();
    case TypeDouble: return static_cast<const DoubleObject&>(*m_object).Number();
    default: return m_object->ToNumber();
    }
}

void ScriptValue::SetText(std::string_view text)
{
    m_text.assign(text.data(), text.size());
    if (m_type == TypeNone)
        m_type = TypeText;
    // Typed from the stored copy: the text given may be a part of the old text field.
    SetTyped(m_text, m_type);
}

void ScriptValue::SetTyped(std::string_view text, TypeCode type)
{
    m_type = type;
    switch (type) {
    case TypeInt: m_object = MakeCounted<IntObject>(ReadDecimalInt(text)); break;
    case TypeDouble: m_object = MakeCounted<DoubleObject>(ReadDecimalNumber(text)); break;
    case TypeString: m_object = MakeCounted<StringObject>(std::string(text)); break;
    case TypeBool: m_object = MakeCounted<BoolObject>(ReadDecimalInt(text)); break;
    default:
        if (text.data() != m_text.data())
            m_text.assign(text.data(), text.size());
        m_object.Reset();
        break;
    }
}

void ScriptValue::SetInt(std::int32_t number, TypeCode type)
{
    if (type != TypeUnknown)
        m_type = type;
    switch (m_type) {
    case TypeInt: static_cast<IntObject&>(OwnScalar()).Set(number); break;
    case TypeDouble: static_cast<DoubleObject&>(OwnScalar()).Set(number); break;
    case TypeBool: static_cast<BoolObject&>(OwnScalar()).Set(number); break;
    case TypeString: static_cast<StringObject&>(OwnScalar()).Set(FormatInt(number)); break;
    default: m_text = FormatInt(number); break;
    }
}

void ScriptValue::SetDouble(double number)
{
    switch (m_type) {
    case TypeInt: static_cast<IntObject&>(OwnScalar()).Set(TruncateToInt32(number)); break;
    case TypeDouble: static_cast<DoubleObject&>(OwnScalar()).Set(number); break;
    case TypeBool: static_cast<BoolObject&>(OwnScalar()).Set(TruncateToInt32(number)); break;
    case TypeString: static_cast<StringObject&>(OwnScalar()).Set(FormatDouble(number)); break;
    default: m_text = FormatDouble(number); break;
    }
}

void ScriptValue::MakeDouble(double number)
{
    m_type = TypeDouble;
    m_text.clear();
    if (m_object && m_object->ScalarType() == TypeDouble && m_object->ReferenceCount() == 1)
        static_cast<DoubleObject&>(*m_object).Set(number);
    else
        m_object = MakeCounted<DoubleObject>(number);
}

void ScriptValue::Assign(const ScriptValue& other)
{
    if (this == &other)
        return;
    m_type = other.m_type;
    m_text = other.m_text;
    StoreConverted(other);
}

void ScriptValue::AssignKeepType(const ScriptValue& other)
{
    if (this == &other)
        return;
    m_text = other.m_text;
    if (m_type == TypeNone)
        m_type = other.m_type;
    StoreConverted(other);
}

// The contents of other in the own type: the number or text for a typed scalar, the shared
// object for every other type. The conversion is read before the own object can change, since
// other may hold that very object.
void ScriptValue::StoreConverted(const ScriptValue& other)
{
    switch (m_type) {
    case TypeString: {
        auto text = other.ToString();
        static_cast<StringObject&>(OwnScalar()).Set(std::move(text));
        break;
    }
    case TypeInt: {
        auto number = other.ToInt();
        static_cast<IntObject&>(OwnScalar()).Set(number);
        break;
    }
    case TypeBool: {
        auto number = other.ToInt();
        static_cast<BoolObject&>(OwnScalar()).Set(number);
        break;
    }
    case TypeDouble: {
        auto number = other.ToNumber();
        static_cast<DoubleObject&>(OwnScalar()).Set(number);
        break;
    }
    default:
        m_object = other.m_object;
        break;
    }
}

void ScriptValue::Clear()
{
    m_type = TypeNone;
    m_text.clear();
    m_object.Reset();
}

bool ScriptValue::Equals(const ScriptValue& other) const
{
    switch (m_type) {
    case TypeInt:
    case TypeBool: return ToInt() == other.ToInt();
    case TypeDouble: return ToNumber() == other.ToNumber();
    case TypeString: return ToString() == other.ToString();
    default: return false;
    }
}

bool ScriptValue::Add(const ScriptValue& other)
{
    switch (m_type) {
    case TypeString: {
        auto text = other.ToString();
        auto& string = static_cast<StringObject&>(OwnScalar());
        if (text.size() > MaximumTextLength - std::min(MaximumTextLength, string.Text().size()))
            return false;
        string.Append(text);
        break;
    }
    case TypeInt: {
        auto number = other.ToInt();
        static_cast<IntObject&>(OwnScalar()).AddInt(number);
        break;
    }
    case TypeDouble: {
        auto number = other.ToNumber();
        static_cast<DoubleObject&>(OwnScalar()).AddNumber(number);
        break;
    }
    default: break;
    }
    return true;
}

void ScriptValue::AddInt(std::int32_t number)
{
    if (m_type == TypeInt)
        static_cast<IntObject&>(OwnScalar()).AddInt(number);
    else if (m_type == TypeDouble)
        static_cast<DoubleObject&>(OwnScalar()).AddNumber(number);
}

void ScriptValue::MultiplyBy(double factor)
{
    if (m_type == TypeInt)
        static_cast<IntObject&>(OwnScalar()).MultiplyBy(factor);
    else if (m_type == TypeDouble)
        static_cast<DoubleObject&>(OwnScalar()).MultiplyBy(factor);
}

void ScriptValue::DivideBy(double divisor)
{
    if (m_type == TypeInt)
        static_cast<IntObject&>(OwnScalar()).DivideBy(divisor);
    else if (m_type == TypeDouble)
        static_cast<DoubleObject&>(OwnScalar()).DivideBy(divisor);
}

void ScriptValue::ModuloBy(std::int32_t divisor)
{
    if (m_type == TypeInt)
        static_cast<IntObject&>(OwnScalar()).ModuloBy(divisor);
    else if (m_type == TypeDouble)
        static_cast<DoubleObject&>(OwnScalar()).ModuloBy(divisor);
}

ScriptObject& ScriptValue::OwnScalar()
{
    if (m_object && m_object->ScalarType() == m_type && m_object->ReferenceCount() == 1)
        return *m_object;
    // A missing object, one of another class, or one shared with another holder: the value
    // takes a new object of its own that starts from the number it reads as now.
    Counted<ScriptObject> scalar = NewScalar(m_type);
    switch (m_type) {
    case TypeString: static_cast<StringObject&>(*scalar).Set(ToString()); break;
    case TypeInt: static_cast<IntObject&>(*scalar).Set(ToInt()); break;
    case TypeDouble: static_cast<DoubleObject&>(*scalar).Set(ToNumber()); break;
    default: static_cast<BoolObject&>(*scalar).Set(ToInt()); break;
    }
    m_object = std::move(scalar);
    return *m_object;
}
