#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The type tag of a value. Any 32-bit number can appear (an argument item "77|x" carries 77),
// so the tag is an integer with names for the codes the engine gives a meaning.
using TypeCode = std::int32_t;

enum : TypeCode {
    TypeUnknown = -1,        // a type name that is not in the table
    TypeNone = 0,            // a new value: takes the type of the first value kept-type assigned
    TypeText = 1,            // untyped: the value is the text itself
    TypeString = 2,
    TypeInt = 3,
    TypeDouble = 4,
    TypeBool = 5,
    TypeObject = 50,         // "IVosObject"
    TypeVoid = 51,
    TypeList = 101,          // the text holds a list text of values
    TypeWord = 102,          // a token that is not a value
    TypeVariableReference = 103, // the text is the name of a variable
};

// "string", "int", "bool", "double", "IVosObject", "void" (any case); -1 for any other name.
[[nodiscard]] TypeCode TypeCodeFromName(std::string_view name);
// The reverse; the empty text for a code without a name.
[[nodiscard]] std::string TypeNameFromCode(TypeCode type);

[[nodiscard]] inline bool IsNumeric(TypeCode type)
{
    return type == TypeText || type == TypeInt || type == TypeDouble || type == TypeBool;
}

