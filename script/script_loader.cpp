// Loading sorts the lines of a script into global declarations, functions with their body
// lines, and VBScript includes. No statement is parsed here; body lines are kept as text.
#include "script/script_engine.h"
#include "script/script_reader.h"
#include "script/script_text.h"

class ScriptLoader {
public:
    ScriptLoader(ScriptEngine& engine, std::string_view text) : m_engine(engine), m_reader(text) {}

    //   script   -> { directive | declaration | function | other }
    //   function -> ("Section" | "Function") header  "{"  { line }  "}"
    [[nodiscard]] bool Run()
    {
        std::string line;
        while (m_reader.ReadLine(true, line)) {
            bool loaded = m_function ? AddBodyLine(line) : LoadTopLevelLine(line);
            if (!loaded)
                return false;
        }
        return true; // also when a function is still open
    }

private:
    // Braces count only when they stand alone on a line. The depth returning to zero ends the
    // function and its closing "}" is not stored; so does any first line that is not "{".
    bool AddBodyLine(std::string& line)
    {
        if (line == "{")
            ++m_depth;
        else if (line == "}")
            --m_depth;
        if (m_depth == 0) {
            m_function.Reset();
            return true;
        }
        auto end = line.find_last_not_of(';');
        line.resize(end == std::string::npos ? 0 : end + 1);
        m_function->AppendLine(line, m_reader.LineNumber());
        return true;
    }

    bool LoadTopLevelLine(std::string& line)
    {
        if (line[0] == '#') {
            LoadDirective(line);
            return true;
        }
        auto end = line.find_last_not_of(';');
        std::string_view statement = std::string_view(line).substr(0, end == std::string::npos ? 0 : end + 1);
        auto [keyword, rest] = SplitFirstWord(statement);
        if (SameName(keyword, "Var"))
            return LoadGlobalDeclaration(rest);
        if (SameName(keyword, "Section") || SameName(keyword, "Function"))
            return LoadFunctionHeader(statement, rest);
        return true; // anything else outside a function is ignored
    }

    // "#include" file "VbScript": the file's text is added to the VBScript code. Only acted on
    // when the host gave a script folder; every other directive is skipped.
    void LoadDirective(const std::string& line)
    {
        auto [directive, afterDirective] = SplitAtSeparator(line, " ");
        if (!SameName(directive, "#include") || m_engine.ScriptFolder().empty())
            return;
        auto [fileName, afterFile] = SplitAtSeparator(afterDirective, " ");
        auto kind = SplitAtSeparator(afterFile, " ").first;
        if (!SameName(kind, "VbScript"))
            return;
        while (!fileName.empty() && fileName.front() == '"')
            fileName.remove_prefix(1);
        while (!fileName.empty() && fileName.back() == '"')
            fileName.remove_suffix(1);
        std::string contents;
        if (!m_engine.Host().ReadFile(m_engine.ScriptFolder() + "\\" + std::string(fileName), contents))
            contents.clear(); // a file that cannot be opened reads as empty
        m_engine.m_vbsCode += "\r\n";
        m_engine.m_vbsCode += contents;
    }

    //   declaration -> "Var" type-name name [anything]
    bool LoadGlobalDeclaration(std::string_view rest)
    {
        auto [typeName, remainder] = SplitAtSeparator(rest, " ");
        auto name = SplitAtSeparator(remainder, " ").first;
        auto variable = m_engine.CreateDeclaredVariable(typeName, name);
        if (!variable) {
            m_engine.SetError(ErrorDeclaredType, typeName, m_reader.LineNumber());
            return false;
        }
        m_engine.m_listUserVar.Append(std::move(variable));
        return true;
    }

    bool LoadFunctionHeader(std::string_view header, std::string_view rest)
    {
        auto function = BuildFunction(header, m_engine);
        if (!function) {
            m_engine.SetError(ErrorFunctionHeader, rest, m_reader.LineNumber());
            return false;
        }
        function->SetHeaderLine(m_reader.LineNumber());
        m_engine.m_listSegment.push_back(function);
        m_function = std::move(function);
        m_depth = 0;
        return true;
    }

    ScriptEngine& m_engine;
    ScriptReader m_reader;
    Counted<ScriptFunction> m_function; // the function whose body is being read
    int m_depth = 0;
};

bool ScriptEngine::LoadText(std::string_view text)
{
    return ScriptLoader(*this, text).Run();
}
