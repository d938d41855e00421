// voscript SCRIPT-FILE FUNCTION [ARG...]
//
// Loads a VoScript file as the uninstaller loads its script (the bytes as they are, no
// scrambling, no script folder), calls FUNCTION as the host calls an event function, with
// each ARG as one text argument, and prints what happened, one line each:
//   MessageBox: CAPTION: TEXT      for every message box (the box answers OK)
//   result: TEXT                   the function's result when the call succeeded
//   error: code=C line=L word=W    the engine's error when loading or the call failed
// Line breaks inside a printed text are written as \n. Exit status: 0 success, 1 a load or
// script error, 2 a usage error or an unreadable file.
#include "script/argument_list.h"
#include "script/script_engine.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

enum ExitStatus { ExitSuccess = 0, ExitScriptError = 1, ExitUsage = 2 };

// One printed line per event: a line break inside a text (CR LF, LF or CR) becomes \n.
std::string OneLine(const std::string& text)
{
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (text[i] == '\r' || text[i] == '\n')
            line += "\\n";
        else
            line += text[i];
    }
    return line;
}

void PrintLine(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

class ConsoleHost final : public ScriptHost {
public:
    [[nodiscard]] int ShowMessageBox(const std::string& caption, const std::string& text, int) override
    {
        PrintLine("MessageBox: " + OneLine(caption) + ": " + OneLine(text));
        return 1;
    }

    // The runner hosts no VBScript engine; a script that calls into VBScript fails there.
    [[nodiscard]] bool CallVBSFunction(const std::string&, const std::string&, const std::vector<VbsArgument>&,
                                       std::string& result, std::vector<std::string>&) override
    {
        result.clear();
        return false;
    }
};

int ReportError(const ScriptEngine& engine)
{
    const ScriptError& error = engine.Error();
    PrintLine("error: code=" + std::to_string(error.code) + " line=" + std::to_string(error.line)
              + " word=" + OneLine(error.word));
    return ExitScriptError;
}

}

int main(int argumentCount, char** arguments)
{
#ifdef _WIN32
    // The same bytes on every platform: no carriage returns are added to the lines.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argumentCount < 3) {
        std::fputs("usage: voscript SCRIPT-FILE FUNCTION [ARG...]\n", stderr);
        return ExitUsage;
    }
    std::ifstream file(arguments[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "voscript: cannot read %s\n", arguments[1]);
        return ExitUsage;
    }
    std::string script((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        std::fprintf(stderr, "voscript: cannot read %s\n", arguments[1]);
        return ExitUsage;
    }

    ConsoleHost host;
    ScriptEngine engine(&host);
    if (!engine.LoadText(script))
        return ReportError(engine);
    ArgumentList callArguments(&engine, nullptr);
    for (int index = 3; index < argumentCount; ++index) {
        auto argument = MakeCounted<ScriptVariable>();
        argument->Value().SetText(arguments[index]);
        callArguments.AppendVariable(std::move(argument));
    }
    if (!engine.CallFunction(arguments[2], &callArguments, nullptr))
        return ReportError(engine);
    PrintLine("result: " + OneLine(callArguments.Result().ToString()));
    std::fflush(stdout);
    return ExitSuccess;
}
