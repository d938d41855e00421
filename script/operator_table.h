#pragma once

#include <cstdint>
#include <string_view>

// What an operator does when it is applied.
enum class OperatorKind : std::uint8_t {
    Multiply, Divide, Modulo, Add, Subtract, Xor,
    Negate, Not, Complement,
    BuiltInInt,
    Open, Close, Comma,
    BitAnd, BitOr,
    Equal, NotEqual, GreaterEqual, Greater, LessEqual, Less, And, Or,
    Assign, MultiplyAssign, DivideAssign, AddAssign, SubtractAssign, ModuloAssign,
    HostCall,
};

// How the evaluation loop treats an operator on its stack.
enum class OperatorClass : std::uint8_t {
    Arithmetic = 1,
    Unary = 2,
    BuiltInCall = 3,
    Grouping = 4,
    Bitwise = 5,
    Relational = 6,
    HostCall = 7,
};

struct OperatorEntry {
    std::string_view text;
    OperatorKind kind;
    OperatorClass operatorClass;
    int precedence; // lower binds tighter
};

// Operators on the stack at or below this precedence are applied at ")", at "," and at the end
// of the text: the precedence of the grouping class.
inline constexpr int FlushLevel = 6;

// The operator a token stands for: the two-operand "-" for "-", and "AND"/"OR" in any case.
// Null for a word that is no operator (it is then a call).
[[nodiscard]] const OperatorEntry* FindOperator(std::string_view text);
[[nodiscard]] const OperatorEntry& OperatorOf(OperatorKind kind);
[[nodiscard]] bool IsBuiltInFunction(std::string_view name);
