#pragma once

#include "script/statement_observer.h"

#include <cstdio>
#include <string>

// The trace of a checking run (voscript --trace): each statement as it runs, with its line
// number, the value each assignment stored, and each call of a host object or a built-in
// command with its arguments and result:
//   4: var int page = Uninstall.DoDialog("SdUninstallProcess")
//     Uninstall.DoDialog("SdUninstallProcess") = 0
//     page = 0
// A line break inside a text is written as \n. Each line goes to the stream at once when one
// is given (so that a script that never ends still shows where it runs), else to output.
class ScriptTrace final : public StatementObserver {
public:
    explicit ScriptTrace(std::string& output, std::FILE* stream = nullptr) : m_output(output), m_stream(stream) {}

    void BeforeLine(FunctionInstance& instance, const BodyLine& line) override;
    void AfterLine(FunctionInstance& instance, const BodyLine& line) override;
    void AfterHostCall(const std::string& name, const ArgumentList& arguments, bool called) override;

private:
    void Write(const std::string& line);

    std::string& m_output;
    std::FILE* m_stream;
};
