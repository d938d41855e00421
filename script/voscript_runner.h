#pragma once

#include <string>
#include <vector>

// The checking run of the command-line runner: loads the script text, calls the function with
// the texts as unnamed text arguments, and writes to output one line per message box
// ("MessageBox: CAPTION: TEXT"), then "result: TEXT" or "error: code=C line=L word=W". Line
// breaks inside a text are written as \n. Returns 0 on success, 1 on a load or script error.
[[nodiscard]] int RunVoScript(const std::string& scriptText, const std::string& functionName,
                              const std::vector<std::string>& arguments, std::string& output);
