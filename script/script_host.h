#pragma once

#include "script/counted.h"
#include "script/script_object.h"

#include <cstdint>
#include <string>
#include <vector>

// One argument handed to a VBScript function: a string, or a 32-bit integer.
struct VbsArgument {
    bool isString = false;
    std::string text;
    std::int32_t number = 0;
};

// What the engine needs from the system it runs on. The Windows build shows real message boxes
// and runs VBScript through the Windows Script host; tests and the command-line runner record.
class ScriptHost {
public:
    virtual ~ScriptHost() = default;

    // A message box without owner; returns the button pressed (1 is OK).
    [[nodiscard]] virtual int ShowMessageBox(const std::string& caption, const std::string& text, int style) = 0;

    // Runs a function of the given VBScript code. result receives the function's result text,
    // errorTexts every error text the script host reported (the engine shows them). False
    // when the call could not be made at all.
    [[nodiscard]] virtual bool CallVBSFunction(const std::string& code, const std::string& functionName,
                                               const std::vector<VbsArgument>& arguments, std::string& result,
                                               std::vector<std::string>& errorTexts) = 0;

    // Whether the Windows Script engines that scripts start may show their own dialogs.
    [[nodiscard]] virtual bool AllowsScriptDialogs() const { return true; }

    // Reads a whole file as bytes; false when it cannot be opened. Used by "#include".
    [[nodiscard]] virtual bool ReadFile(const std::string& path, std::string& contents);

    // The class object of a system class ("CRegKey", "CWSModule", "CDllModule") that the
    // engine registers at construction; none when this host has no such class.
    [[nodiscard]] virtual Counted<ScriptObject> CreateSystemClass(const std::string& className);
};

// A host for engines that are given none: message boxes answer OK unseen, and there is no
// VBScript.
class SilentScriptHost final : public ScriptHost {
public:
    [[nodiscard]] int ShowMessageBox(const std::string& caption, const std::string& text, int style) override;
    [[nodiscard]] bool CallVBSFunction(const std::string& code, const std::string& functionName,
                                       const std::vector<VbsArgument>& arguments, std::string& result,
                                       std::vector<std::string>& errorTexts) override;
};
