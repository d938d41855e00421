#include "script/objects/proc_definition.h"

#include "script/script_text.h"

#include <tuple>
#include <utility>

namespace {

// A word ends before a blank or an operator character; both the word and the rest lose their
// surrounding blanks.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text)
{
    text = TrimLeadingBlanks(text);
    std::string_view::size_type end = text.find_first_of(" %(*+-/=");
    if (end == std::string_view::npos)
        return {TrimBlanks(text), {}};
    return {TrimBlanks(text.substr(0, end)), TrimBlanks(text.substr(end))};
}

//   parameter -> ["out"] type-word [number]
ProcDefinition::Parameter ParseParameter(std::string_view text)
{
    ProcDefinition::Parameter parameter;
    auto [word, rest] = SplitWord(text);
    if (SameName(word, "out")) {
        parameter.out = true;
        std::tie(word, rest) = SplitWord(rest);
    }
    parameter.type = std::string(word);
    parameter.number = ReadDecimalInt(rest);
    return parameter;
}

}

//   definition -> return-type name ["("] parameter {"," parameter} [")"]
bool ParseProcDefinition(std::string_view text, ProcDefinition& definition)
{
    definition = {};
    auto [returnType, afterType] = SplitWord(text);
    auto [name, rest] = SplitWord(afterType);
    if (returnType.empty() || name.empty())
        return false;
    definition.returnType = std::string(returnType);
    definition.name = std::string(name);
    while (!rest.empty() && rest.front() == '(')
        rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ')')
        rest.remove_suffix(1);
    if (TrimBlanks(rest).empty())
        return true;
    for (;;) {
        std::string_view::size_type comma = rest.find(',');
        definition.parameters.push_back(ParseParameter(TrimBlanks(rest.substr(0, comma))));
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return true;
}
