#pragma once

#include "script/script_text.h"

#include <cstddef>
#include <string>
#include <string_view>

class ArgumentList;
class FunctionInstance;

// How a script's method name is compared with a row's name. Most host methods ignore case;
// a few were always matched exactly, and scripts rely on a wrongly cased call not being handled.
enum class NameMatch { AnyCase, ExactCase };

// One method of a host object's class: the name scripts call, how that name is compared, and
// the handler. A class keeps its rows in one static table, in the order a reader checks them.
template<typename Object>
struct MethodRow {
    const char* name;
    NameMatch match;
    void (*handler)(Object& object, ArgumentList& arguments, FunctionInstance* caller);
};

[[nodiscard]] inline bool MethodNameMatches(std::string_view rowName, NameMatch match, std::string_view called)
{
    return match == NameMatch::ExactCase ? rowName == called : SameName(rowName, called);
}

// The first row whose name matches, or null; the caller reports an unknown method.
template<typename Object, std::size_t Count>
[[nodiscard]] const MethodRow<Object>* FindMethodRow(const MethodRow<Object> (&table)[Count], std::string_view called)
{
    for (const MethodRow<Object>& row : table) {
        if (MethodNameMatches(row.name, row.match, called))
            return &row;
    }
    return nullptr;
}

// Runs the matching row's handler; false when the table has no such method.
template<typename Object, std::size_t Count>
bool DispatchMethod(const MethodRow<Object> (&table)[Count], Object& object, std::string_view called,
                    ArgumentList& arguments, FunctionInstance* caller)
{
    const MethodRow<Object>* row = FindMethodRow(table, called);
    if (!row)
        return false;
    row->handler(object, arguments, caller);
    return true;
}
