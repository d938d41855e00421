#include "script/operator_table.h"

#include "script/script_text.h"

namespace {

using Class = OperatorClass;
using Kind = OperatorKind;

// Every operator with its class and precedence. "^" is an exclusive or of the truncated values
// and binds like "&" and "|"; the two-operand "-" is listed before the one-operand one, which
// the loop chooses when no operand stands to its left.
constexpr OperatorEntry g_operators[] = {
    {"*", Kind::Multiply, Class::Arithmetic, TightPrecedence},
    {"/", Kind::Divide, Class::Arithmetic, TightPrecedence},
    {"%", Kind::Modulo, Class::Arithmetic, TightPrecedence},
    {"*=", Kind::MultiplyAssign, Class::Arithmetic, TightPrecedence},
    {"/=", Kind::DivideAssign, Class::Arithmetic, TightPrecedence},
    {"+=", Kind::AddAssign, Class::Arithmetic, TightPrecedence},
    {"-=", Kind::SubtractAssign, Class::Arithmetic, TightPrecedence},
    {"%=", Kind::ModuloAssign, Class::Arithmetic, TightPrecedence},
    {"+", Kind::Add, Class::Arithmetic, AdditivePrecedence},
    {"-", Kind::Subtract, Class::Arithmetic, AdditivePrecedence},
    {"^", Kind::Xor, Class::Arithmetic, TightPrecedence},
    {"-", Kind::Negate, Class::Unary, TightPrecedence},
    {"!", Kind::Not, Class::Unary, TightPrecedence},
    {"~", Kind::Complement, Class::Unary, TightPrecedence},
    {"int", Kind::BuiltInInt, Class::BuiltInCall, CallPrecedence},
    {"(", Kind::Open, Class::Grouping, GroupingPrecedence},
    {")", Kind::Close, Class::Grouping, GroupingPrecedence},
    {",", Kind::Comma, Class::Grouping, GroupingPrecedence},
    {"&", Kind::BitAnd, Class::Bitwise, TightPrecedence},
    {"|", Kind::BitOr, Class::Bitwise, TightPrecedence},
    {"==", Kind::Equal, Class::Relational, ComparisonPrecedence},
    {">=", Kind::GreaterEqual, Class::Relational, ComparisonPrecedence},
    {"<=", Kind::LessEqual, Class::Relational, ComparisonPrecedence},
    {">", Kind::Greater, Class::Relational, ComparisonPrecedence},
    {"<", Kind::Less, Class::Relational, ComparisonPrecedence},
    {"!=", Kind::NotEqual, Class::Relational, ComparisonPrecedence},
    {"<>", Kind::NotEqual, Class::Relational, ComparisonPrecedence},
    {"AND", Kind::And, Class::Relational, LogicalPrecedence},
    {"OR", Kind::Or, Class::Relational, LogicalPrecedence},
    {"&&", Kind::And, Class::Relational, LogicalPrecedence},
    {"||", Kind::Or, Class::Relational, LogicalPrecedence},
    {"=", Kind::Assign, Class::Relational, AssignmentPrecedence},
    {"", Kind::HostCall, Class::HostCall, CallPrecedence},
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
