#include "app/voscript/script_trace.h"

#include "app/voscript/voscript_uninstall.h"
#include "script/argument_list.h"
#include "script/function_instance.h"
#include "script/line_form.h"
#include "script/script_engine.h"
#include "script/script_text.h"
#include "script/statement_runner.h"

#include <cstdio>
#include <vector>

namespace {

// The variables the line's assignment stores into: the first word of an assignment, the name
// after "Set", the names of a "var" line that have an initialiser.
std::vector<std::string> AssignedNames(const LineForm& form, FunctionInstance& instance)
{
    std::vector<std::string> names;
    if (form.kind != LineKind::Plain)
        return names;
    const PlainForm& plain = *form.plain;
    if (plain.shape == PlainShape::Declaration) {
        for (const auto& item : plain.declarations) {
            if (item.initialiser)
                names.push_back(item.name);
        }
    } else if (plain.shape == PlainShape::Other) {
        if (SameName(plain.firstWord, "Set"))
            names.push_back(plain.setName);
        else if (plain.assignment.kind != AssignmentKind::Invalid && instance.Engine().FindVariable(plain.firstWord, &instance))
            names.push_back(plain.firstWord);
    }
    return names;
}

// A text as a script writes it: in quotes, with a line break as \n.
std::string Quoted(const std::string& text) { return "\"" + OneLineText(text) + "\""; }

// An argument as the call saw it: a text in quotes, a number as it is, an object by the name
// of the variable that holds it.
std::string ArgumentShown(const ArgumentList& arguments, std::size_t number)
{
    const ScriptValue* argument = arguments.Arg(number);
    if (argument->Type() == TypeVariableReference && arguments.Engine()) {
        ScriptVariable* variable = arguments.Engine()->FindVariable(argument->Text(), arguments.Caller());
        if (!variable)
            return argument->Text();
        const ScriptValue& value = variable->Value();
        if (value.Type() == TypeObject)
            return argument->Text();
        argument = &value;
    }
    const bool isText = argument->Type() == TypeString || argument->Type() == TypeText;
    return isText ? Quoted(argument->ToString()) : OneLineText(argument->ToString());
}

}

void ScriptTrace::Write(const std::string& line)
{
    if (!m_stream) {
        m_output += line;
        return;
    }
    std::fwrite(line.data(), 1, line.size(), m_stream);
    std::fflush(m_stream);
}

void ScriptTrace::BeforeLine(FunctionInstance&, const BodyLine& line)
{
    Write(FormatInt(line.sourceLine) + ": " + OneLineText(line.text) + "\n");
}

void ScriptTrace::AfterLine(FunctionInstance& instance, const BodyLine& line)
{
    if (instance.Engine().HasError() || !line.form)
        return;
    for (const std::string& name : AssignedNames(*line.form, instance)) {
        ScriptVariable* variable = instance.Engine().FindVariable(name, &instance);
        if (variable)
            Write("  " + name + " = " + OneLineText(variable->Value().ToString()) + "\n");
    }
}

void ScriptTrace::AfterHostCall(const std::string& name, const ArgumentList& arguments, bool called)
{
    std::string line = "  " + name + "(";
    for (std::size_t number = 1; number <= arguments.Count(); ++number)
        line += (number > 1 ? ", " : "") + ArgumentShown(arguments, number);
    line += ")";
    if (!called)
        line += " failed";
    else if (arguments.Result().Type() != TypeNone)
        line += " = " + OneLineText(arguments.Result().ToString());
    Write(line + "\n");
}
