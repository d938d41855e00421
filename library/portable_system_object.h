#pragma once

#include "script/counted.h"
#include "script/objects/method_table.h"
#include "script/script_object.h"

#include <cstddef>
#include <string>
#include <string_view>

// Every method of the "System" object, with its case rule and arguments, on every platform:
// the object dispatches from this table, and the runner lists and checks from it.
[[nodiscard]] MethodNames SystemMethodNames();

// The class of the "System" host object. It holds no state and has no class name: a name is
// matched in SystemMethodNames, and its handler is looked up in the handlers the object was
// made with: the whole function library in the Windows build, the methods that need no system
// in the portable one.
class SystemObject final : public ScriptObject {
public:
    using Handler = MethodHandler<SystemObject>;

    template<std::size_t Count>
    explicit SystemObject(const Handler (&handlers)[Count]) : m_handlers(handlers), m_handlerCount(Count)
    {
    }

    // False for a name the table lacks, and for one that no handler serves here.
    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override;

private:
    const Handler* m_handlers;
    std::size_t m_handlerCount;
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
