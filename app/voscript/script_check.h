#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One fault that --check found: an error makes the uninstall fail or do what the author did
// not mean; a warning is something the author should look at.
struct CheckFinding {
    std::int32_t line;
    bool isError;
    std::string text;
};

// Loads the script as the uninstaller loads it and looks at every line without running one:
// load errors, calls of methods that no host object has or in the wrong case, page names,
// calls of undefined functions, labels, var lines cut at a comma inside a call, undeclared
// variables, events that are almost right or missing, and line ends. Findings in line order.
[[nodiscard]] std::vector<CheckFinding> CheckScript(const std::string& scriptText);

// "FILE:LINE: error: TEXT" or "FILE:LINE: warning: TEXT", one line each.
[[nodiscard]] std::string FormatFindings(const std::string& fileName, const std::vector<CheckFinding>& findings);
