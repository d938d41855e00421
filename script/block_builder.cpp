// Control blocks are found by scanning the lines after the opening line for braces and branch
// lines. A block is built the first time its line runs and kept with the line.
#include "script/function_instance.h"
#include "script/line_form.h"
#include "script/script_text.h"
#include "script/statement_runner.h"

namespace {

// Switches nested deeper than this are not built, so that a script made of nothing but
// nested switches cannot exhaust the native stack.
constexpr int MaximumSwitchNesting = 64;

using Lines = std::vector<BodyLine>;

std::int32_t LineCount(const ScriptFunction& function) { return static_cast<std::int32_t>(function.LineCount()); }

TextSplit WordsOf(const ScriptFunction& function, std::int32_t index)
{
    return SplitFirstWord(function.Body()[index].text);
}

//   if -> "if" condition body { "else" "if" condition body } [ "else" body ]
std::unique_ptr<BlockRecord> BuildIf(const ScriptFunction& function, std::int32_t start)
{
    auto block = std::make_unique<BlockRecord>();
    block->kind = BlockKind::If;
    block->startLine = start;
    std::int32_t end = FindBlockEnd(function, start + 1);
    if (end < 0)
        return nullptr;
    block->branches.push_back({start, end, CachedExpression(std::string(WordsOf(function, start).rest))});
    while (end + 1 < LineCount(function)) {
        std::int32_t next = end + 1;
        auto [word, rest] = WordsOf(function, next);
        if (!SameName(word, "else"))
            break;
        if (rest.empty()) {
            end = FindBlockEnd(function, next + 1);
            if (end < 0)
                return nullptr;
            block->branches.push_back({next, end, CachedExpression()});
            break;
        }
        auto [ifWord, condition] = SplitFirstWord(rest);
        if (!SameName(ifWord, "if") || condition.empty())
            return nullptr; // an "else" followed by anything else
        end = FindBlockEnd(function, next + 1);
        if (end < 0)
            return nullptr;
        block->branches.push_back({next, end, CachedExpression(std::string(condition))});
    }
    block->endLine = end;
    return block;
}

//   while -> "while" condition body
std::unique_ptr<BlockRecord> BuildWhile(const ScriptFunction& function, std::int32_t start)
{
    auto block = std::make_unique<BlockRecord>();
    block->kind = BlockKind::While;
    block->startLine = start;
    block->condition.SetText(std::string(WordsOf(function, start).rest));
    block->endLine = FindBlockEnd(function, start + 1);
    if (block->endLine < 0)
        return nullptr;
    return block;
}

//   do -> "Do" body "While" condition
std::unique_ptr<BlockRecord> BuildDo(const ScriptFunction& function, std::int32_t start)
{
    if (!SameName(WordsOf(function, start).first, "Do"))
        return nullptr;
    std::int32_t bodyEnd = FindBlockEnd(function, start + 1);
    if (bodyEnd < 0 || bodyEnd + 1 >= LineCount(function))
        return nullptr;
    auto [word, condition] = WordsOf(function, bodyEnd + 1);
    if (!SameName(word, "While"))
        return nullptr;
    auto block = std::make_unique<BlockRecord>();
    block->kind = BlockKind::Do;
    block->startLine = start;
    block->endLine = bodyEnd + 1;
    block->condition.SetText(std::string(condition));
    return block;
}

std::unique_ptr<BlockRecord> BuildSwitch(const ScriptFunction& function, std::int32_t start, int nesting);

const BlockRecord* CachedSwitch(const ScriptFunction& function, std::int32_t index, int nesting)
{
    const LineForm& form = FormOfLine(function, index);
    if (!form.block) {
        if (nesting > MaximumSwitchNesting)
            return nullptr;
        form.block = BuildSwitch(function, index, nesting);
    }
    return form.block.get();
}

//   switch -> "Switch" selector "{" { "case" label [":"] | "Default:" | line } "}"
// The case conditions are made here, as "(selector) == (label)".
std::unique_ptr<BlockRecord> BuildSwitch(const ScriptFunction& function, std::int32_t start, int nesting)
{
    auto [keyword, selector] = WordsOf(function, start);
    if (!SameName(keyword, "Switch"))
        return nullptr;
    auto block = std::make_unique<BlockRecord>();
    block->kind = BlockKind::Switch;
    block->startLine = start;
    block->condition.SetText(std::string(selector));
    block->endLine = FindBlockEnd(function, start + 1);
    if (block->endLine <= 0)
        return nullptr;
    std::int32_t last = std::min(block->endLine, LineCount(function) - 1);
    for (std::int32_t index = start + 1; index <= last; ++index) {
        const std::string& text = function.Body()[index].text;
        auto [word, rest] = WordsOf(function, index);
        if (SameName(word, "case")) {
            auto labelEnd = rest.find_last_not_of(':');
            std::string label(rest.substr(0, labelEnd == std::string_view::npos ? 0 : labelEnd + 1));
            block->branches.push_back({index, -1, CachedExpression("(" + std::string(selector) + ") == (" + label + ")")});
        } else if (SameName(text, "Default:")) {
            block->branches.push_back({index, -1, CachedExpression()});
        } else if (SameName(word, "switch")) {
            const BlockRecord* nested = CachedSwitch(function, index, nesting + 1);
            if (!nested)
                return nullptr;
            index = std::max(index, nested->endLine);
        }
    }
    return block;
}

//   for -> "for" ["("] initialisation ";" condition ";" step [")"] body
std::unique_ptr<BlockRecord> BuildFor(const ScriptFunction& function, std::int32_t start)
{
    std::string_view header = TrimBlanks(WordsOf(function, start).rest);
    while (!header.empty() && header.front() == '(')
        header.remove_prefix(1);
    while (!header.empty() && header.back() == ')')
        header.remove_suffix(1);
    auto [initialisation, afterInitialisation] = SplitAtSeparator(header, ";");
    auto [condition, step] = SplitAtSeparator(afterInitialisation, ";");
    auto block = std::make_unique<BlockRecord>();
    block->kind = BlockKind::For;
    block->startLine = start;
    block->condition.SetText(std::string(condition));
    block->initialisation = std::make_unique<PlainForm>(initialisation);
    block->step = std::make_unique<PlainForm>(step);
    block->endLine = FindBlockEnd(function, start + 1);
    if (block->endLine <= 0)
        return nullptr;
    return block;
}

}

std::int32_t FindBlockEnd(const ScriptFunction& function, std::int32_t index)
{
    const auto& body = function.Body();
    if (index < 0 || index >= LineCount(function) || body[index].text != "{")
        return index;
    int depth = 1;
    for (std::int32_t line = index + 1; line < LineCount(function); ++line) {
        if (body[line].text == "{")
            ++depth;
        else if (body[line].text == "}" && --depth == 0)
            return line;
    }
    return -1;
}

const BlockRecord* BuildBlock(const ScriptFunction& function, std::int32_t index, BlockKind kind)
{
    const LineForm& form = FormOfLine(function, index);
    if (form.block)
        return form.block.get();
    std::unique_ptr<BlockRecord> block;
    switch (kind) {
    case BlockKind::If: block = BuildIf(function, index); break;
    case BlockKind::While: block = BuildWhile(function, index); break;
    case BlockKind::Do: block = BuildDo(function, index); break;
    case BlockKind::Switch: return CachedSwitch(function, index, 0);
    case BlockKind::For: block = BuildFor(function, index); break;
    }
    form.block = std::move(block);
    return form.block.get();
}
