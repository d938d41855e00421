#pragma once

#include "script/counted.h"
#include "script/objects/method_table.h"
#include "script/script_object.h"

#include <cstddef>
#include <string>
#include <string_view>

// The class of the "System" host object. It holds no state and has no class name: what it
// knows is its table of methods, which the Windows build fills with the whole function
// library and the portable build with the methods that need no system.
class SystemObject final : public ScriptObject {
public:
    using Row = MethodRow<SystemObject>;

    template<std::size_t Count>
    explicit SystemObject(const Row (&rows)[Count]) : m_rows(rows), m_rowCount(Count)
    {
    }

    // The first row whose name matches, in table order; false for a name the table lacks.
    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override;

private:
    const Row* m_rows;
    std::size_t m_rowCount;
};

// "EnVOEStr" (text, key) and "DeVOEStr" (text, key): the scrambled text, or the text that was
// scrambled, as a string result.
void ScrambleTextMethod(SystemObject& system, ArgumentList& arguments, FunctionInstance* caller);
void UnscrambleTextMethod(SystemObject& system, ArgumentList& arguments, FunctionInstance* caller);

// A "System" object with only the methods that need no system, for hosts that run scripts
// away from Windows (the command-line runner on Linux).
[[nodiscard]] Counted<ScriptObject> MakePortableSystemObject();

// Whether the whole function library of the Windows "System" object has a method of this name,
// compared as that object compares it: a host without the library tells a method it lacks
// from a misspelled name by it.
[[nodiscard]] bool IsSystemLibraryMethod(std::string_view called);
