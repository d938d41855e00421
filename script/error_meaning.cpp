#include "script/error_meaning.h"

#include "script/script_engine.h"

namespace {

struct ErrorMeaningRow {
    ScriptErrorCode code;
    const char* meaning;
};

// A failed built-in command, or a call of a name that is neither a function nor a command,
// sets no code of its own: it keeps 0 when nothing was recorded before.
constexpr ErrorMeaningRow kErrorMeanings[] = {
    {ErrorNone, "a command or a call failed"},
    {ErrorWhileWithoutCondition, "while without a condition"},
    {ErrorPlainStatement, "a statement failed: an assignment, Set or a var initialiser"},
    {ErrorDoWithoutCondition, "do without a While condition"},
    {ErrorSwitch, "switch without a selector, or case outside a switch"},
    {ErrorFor, "a for that cannot be built"},
    {ErrorBreakOutsideBlock, "break outside a loop or switch"},
    {ErrorMemberCall, "no such method, or a name in the wrong case"},
    {ErrorReturnValue, "the value of return cannot be evaluated"},
    {ErrorFunctionHeader, "a bad Section or Function header"},
    {ErrorNoSuchFunction, "no such function"},
    {ErrorNotAnObject, "no object: Nothing to a variable without one, or CreateVosObject made none"},
    {ErrorNotAVariable, "assignment to a name that is not a variable"},
    {ErrorDeclaredType, "a type that is no class, or an object into a variable that is no object"},
    {ErrorUnmatchedBrace, "a } with no open block"},
    {ErrorVarWithoutName, "var without a name"},
    {ErrorCallsTooDeep, "calls nested too deep"},
    {ErrorLineBudgetSpent, "the budget of executed lines ran out"},
};

}

const char* ErrorCodeMeaning(std::int32_t code)
{
    for (const ErrorMeaningRow& row : kErrorMeanings) {
        if (row.code == code)
            return row.meaning;
    }
    return "unknown error code";
}
