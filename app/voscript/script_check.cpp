// The static check of an uninstall script. The script is loaded by the engine as the
// uninstaller loads it, and every body line is read with the statement runner's own reading of
// it (LineForm) and its expression tokens, so that the check sees what the uninstaller will
// run; the names of host objects and methods come from the tables the objects dispatch from.
#include "app/voscript/script_check.h"

#include "app/flows/scripted_flow.h"
#include "app/flows/uninstall_object.h"
#include "app/voscript/host_catalogue.h"
#include "script/builtin_commands.h"
#include "script/compiled_expression.h"
#include "script/line_form.h"
#include "script/operator_table.h"
#include "script/script_engine.h"
#include "script/script_reader.h"
#include "script/script_text.h"
#include "script/statement_runner.h"
#include "script/type_code.h"

#include <algorithm>
#include <map>

namespace {

std::string Folded(std::string_view text)
{
    std::string folded(text);
    for (char& character : folded) {
        if (character >= 'A' && character <= 'Z')
            character = static_cast<char>(character - 'A' + 'a');
    }
    return folded;
}

// Letters to change, insert or remove to make one name of the other, without regard to case.
std::size_t EditDistance(std::string_view left, std::string_view right)
{
    const std::string a = Folded(left);
    const std::string b = Folded(right);
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// A name this close to a known one is taken for a slip of the keyboard.
constexpr std::size_t kNearMiss = 2;

std::string NearestOf(const std::string& name, const std::vector<std::string>& candidates)
{
    std::string nearest;
    std::size_t best = kNearMiss + 1;
    for (const std::string& candidate : candidates) {
        const std::size_t distance = EditDistance(name, candidate);
        // Short names are all near each other: at most a third of the letters may differ.
        if (distance < best && distance * 3 <= name.size() && !SameName(name, candidate)) {
            best = distance;
            nearest = candidate;
        }
    }
    return nearest;
}

std::string CountOf(std::size_t count, const char* noun)
{
    return FormatInt(static_cast<int>(count)) + " " + noun + (count == 1 ? "" : "s");
}

std::string DidYouMean(const std::string& nearest) { return nearest.empty() ? std::string() : "; did you mean " + nearest + "?"; }

// The system classes lent to the check: they carry only their class name, so that "var CRegKey
// k" loads as in the uninstaller.
class StandInClass final : public ScriptObject {
public:
    explicit StandInClass(std::string name) : ScriptObject(std::move(name)) {}
    [[nodiscard]] Counted<ScriptObject> CreateInstance(const std::string&) override
    {
        return MakeCounted<StandInClass>(ClassName());
    }
};

class CheckHost final : public ScriptHost {
public:
    [[nodiscard]] int ShowMessageBox(const std::string&, const std::string&, int) override { return 1; }
    [[nodiscard]] bool CallVBSFunction(const std::string&, const std::string&, const std::vector<VbsArgument>&,
                                       std::string&, std::vector<std::string>&) override
    {
        return false;
    }
    [[nodiscard]] Counted<ScriptObject> CreateSystemClass(const std::string& className) override
    {
        return MakeCounted<StandInClass>(className);
    }
};

// The name of a variable in scope and what it holds: a class name, a host object's name, or
// empty when the check cannot tell (an IVosObject, a parameter of an object type).
struct Holding {
    std::string name; // as declared
    std::string className;
    bool isHostObject = false;
};

class ScriptChecker {
public:
    explicit ScriptChecker(const std::string& text) : m_text(text), m_engine(&m_host) {}

    std::vector<CheckFinding> Run()
    {
        if (CheckLineEnds())
            return Sorted();
        if (!m_engine.LoadText(m_text))
            ReportLoadError();
        UninstallHostObjects objects;
        objects.uninstall = MakeCounted<ScriptObject>("Uninstall");
        objects.system = MakeCounted<ScriptObject>("System");
        objects.service = MakeCounted<ScriptObject>("Service");
        objects.regKey = MakeCounted<ScriptObject>("RegKey");
        RegisterUninstallHost(m_engine, objects);
        CollectGlobals();
        CheckTopLevel();
        for (const auto& function : m_engine.Functions())
            CheckFunction(*function);
        CheckEvents();
        return Sorted();
    }

private:
    void Error(std::int32_t line, std::string text) { m_findings.push_back({line, true, std::move(text)}); }
    void Warning(std::int32_t line, std::string text) { m_findings.push_back({line, false, std::move(text)}); }

    std::vector<CheckFinding> Sorted()
    {
        std::stable_sort(m_findings.begin(), m_findings.end(),
                         [](const CheckFinding& a, const CheckFinding& b) { return a.line < b.line; });
        return m_findings;
    }

    // Lines end only at a carriage return. A file without one reads as one line and nothing
    // else is worth saying; true then.
    bool CheckLineEnds()
    {
        if (m_text.find('\n') == std::string::npos)
            return false;
        if (m_text.find('\r') == std::string::npos) {
            Error(1, "line feeds without carriage returns: lines end only at a carriage return, so the whole file "
                     "reads as one line; save it with CR LF line ends");
            return true;
        }
        std::int32_t line = 1;
        std::size_t start = 0;
        while (start <= m_text.size()) {
            std::size_t end = m_text.find('\r', start);
            const std::string_view segment = std::string_view(m_text).substr(start, end == std::string::npos ? std::string::npos : end - start);
            // The line feed of a CR LF pair opens the next segment.
            if (segment.find('\n', 1) != std::string_view::npos)
                Error(line, "a line feed without a carriage return: lines end only at a carriage return, so this line "
                            "and the next are read as one");
            if (end == std::string::npos)
                break;
            start = end + 1;
            ++line;
        }
        return false;
    }

    void ReportLoadError()
    {
        const ScriptError& error = m_engine.Error();
        const char* what = error.code == ErrorFunctionHeader ? "this Section or Function header cannot be read"
            : error.code == ErrorDeclaredType                ? "this Var has a type that is no type or class"
                                                             : "the script stops loading here";
        Error(error.line, std::string(what) + " (\"" + error.word + "\"); the uninstaller loads no line after it, and "
                                                                      "the first event fails with error "
                              + FormatInt(error.code));
    }

    // Lines outside the functions, read as the loader reads them.
    void CheckTopLevel()
    {
        ScriptReader reader(m_text);
        std::string line;
        int depth = 0;
        bool inFunction = false;
        bool headerJustRead = false;
        while (reader.ReadLine(true, line)) {
            const std::int32_t number = reader.LineNumber();
            if (inFunction) {
                if (headerJustRead && line != "{" && line != "}")
                    Error(number, "a function body starts with a line that holds only \"{\": without it the function "
                                  "above is empty and this line is dropped");
                headerJustRead = false;
                depth += line == "{" ? 1 : line == "}" ? -1 : 0;
                inFunction = depth != 0;
                continue;
            }
            if (line[0] == '#') {
                CheckDirective(line, number);
                continue;
            }
            const auto end = line.find_last_not_of(';');
            auto [keyword, rest] = SplitFirstWord(std::string_view(line).substr(0, end == std::string::npos ? 0 : end + 1));
            if (SameName(keyword, "Section") || SameName(keyword, "Function")) {
                inFunction = true;
                headerJustRead = true;
                depth = 0;
            } else if (SameName(keyword, "Var")) {
                auto afterName = SplitAtSeparator(SplitAtSeparator(rest, " ").rest, " ").rest;
                if (!afterName.empty())
                    Warning(number, "a global Var takes no initialiser: the variable starts empty; assign it in "
                                    "OnUninstallBegin");
            } else {
                Warning(number, "outside a function this line is ignored");
            }
        }
    }

    void CheckDirective(const std::string& line, std::int32_t number)
    {
        auto [directive, rest] = SplitAtSeparator(line, " ");
        if (!SameName(directive, "#include"))
            return Warning(number, "the uninstaller ignores every directive but #include");
        m_includeLines.push_back(number);
    }

    void CollectGlobals()
    {
        VariableList& globals = m_engine.GlobalVariables();
        for (std::size_t index = 0; index < globals.Count(); ++index) {
            ScriptVariable* variable = globals.At(index);
            const std::string name = Folded(variable->Name());
            if (m_globals.count(name))
                continue;
            m_globals[name] = HoldingOf(*variable);
        }
    }

    static Holding HoldingOf(const ScriptVariable& variable)
    {
        const ScriptValue& value = variable.Value();
        Holding holding;
        holding.name = variable.Name();
        if (value.Type() == TypeObject) {
            if (ScriptObject* object = value.Object()) {
                holding.isHostObject = FindHostObject(variable.Name()) && object->ClassName() == variable.Name();
                holding.className = holding.isHostObject ? variable.Name() : object->ClassName();
            }
        } else {
            holding.className = TypeNameFromCode(value.Type());
        }
        return holding;
    }

    // --- one function -------------------------------------------------------------------

    void CheckFunction(const ScriptFunction& function)
    {
        m_function = &function;
        m_locals.clear();
        const ArgumentList& parameters = function.Parameters();
        for (std::size_t number = 1; number <= parameters.Count(); ++number) {
            const ScriptVariable* parameter = parameters.Variable(number);
            m_locals[Folded(parameter->Name())] = {parameter->Name(), TypeNameFromCode(parameter->Value().Type()), false};
        }
        const auto& body = function.Body();
        for (std::int32_t index = 0; index < static_cast<std::int32_t>(body.size()); ++index)
            CollectDeclarations(index);
        for (std::int32_t index = 0; index < static_cast<std::int32_t>(body.size()); ++index) {
            m_line = body[index].sourceLine;
            CheckLine(index);
        }
    }

    void CollectDeclarations(std::int32_t index)
    {
        const LineForm& form = FormOfLine(*m_function, index);
        if (form.kind != LineKind::Plain || form.plain->shape != PlainShape::Declaration)
            return;
        const PlainForm& plain = *form.plain;
        auto type = Folded(plain.typeName) == "ivosobject" ? std::string() : plain.typeName;
        if (const HostClass* holder = FindHostClass(plain.typeName))
            type = holder->name;
        for (const auto& item : plain.declarations)
            m_locals[Folded(item.name)] = {item.name, type, false};
    }

    void CheckLine(std::int32_t index)
    {
        const LineForm& form = FormOfLine(*m_function, index);
        switch (form.kind) {
        case LineKind::Skip:
        case LineKind::Label:
            return;
        case LineKind::Control:
            return CheckControl(form, index);
        case LineKind::Plain:
            return CheckPlain(*form.plain, m_function->Body()[index].text);
        }
    }

    // The block a control line opens is built as the runner builds it; one that cannot be
    // built fails the statement when it runs.
    void CheckControl(const LineForm& form, std::int32_t index)
    {
        struct BlockWord {
            ControlKeyword keyword;
            BlockKind kind;
            const char* name;
        };
        static constexpr BlockWord kBlocks[] = {
            {ControlKeyword::If, BlockKind::If, "if"},
            {ControlKeyword::Do, BlockKind::Do, "do"},
            {ControlKeyword::Switch, BlockKind::Switch, "switch"},
            {ControlKeyword::For, BlockKind::For, "for"},
        };
        for (const BlockWord& word : kBlocks) {
            if (form.keyword == word.keyword && !BuildBlock(*m_function, index, word.kind))
                return Error(m_line, std::string("this ") + word.name + " does not form a block (a \"{\" without its "
                                     "\"}\" on a line of its own, a do without its While line, an else with more than "
                                     "\"if CONDITION\"): the statement fails");
        }
        switch (form.keyword) {
        case ControlKeyword::If:
        case ControlKeyword::While:
        case ControlKeyword::Switch:
        case ControlKeyword::Return:
            return CheckExpression(form.rest);
        case ControlKeyword::For: {
            const BlockRecord& block = *BuildBlock(*m_function, index, BlockKind::For);
            CheckPlain(*block.initialisation, {});
            CheckExpression(block.condition.Text());
            return CheckPlain(*block.step, {});
        }
        default:
            return;
        }
    }

    void CheckPlain(const PlainForm& form, const std::string& text)
    {
        if (form.firstWord.empty())
            return;
        if (SameName(form.firstWord, "else")) {
            auto [word, condition] = SplitFirstWord(form.rest);
            if (SameName(word, "if"))
                CheckExpression(condition);
            return;
        }
        switch (form.shape) {
        case PlainShape::MemberCall:
            if (!form.rest.empty() && form.rest.front() == '=')
                return Error(m_line, "a member cannot be assigned: " + form.firstWord + " is taken for a call, which "
                                                                                         "fails; call a method instead");
            return CheckCallText(form.firstWord, form.rest);
        case PlainShape::Declaration:
            return CheckDeclaration(form, text);
        case PlainShape::Other:
            break;
        }
        if (IsDeclared(form.firstWord))
            return CheckAssignment(form.assignment);
        if (SameName(form.firstWord, "Set")) {
            if (!IsDeclared(form.setName))
                Error(m_line, form.setName + " is not declared: Set fails with error 3");
            return CheckAssignment(*form.setAssignment);
        }
        if (SameName(form.firstWord, "Goto"))
            return CheckLabel(form.rest);
        if (!form.rest.empty() && form.rest.front() == '=')
            return Error(m_line, form.firstWord + " is not declared: the assignment fails with error 13; declare it "
                                                    "with var first" + DidYouMean(NearestVariable(form.firstWord)));
        CheckCallText(form.firstWord, form.rest);
    }

    // The loader and the statement cut a var line at every comma, also one inside a call or
    // a text: "var string f = Get("a", "b")" declares f and a second variable named "b").
    void CheckDeclaration(const PlainForm& form, const std::string& text)
    {
        if (form.typeName.empty() || form.declarations.empty())
            return Error(m_line, "var needs a type and a name: error 16");
        if (!m_engine.CreateDeclaredVariable(form.typeName, "declared"))
            return Error(m_line, "no type or class " + form.typeName + ": the declaration fails");
        if (HasCommaInsideGroup(text))
            return Error(m_line, "a var line is cut at every comma, also at one inside parentheses or quotes, so "
                                 "this initialiser is cut apart; declare first (var " + form.typeName + " "
                                 + form.declarations.front().name + ") and assign on the next line");
        for (const auto& item : form.declarations) {
            if (item.initialiser)
                CheckAssignment(*item.initialiser);
        }
    }

    static bool HasCommaInsideGroup(std::string_view text)
    {
        int depth = 0;
        bool quoted = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char character = text[i];
            if (quoted) {
                if (character == '\\')
                    ++i;
                else if (character == '"')
                    quoted = false;
                else if (character == ',')
                    return true;
                continue;
            }
            if (character == '"')
                quoted = true;
            else if (character == '(')
                ++depth;
            else if (character == ')')
                depth = depth > 0 ? depth - 1 : 0;
            else if (character == ',' && depth > 0)
                return true;
        }
        return false;
    }

    void CheckAssignment(const AssignmentForm& form)
    {
        switch (form.kind) {
        case AssignmentKind::Invalid:
            return Error(m_line, "this is no statement: after a variable's name comes =, ++, --, +=, -=, *=, /= or %=");
        case AssignmentKind::Nothing:
        case AssignmentKind::Increment:
        case AssignmentKind::Decrement:
            return;
        case AssignmentKind::New:
            if (!m_engine.FindClass(form.className))
                Error(m_line, "no class " + form.className + " to make with new");
            return;
        case AssignmentKind::CreateVosObject:
            return CheckCreatedObject(form.expression.Text());
        default:
            return CheckExpression(form.expression.Text());
        }
    }

    void CheckCreatedObject(const std::string& argumentText)
    {
        const auto expression = CompileExpression(argumentText);
        for (const ExpressionToken& token : expression->tokens) {
            if (token.kind == TokenKind::Literal && token.literal.Type() == TypeString) {
                const std::string name = token.literal.ToString();
                if (!SameName(name, "CRegKey") && !SameName(name, "CDllModule") && !SameName(name, "CWSModule"))
                    Error(m_line, "CreateVosObject makes only CRegKey, CDllModule and CWSModule: \"" + name
                                      + "\" fails with error 12");
                return;
            }
        }
    }

    void CheckLabel(std::string_view label)
    {
        if (m_function->FindLabel(label) < 0)
            Error(m_line, "no label " + std::string(label) + " in " + m_function->Name()
                              + ": the jump ends the function without an error");
    }

    // A call statement: the name and the argument text after it.
    void CheckCallText(const std::string& name, const std::string& argumentText)
    {
        const auto expression = CompileExpression(argumentText);
        CheckCall(name, ArgumentsAt(*expression, 0));
        CheckTokens(*expression);
    }

    void CheckExpression(std::string_view text)
    {
        if (TrimBlanks(text).empty())
            return;
        CheckTokens(*CompileExpression(text));
    }

    // The arguments of a call whose "(" is the token at the index: their count, and the first
    // and third when they are text literals.
    struct CallArguments {
        std::size_t count = 0;
        const ExpressionToken* literals[3] = {};
    };

    static CallArguments ArgumentsAt(const CompiledExpression& expression, std::size_t open)
    {
        CallArguments arguments;
        const auto& tokens = expression.tokens;
        if (open >= tokens.size() || tokens[open].text != "(")
            return arguments;
        std::vector<std::vector<const ExpressionToken*>> parts(1);
        int depth = 0;
        for (std::size_t index = open; index < tokens.size(); ++index) {
            const ExpressionToken& token = tokens[index];
            const bool isOperator = token.kind == TokenKind::Operator;
            if (isOperator && token.text == "(" && depth++ == 0)
                continue;
            if (isOperator && token.text == ")" && --depth == 0)
                break;
            if (depth == 1 && isOperator && token.text == ",") {
                parts.emplace_back();
                continue;
            }
            parts.back().push_back(&token);
        }
        arguments.count = parts.size() == 1 && parts.front().empty() ? 0 : parts.size();
        for (std::size_t number = 0; number < parts.size() && number < 3; ++number) {
            const auto& part = parts[number];
            if (part.size() == 1 && part.front()->kind == TokenKind::Literal && part.front()->literal.Type() == TypeString)
                arguments.literals[number] = part.front();
        }
        return arguments;
    }

    void CheckTokens(const CompiledExpression& expression)
    {
        const auto& tokens = expression.tokens;
        for (std::size_t index = 0; index < tokens.size(); ++index) {
            const ExpressionToken& token = tokens[index];
            if (token.kind == TokenKind::Error)
                return Error(m_line, "the expression cannot be read on from \"" + token.text + "\"");
            if (token.kind == TokenKind::Reference) {
                CheckVariable(token.text.substr(1));
                continue;
            }
            if (token.kind != TokenKind::Name || token.entry)
                continue;
            if (token.callFollows) {
                if (!IsBuiltInFunction(token.text))
                    CheckCall(token.text, ArgumentsAt(expression, index + 1));
                continue;
            }
            CheckVariable(token.text);
        }
    }

    void CheckVariable(const std::string& name)
    {
        const std::string holder = name.substr(0, name.find('.', 1));
        if (!IsDeclared(holder))
            Error(m_line, holder + " is not declared" + DidYouMean(NearestVariable(holder)));
    }

    void CheckCall(const std::string& name, const CallArguments& arguments)
    {
        const std::size_t dot = name.size() > 1 ? name.find('.', 1) : std::string::npos;
        if (dot != std::string::npos)
            return CheckMemberCall(name.substr(0, dot), name.substr(dot + 1), arguments);
        if (SameName(name, "DataCmpGoto") && arguments.literals[2])
            CheckLabel(arguments.literals[2]->literal.ToString());
        if (const ScriptFunction* function = m_engine.FindFunction(name)) {
            const std::size_t parameters = function->Parameters().Count();
            if (parameters > 0 && arguments.count > parameters)
                Error(m_line, name + " takes " + CountOf(parameters, "argument") + " and this call passes "
                                  + FormatInt(static_cast<int>(arguments.count)) + ": the call fails");
            return;
        }
        if (FindBuiltInCommand(name))
            return;
        Error(m_line, "no function " + name + " (called with " + CountOf(arguments.count, "argument")
                          + "): the call fails" + DidYouMean(NearestFunction(name)));
    }

    void CheckMemberCall(const std::string& holderName, const std::string& method, const CallArguments& arguments)
    {
        const Holding* holding = FindHolding(holderName);
        if (!holding)
            return Error(m_line, holderName + " is not declared: " + holderName + "." + method
                                     + " fails with error 8" + DidYouMean(NearestVariable(holderName)));
        const HostClass* holder = holding->isHostObject ? FindHostObject(holding->className) : FindHostClass(holding->className);
        if (!holder)
            return; // an object the check cannot follow
        bool exactOnly = false;
        const MethodName* row = FindHostMethod(*holder, method, exactOnly);
        const std::string called = holderName + "." + method;
        if (!row) {
            std::vector<std::string> names;
            for (const MethodName& candidate : holder->methods)
                names.push_back(candidate.name);
            return Error(m_line, std::string(holder->isObject ? "" : "class ") + holder->name + " has no method " + method
                                     + ": " + called + " fails with error 8" + DidYouMean(NearestOf(method, names)));
        }
        if (exactOnly)
            return Error(m_line, called + " is matched in exact case only: write " + holderName + "." + row->name
                                     + ", or the call fails with error 8");
        if (holding->isHostObject && holder->name == std::string("Uninstall"))
            NoteUninstallCall(row->name, arguments);
    }

    void NoteUninstallCall(const std::string& method, const CallArguments& arguments)
    {
        if (method == "UnInstall")
            m_reachesRemoval = true;
        if (method == "CancelUninstall")
            m_cancels = true;
        if (method != "DoDialog" || !arguments.literals[0])
            return;
        const std::string page = arguments.literals[0]->literal.ToString();
        std::vector<std::string> names;
        for (const MethodName& row : DoDialogPageNames()) {
            names.push_back(row.name);
            if (MethodNameMatches(row.name, row.match, page)) {
                if (row.name == std::string("SdUninstallProcess"))
                    m_reachesRemoval = true;
                return;
            }
            if (SameName(row.name, page))
                return Error(m_line, "the page \"" + page + "\" is named in exact case only: write \"" + row.name
                                         + "\"; in another case no page is shown and DoDialog gives 0");
        }
        Error(m_line, "no page \"" + page + "\": DoDialog shows nothing and gives 0" + DidYouMean(NearestOf(page, names)));
    }

    // --- names in scope ------------------------------------------------------------------

    const Holding* FindHolding(const std::string& name) const
    {
        const std::string folded = Folded(name);
        auto local = m_locals.find(folded);
        if (local != m_locals.end())
            return &local->second;
        auto global = m_globals.find(folded);
        return global == m_globals.end() ? nullptr : &global->second;
    }

    bool IsDeclared(const std::string& name) const { return FindHolding(name) != nullptr; }

    std::string NearestVariable(const std::string& name) const
    {
        std::vector<std::string> names;
        for (const auto& entry : m_locals)
            names.push_back(entry.second.name);
        for (const auto& entry : m_globals)
            names.push_back(entry.second.name);
        return NearestOf(name, names);
    }

    std::string NearestFunction(const std::string& name) const
    {
        std::vector<std::string> names;
        for (const auto& function : m_engine.Functions())
            names.push_back(function->Name());
        for (const MethodName& command : BuiltInCommandNames())
            names.push_back(command.name);
        return NearestOf(name, names);
    }

    // --- the events ----------------------------------------------------------------------

    void CheckEvents()
    {
        bool uninstallScript = false;
        for (const auto& function : m_engine.Functions()) {
            for (const char* event : kUninstallEvents) {
                if (SameName(function->Name(), event)) {
                    uninstallScript = true;
                } else if (EditDistance(function->Name(), event) <= kNearMiss) {
                    uninstallScript = true;
                    Warning(function->HeaderLine(), function->Name() + " is not an event, and the uninstaller never "
                                                    "calls it; did you mean " + event + "?");
                }
            }
        }
        if (!uninstallScript)
            return;
        for (std::int32_t line : m_includeLines)
            Warning(line, "the uninstaller ignores #include: it takes its VBScript code from jt.dll in the uninstall "
                          "folder (voscript --scramble FILE.vbs jt.dll)");
        const ScriptFunction* begin = m_engine.FindFunction("OnUninstallBegin");
        if (!begin)
            return Warning(1, "no OnUninstallBegin: the uninstaller calls no event and runs its default flow instead");
        if (!m_reachesRemoval && !m_cancels)
            Warning(begin->HeaderLine(), "no event shows the progress page (Uninstall.DoDialog(\"SdUninstallProcess\")) or "
                                         "calls Uninstall.UnInstall(): nothing is removed, yet the cleanup copy deletes "
                                         "the uninstall folder with the uninstaller");
    }

    const std::string& m_text;
    CheckHost m_host;
    ScriptEngine m_engine;
    std::vector<CheckFinding> m_findings;
    std::map<std::string, Holding> m_globals;
    std::map<std::string, Holding> m_locals;
    std::vector<std::int32_t> m_includeLines;
    const ScriptFunction* m_function = nullptr;
    std::int32_t m_line = 0;
    bool m_reachesRemoval = false;
    bool m_cancels = false;
};

}

std::vector<CheckFinding> CheckScript(const std::string& scriptText) { return ScriptChecker(scriptText).Run(); }

std::string FormatFindings(const std::string& fileName, const std::vector<CheckFinding>& findings)
{
    std::string output;
    for (const CheckFinding& finding : findings)
        output += fileName + ":" + FormatInt(finding.line) + (finding.isError ? ": error: " : ": warning: ") + finding.text + "\n";
    return output;
}
