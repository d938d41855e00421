#include "script/script_function.h"

#include "script/line_form.h"
#include "script/script_engine.h"
#include "script/script_text.h"

BodyLine::BodyLine(std::string lineText, std::int32_t lineNumber, std::int32_t secondNumber)
    : text(std::move(lineText)), sourceLine(lineNumber), second(secondNumber)
{
}

BodyLine::BodyLine(BodyLine&& other) noexcept = default;

BodyLine::~BodyLine() = default;

ScriptFunction::ScriptFunction(FunctionKind kind, std::string name) : m_kind(kind), m_name(std::move(name)) {}

void ScriptFunction::AppendLine(std::string text, std::int32_t sourceLine)
{
    m_body.emplace_back(std::move(text), sourceLine, -1);
}

std::int32_t ScriptFunction::FindLabel(std::string_view name) const
{
    for (std::size_t index = 0; index < m_body.size(); ++index) {
        std::string_view text = m_body[index].text;
        if (text.empty() || text.back() != ':')
            continue;
        auto end = text.find_last_not_of(':');
        if (SameName(text.substr(0, end == std::string_view::npos ? 0 : end + 1), name))
            return static_cast<std::int32_t>(index);
    }
    return -1;
}

namespace {

// The type of a declared parameter: a type name of the table, or a registered class, which
// gives an object. Unknown when it is neither.
TypeCode ParameterType(std::string_view typeName, const ScriptEngine& engine)
{
    TypeCode type = TypeCodeFromName(typeName);
    if (type != TypeUnknown)
        return type;
    return engine.FindClass(typeName) ? TypeObject : TypeUnknown;
}

//   parameters -> parameter { "," parameter }
//   parameter  -> [ "out" ] type-name name
bool ParseParameters(std::string_view text, const ScriptEngine& engine, ArgumentList& parameters)
{
    text = TrimLeadingBlanks(text);
    while (!text.empty() && text.front() == '(' && text.back() == ')')
        text = TrimLeadingBlanks(text.substr(1, text.size() - 2));
    while (true) {
        auto comma = text.find(',');
        auto item = TrimBlanks(text.substr(0, comma));
        if (item.empty())
            return false;
        auto split = SplitFirstWord(item);
        bool out = SameName(split.first, "out");
        if (out)
            split = SplitFirstWord(split.rest);
        TypeCode type = ParameterType(split.first, engine);
        if (type == TypeUnknown)
            return false;
        auto parameter = MakeCounted<ScriptVariable>(std::string(split.rest));
        parameter->Value().SetType(type);
        if (out)
            parameter->SetOut();
        parameters.AppendVariable(std::move(parameter));
        if (comma == std::string_view::npos)
            return true;
        text = text.substr(comma + 1);
    }
}

}

//   header -> "Section" name
//           | "Function" type-name name [ "(" [ parameters ] ")" anything ]
Counted<ScriptFunction> BuildFunction(std::string_view header, const ScriptEngine& engine)
{
    auto [keyword, rest] = SplitFirstWord(header);
    if (SameName(keyword, "Section"))
        return MakeCounted<ScriptFunction>(FunctionKind::Section, std::string(rest));
    if (!SameName(keyword, "Function"))
        return {};
    auto [returnType, afterType] = SplitFirstWord(rest);
    auto [name, afterName] = SplitFirstWord(afterType);
    auto function = MakeCounted<ScriptFunction>(FunctionKind::Function, std::string(name));
    function->Parameters().Result().SetType(TypeCodeFromName(returnType));
    if (afterName.empty() || afterName.front() != '(')
        return function;
    auto close = afterName.find(')');
    if (close == std::string_view::npos)
        return {};
    std::string_view parameterText = afterName.substr(1, close - 1);
    if (TrimBlanks(parameterText).empty())
        return function;
    if (!ParseParameters(parameterText, engine, function->Parameters()))
        return {};
    return function;
}
