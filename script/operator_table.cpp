#include "script/operator_table.h"

#include "script/script_text.h"

namespace {

using Class = OperatorClass;
using Kind = OperatorKind;

// Every operator with its class and precedence. "^" is an exclusive or of the truncated values
// and binds like "&" and "|"; the two-operand "-" is listed before the one-operand one, which
// the loop chooses when no operand stands to its left.
constexpr OperatorEntry g_operators[] = {
    {"*", Kind::Multiply, Class::Arithmetic, 1},
    {"/", Kind::Divide, Class::Arithmetic, 1},
    {"%", Kind::Modulo, Class::Arithmetic, 1},
    {"*=", Kind::MultiplyAssign, Class::Arithmetic, 1},
    {"/=", Kind::DivideAssign, Class::Arithmetic, 1},
    {"+=", Kind::AddAssign, Class::Arithmetic, 1},
    {"-=", Kind::SubtractAssign, Class::Arithmetic, 1},
    {"%=", Kind::ModuloAssign, Class::Arithmetic, 1},
    {"+", Kind::Add, Class::Arithmetic, 2},
    {"-", Kind::Subtract, Class::Arithmetic, 2},
    {"^", Kind::Xor, Class::Arithmetic, 1},
    {"-", Kind::Negate, Class::Unary, 1},
    {"!", Kind::Not, Class::Unary, 1},
    {"~", Kind::Complement, Class::Unary, 1},
    {"int", Kind::BuiltInInt, Class::BuiltInCall, 10000},
    {"(", Kind::Open, Class::Grouping, 6},
    {")", Kind::Close, Class::Grouping, 6},
    {",", Kind::Comma, Class::Grouping, 6},
    {"&", Kind::BitAnd, Class::Bitwise, 1},
    {"|", Kind::BitOr, Class::Bitwise, 1},
    {"==", Kind::Equal, Class::Relational, 3},
    {">=", Kind::GreaterEqual, Class::Relational, 3},
    {"<=", Kind::LessEqual, Class::Relational, 3},
    {">", Kind::Greater, Class::Relational, 3},
    {"<", Kind::Less, Class::Relational, 3},
    {"!=", Kind::NotEqual, Class::Relational, 3},
    {"<>", Kind::NotEqual, Class::Relational, 3},
    {"AND", Kind::And, Class::Relational, 4},
    {"OR", Kind::Or, Class::Relational, 4},
    {"&&", Kind::And, Class::Relational, 4},
    {"||", Kind::Or, Class::Relational, 4},
    {"=", Kind::Assign, Class::Relational, 5},
    {"", Kind::HostCall, Class::HostCall, 10000},
};

}

const OperatorEntry* FindOperator(std::string_view text)
{
    if (text.empty())
        return nullptr;
    for (const auto& entry : g_operators) {
        if (entry.kind == Kind::BuiltInInt)
            continue; // a function name, which a variable of that name hides
        if (SameName(entry.text, text))
            return &entry;
    }
    return nullptr;
}

const OperatorEntry& OperatorOf(OperatorKind kind)
{
    for (const auto& entry : g_operators) {
        if (entry.kind == kind)
            return entry;
    }
    return g_operators[0];
}

bool IsBuiltInFunction(std::string_view name) { return SameName(name, "int"); }
