#pragma once

#include "script/counted.h"
#include "script/script_object.h"
#include "script/type_code.h"

#include <cstdint>
#include <string>
#include <string_view>

// Everything a script computes, passes or stores. A value is plain text, one of the four typed
// scalars (held by an object of the scalar class of its type) or a reference to any object.
//
// A typed value always holds its scalar object alone: assignments copy the number into an
// object of the value's own, so two variables never share an int, double, bool or string.
// Objects of any other type are shared by every value that holds them.
class ScriptValue {
public:
    ScriptValue() = default;
    explicit ScriptValue(TypeCode type) : m_type(type) {}
    ScriptValue(ScriptValue&&) noexcept = default;
    ScriptValue& operator=(ScriptValue&&) noexcept = default;
    ScriptValue(const ScriptValue&) = delete;
    ScriptValue& operator=(const ScriptValue&) = delete;

    // A value of the given type made from text, as SetTyped makes it.
    [[nodiscard]] static ScriptValue FromText(std::string_view text, TypeCode type);
    [[nodiscard]] static ScriptValue FromInt(std::int32_t number, TypeCode type = TypeInt);
    [[nodiscard]] static ScriptValue FromDouble(double number);
    [[nodiscard]] static ScriptValue CopyOf(const ScriptValue& other);

    [[nodiscard]] TypeCode Type() const { return m_type; }
    [[nodiscard]] const std::string& Text() const { return m_text; }
    [[nodiscard]] ScriptObject* Object() const { return m_object.Get(); }
    void SetType(TypeCode type) { m_type = type; }
    void SetObject(Counted<ScriptObject> object) { m_object = std::move(object); }
    void ReleaseObject() { m_object.Reset(); }

    // The held object's conversion when there is an object, else the text field read.
    [[nodiscard]] std::string ToString() const;
    [[nodiscard]] std::int32_t ToInt() const;
    [[nodiscard]] double ToNumber() const;

    // Stores text; a new value becomes text (1), then the text is typed by the current type.
    void SetText(std::string_view text);
    // Sets the type and makes a new object for a scalar type from the text.
    void SetTyped(std::string_view text, TypeCode type);
    // Stores a number by the type (-1 keeps the current type), reusing the object it holds.
    void SetInt(std::int32_t number, TypeCode type = TypeUnknown);
    void SetDouble(double number);
    // Makes the value a new double (type 4, no text) holding the number; the double object it
    // holds alone is reused.
    void MakeDouble(double number);

    // Takes other's type and text, and its contents converted into that type.
    void Assign(const ScriptValue& other);
    // Takes other's text and contents converted into the own type (other's type when new).
    void AssignKeepType(const ScriptValue& other);
    // Drops the object and the text; the value is new again.
    void Clear();

    // Decided by the own type only; untyped and object values are never equal to anything.
    [[nodiscard]] bool Equals(const ScriptValue& other) const;

    // False, and the value unchanged, when a string would grow beyond MaximumTextLength.
    [[nodiscard]] bool Add(const ScriptValue& other);
    void AddInt(std::int32_t number);
    void MultiplyBy(double factor);
    void DivideBy(double divisor);
    void ModuloBy(std::int32_t divisor);

private:
    void StoreConverted(const ScriptValue& other);
    // The value's own scalar object of its type: the one it holds when that is of the right
    // class and held by this value alone, else a new one that starts from the current number.
    ScriptObject& OwnScalar();

    TypeCode m_type = TypeNone;
    std::string m_text;
    Counted<ScriptObject> m_object;
};
