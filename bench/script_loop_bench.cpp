// Executed script lines per second: the comparison loop (a condition and two assignments per
// iteration), a loop that calls a script function, and one with string work.
#include "script/argument_list.h"
#include "script/script_engine.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

std::string Crlf(const std::string& text)
{
    std::string script;
    for (char character : text) {
        if (character == '\n')
            script += '\r';
        script += character;
    }
    return script;
}

struct Case {
    const char* name;
    const char* script;
};

const Case g_cases[] = {
    {"condition and two assignments",
     "Function string Main\n{\n"
     "var int i = 0\nvar double s = 0\n"
     "while i < 1000000\n{\ni = i + 1\ns = s + i\n}\n"
     "return s\n}\n"},
    {"script function call per iteration",
     "Function int Twice(int n)\n{\nreturn n * 2\n}\n"
     "Function string Main\n{\n"
     "var int i = 0\nvar int s = 0\n"
     "while i < 200000\n{\ni++\ns = Twice(i)\n}\n"
     "return s\n}\n"},
    {"string building and if/else",
     "Function string Main\n{\n"
     "var int i = 0\nvar string s = \"\"\n"
     "for (i = 0; i < 200000; i++)\n{\n"
     "if i % 1000 == 0\n  s = \"\"\nelse\n  s = s + \"x\"\n}\n"
     "return s.Left(3)\n}\n"},
};

void RunCase(const Case& testCase)
{
    ScriptEngine engine;
    if (!engine.LoadText(Crlf(testCase.script))) {
        std::printf("%-38s load failed\n", testCase.name);
        return;
    }
    ArgumentList arguments(&engine, nullptr);
    auto start = std::chrono::steady_clock::now();
    bool called = engine.CallFunction("Main", &arguments, nullptr);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double lines = static_cast<double>(engine.ExecutedLineCount());
    std::printf("%-38s %s  %10.0f lines in %.3f s  = %6.2f million lines/s  (result %s)\n", testCase.name,
                called ? "ok    " : "FAILED", lines, seconds, lines / seconds / 1e6,
                arguments.Result().ToString().c_str());
}

}

int main()
{
    for (const auto& testCase : g_cases)
        RunCase(testCase);
    return 0;
}
