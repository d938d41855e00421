#include "script/argument_list.h"

#include "script/script_engine.h"
#include "script/script_text.h"

namespace {

bool IsQuoted(std::string_view text)
{
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// Strips surrounding parentheses, as many pairs as enclose the whole text.
std::string_view StripParentheses(std::string_view text)
{
    text = TrimLeadingBlanks(text);
    while (text.size() >= 2 && text.front() == '(' && text.back() == ')')
        text = TrimLeadingBlanks(text.substr(1, text.size() - 2));
    return text;
}

}

bool ArgumentList::ParseArguments(std::string_view text)
{
    text = StripParentheses(text);
    while (!text.empty()) {
        auto split = SplitAtSeparator(text, ListSeparator);
        ParseItem(split.first);
        text = split.rest;
    }
    return true;
}

// One item: "type|text", a quoted string, the name of a variable, or plain text.
void ArgumentList::ParseItem(std::string_view item)
{
    auto variable = MakeCounted<ScriptVariable>();
    ScriptValue& value = variable->Value();
    value.SetType(TypeText);
    auto bar = item.size() > 1 ? item.find('|', 1) : std::string_view::npos;
    if (bar != std::string_view::npos) {
        value.SetType(ReadDecimalInt(item.substr(0, bar)));
        value.SetText(item.substr(bar + 1));
    } else if (IsQuoted(item)) {
        value.SetType(TypeString);
        value.SetText(item.substr(1, item.size() - 2));
    } else {
        bool startsWithDigit = !item.empty() && item.front() >= '0' && item.front() <= '9';
        if (!item.empty() && !startsWithDigit && m_engine && m_engine->FindVariable(item, m_caller))
            value.SetType(TypeVariableReference);
        value.SetText(item);
    }
    m_arguments.push_back(std::move(variable));
}

ScriptVariable* ArgumentList::Variable(std::size_t number) const
{
    if (number < 1 || number > m_arguments.size())
        return nullptr;
    return m_arguments[number - 1].Get();
}

ScriptValue* ArgumentList::Arg(std::size_t number) const
{
    ScriptVariable* variable = Variable(number);
    return variable ? &variable->Value() : nullptr;
}

std::string ArgumentList::ArgText(std::size_t number, bool resolve) const
{
    ScriptValue* value = Arg(number);
    if (!value)
        return {};
    if (resolve && m_engine && value->Type() == TypeVariableReference)
        return m_engine->VariableText(value->ToString(), m_caller);
    return value->ToString();
}

int ArgumentList::CompareArgs(std::size_t first, std::size_t second) const
{
    return SameName(ArgText(first, true), ArgText(second, true)) ? 0 : 1;
}

// The call mechanism stores an argument flagged "out" back into the caller's variable of the
// argument's name; a reference without a name takes the name it refers to.
void ArgumentList::SetArg(std::size_t number, std::string_view text)
{
    ScriptVariable* variable = Variable(number);
    if (!variable)
        return;
    if (variable->Name().empty()) {
        if (variable->Value().Type() != TypeVariableReference)
            return;
        variable->SetName(variable->Value().Text());
    }
    variable->Value().SetText(text);
    variable->SetOut();
}

void ArgumentList::SetArgInt(std::size_t number, std::int32_t value) { SetArg(number, FormatInt(value)); }

void ArgumentList::AddValue(const ScriptValue& value)
{
    auto variable = MakeCounted<ScriptVariable>();
    variable->Value().Assign(value);
    m_arguments.insert(m_arguments.begin(), std::move(variable));
}

void ArgumentList::AppendValue(const ScriptValue& value)
{
    auto variable = MakeCounted<ScriptVariable>();
    variable->Value().Assign(value);
    m_arguments.push_back(std::move(variable));
}

void ArgumentList::AppendVariable(Counted<ScriptVariable> variable) { m_arguments.push_back(std::move(variable)); }

void ArgumentList::CopyFrom(const ArgumentList& other)
{
    if (this == &other)
        return;
    Clear();
    m_caller = other.m_caller;
    m_engine = other.m_engine;
    m_arguments.reserve(other.m_arguments.size());
    for (const auto& source : other.m_arguments) {
        auto copy = MakeCounted<ScriptVariable>(source->Name());
        copy->SetFlags(source->Flags());
        copy->Value().Assign(source->Value());
        m_arguments.push_back(std::move(copy));
    }
    m_result.Assign(other.m_result);
}

void ArgumentList::Clear()
{
    auto released = std::move(m_arguments);
    m_arguments.clear();
}

std::string ListItemText(const ScriptValue& value)
{
    return FormatInt(value.Type()) + "|" + value.ToString();
}
