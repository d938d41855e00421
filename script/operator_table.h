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

// Precedence levels; a lower level binds tighter.
// Tight operators apply as soon as their right operand exists, strictly from the left.
inline constexpr int TightPrecedence = 1;
// "+" and the two-operand "-".
inline constexpr int AdditivePrecedence = 2;
inline constexpr int ComparisonPrecedence = 3;
// "AND", "OR", "&&", "||".
inline constexpr int LogicalPrecedence = 4;
// "=", which is recognised and never applied.
inline constexpr int AssignmentPrecedence = 5;
// "(" and ",".
inline constexpr int GroupingPrecedence = 6;
// Calls are above every level that a reduction reaches: only their ")" applies them.
inline constexpr int CallPrecedence = 10000;

struct OperatorEntry {
    std::string_view text;
    OperatorKind kind;
    OperatorClass operatorClass;
    int precedence;
};

// Operators on the stack at or below this precedence are applied at ")", at "," and at the end
// of the text: the precedence of the grouping class.
inline constexpr int FlushLevel = GroupingPrecedence;

// The operator a token stands for: the two-operand "-" for "-", and "AND"/"OR" in any case.
// Null for a word that is no operator (it is then a call).
[[nodiscard]] const OperatorEntry* FindOperator(std::string_view text);
[[nodiscard]] const OperatorEntry& OperatorOf(OperatorKind kind);
[[nodiscard]] bool IsBuiltInFunction(std::string_view name);
