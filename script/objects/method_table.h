#pragma once

#include "script/script_text.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class ArgumentList;
class FunctionInstance;

// How a script's method name is compared with a row's name. Most host methods ignore case;
// a few were always matched exactly, and scripts rely on a wrongly cased call not being handled.
enum class NameMatch { AnyCase, ExactCase };

// What a script author needs of one method: the name a script calls, how that name is
// compared, and the arguments as a call writes them ("key, default"; brackets mark an argument
// that may be left out). The runner's --list and --check read the same rows the objects
// dispatch from.
struct MethodName {
    const char* name;
    NameMatch match;
    const char* arguments;
};

// One method of a host object's class: the name scripts call, how that name is compared, the
// handler and the arguments. A class keeps its rows in one static table, in the order a reader
// checks them.
template<typename Object>
struct MethodRow {
    const char* name;
    NameMatch match;
    void (*handler)(Object& object, ArgumentList& arguments, FunctionInstance* caller);
    const char* arguments;
};

// The handler of a method whose name, case rule and arguments are kept in a table of
// MethodName rows apart from it: the names are portable, so that scripts can be checked away
// from the system, while the handlers need the system.
template<typename Object>
struct MethodHandler {
    const char* name;
    void (*handler)(Object& object, ArgumentList& arguments, FunctionInstance* caller);
};

// A table of method names, as the object's class gives it.
struct MethodNames {
    const MethodName* rows = nullptr;
    std::size_t count = 0;

    template<std::size_t Count>
    static MethodNames Of(const MethodName (&table)[Count]) { return {table, Count}; }
    [[nodiscard]] const MethodName* begin() const { return rows; }
    [[nodiscard]] const MethodName* end() const { return rows + count; }
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

[[nodiscard]] inline const MethodName* FindMethodName(MethodNames names, std::string_view called)
{
    for (const MethodName& row : names) {
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

// The name is matched in the name table by its row's case rule; the handler of the row's name
// then runs. False when the name table has no such method or no handler serves it here.
template<typename Object>
bool DispatchNamedMethod(MethodNames names, const MethodHandler<Object>* handlers, std::size_t handlerCount,
                         Object& object, std::string_view called, ArgumentList& arguments, FunctionInstance* caller)
{
    const MethodName* row = FindMethodName(names, called);
    if (!row)
        return false;
    for (std::size_t index = 0; index < handlerCount; ++index) {
        if (std::string_view(handlers[index].name) == row->name) {
            handlers[index].handler(object, arguments, caller);
            return true;
        }
    }
    return false;
}

template<typename Object, std::size_t Count>
bool DispatchNamedMethod(MethodNames names, const MethodHandler<Object> (&handlers)[Count], Object& object,
                         std::string_view called, ArgumentList& arguments, FunctionInstance* caller)
{
    return DispatchNamedMethod(names, handlers, Count, object, called, arguments, caller);
}

// The names of a table of rows with their handlers, for a reader of the table.
template<typename Object, std::size_t Count>
[[nodiscard]] std::vector<MethodName> NamesOfRows(const MethodRow<Object> (&table)[Count])
{
    std::vector<MethodName> names;
    for (const MethodRow<Object>& row : table)
        names.push_back({row.name, row.match, row.arguments});
    return names;
}
