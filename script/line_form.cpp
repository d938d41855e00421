#include "script/line_form.h"

#include "script/script_text.h"

namespace {

struct AssignmentOperator {
    std::string_view text;
    AssignmentKind kind;
};

constexpr AssignmentOperator g_assignmentOperators[] = {
    {"++", AssignmentKind::Increment},
    {"--", AssignmentKind::Decrement},
    {"+=", AssignmentKind::AddExpression},
    {"-=", AssignmentKind::SubtractExpression},
    {"*=", AssignmentKind::MultiplyExpression},
    {"%=", AssignmentKind::ModuloExpression},
    {"/=", AssignmentKind::DivideExpression},
};

struct ControlWord {
    std::string_view text;
    ControlKeyword keyword;
};

constexpr ControlWord g_controlWords[] = {
    {"if", ControlKeyword::If},
    {"}", ControlKeyword::CloseBrace},
    {"while", ControlKeyword::While},
    {"for", ControlKeyword::For},
    {"switch", ControlKeyword::Switch},
    {"case", ControlKeyword::Case},
    {"do", ControlKeyword::Do},
    {"break", ControlKeyword::Break},
    {"return", ControlKeyword::Return},
};

}

AssignmentForm::AssignmentForm(std::string_view text)
{
    std::string normalised(text);
    for (char& character : normalised) {
        if (character == '\t')
            character = ' ';
    }
    std::string_view form = TrimLeadingBlanks(normalised);
    if (form.size() < 2)
        return;
    for (const auto& entry : g_assignmentOperators) {
        if (form.substr(0, 2) == entry.text) {
            kind = entry.kind;
            expression.SetText(std::string(form.substr(2)));
            return;
        }
    }
    if (form.front() != '=')
        return;
    std::string_view value = form.substr(1);
    auto [word, remainder] = SplitFirstWord(value);
    if (SameName(word, "Nothing")) {
        kind = AssignmentKind::Nothing;
    } else if (SameName(word, "new")) {
        kind = AssignmentKind::New;
        className.assign(SplitFirstWord(remainder).first);
    } else if (SameName(word, "CreateVosObject")) {
        kind = AssignmentKind::CreateVosObject;
        expression.SetText(std::string(remainder));
    } else {
        kind = AssignmentKind::Expression;
        expression.SetText(std::string(value));
    }
}

PlainForm::PlainForm(std::string_view text) : assignment(SplitFirstWord(text).rest)
{
    auto [word, remainder] = SplitFirstWord(text);
    firstWord.assign(word);
    rest.assign(remainder);
    callArguments.SetText(rest);
    if (firstWord.size() > 1 && firstWord.find('.', 1) != std::string::npos) {
        shape = PlainShape::MemberCall;
    } else if (SameName(firstWord, "var")) {
        shape = PlainShape::Declaration;
        auto [type, names] = SplitFirstWord(rest);
        typeName.assign(type);
        while (!names.empty()) {
            auto [item, others] = SplitAtSeparator(names, ",");
            auto [name, initialiser] = SplitFirstWord(item);
            DeclarationItem declaration{std::string(name), nullptr};
            if (!initialiser.empty())
                declaration.initialiser = std::make_unique<AssignmentForm>(initialiser);
            declarations.push_back(std::move(declaration));
            names = others;
        }
    } else if (SameName(firstWord, "Set")) {
        auto [name, remainderOfSet] = SplitFirstWord(rest);
        setName.assign(name);
        setAssignment = std::make_unique<AssignmentForm>(remainderOfSet);
    }
}

LineForm::LineForm(std::string_view text)
{
    if (text.empty() || text == "{") {
        kind = LineKind::Skip;
        return;
    }
    if (text.back() == ':') {
        kind = LineKind::Label;
        return;
    }
    auto [word, remainder] = SplitFirstWord(text);
    for (const auto& entry : g_controlWords) {
        if (SameName(word, entry.text)) {
            kind = LineKind::Control;
            keyword = entry.keyword;
            rest.assign(remainder);
            if (keyword == ControlKeyword::Return)
                returnValue.SetText(rest);
            return;
        }
    }
    kind = LineKind::Plain;
    plain = std::make_unique<PlainForm>(text);
}
