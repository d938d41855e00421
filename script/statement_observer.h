#pragma once

#include <string>

class ArgumentList;
class FunctionInstance;
struct BodyLine;

// Told of every statement as it runs and of every call of a host object or a built-in
// command, for a host that traces a script. An engine without an observer pays one test of a
// null pointer per line and per host call.
class StatementObserver {
public:
    virtual ~StatementObserver() = default;

    virtual void BeforeLine(FunctionInstance& instance, const BodyLine& line) = 0;
    // The line ran, or failed (the engine's error flag then tells).
    virtual void AfterLine(FunctionInstance& instance, const BodyLine& line) = 0;
    // called is false when the object or command did not take the call.
    virtual void AfterHostCall(const std::string& name, const ArgumentList& arguments, bool called) = 0;
};
