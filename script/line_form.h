#pragma once

#include "script/compiled_expression.h"
#include "script/evaluator_host.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What the statement runner reads out of a line's text. Statements are interpreted from their
// text each time they run; the parts that follow from the text alone (the split into words,
// the assignment form, the tokens of expressions, the extent of blocks) are worked out the
// first time and kept with the line. Whatever depends on the running script (which names are
// variables, what they hold) is still decided each time.

//   assignment -> "++" | "--" | ("+=" | "-=" | "*=" | "%=" | "/=") expression
//               | "=" ( "Nothing" | "new" class-name | "CreateVosObject" arguments | expression )
enum class AssignmentKind : std::uint8_t {
    Invalid, Increment, Decrement, AddExpression, SubtractExpression, MultiplyExpression, ModuloExpression,
    DivideExpression, Nothing, New, CreateVosObject, Expression,
};

struct AssignmentForm {
    explicit AssignmentForm(std::string_view text);

    AssignmentKind kind = AssignmentKind::Invalid;
    CachedExpression expression; // the expression, or the argument text of CreateVosObject
    std::string className;       // of "new"
};

enum class PlainShape : std::uint8_t { MemberCall, Declaration, Other };

// One declared name of a "var" statement and its initialiser, if any.
struct DeclarationItem {
    std::string name;
    std::unique_ptr<AssignmentForm> initialiser;
};

//   plain -> object "." method arguments | "var" type-name item { "," item } | name assignment
//          | "Set" name assignment | "Goto" label | name arguments
struct PlainForm {
    explicit PlainForm(std::string_view text);

    std::string firstWord;
    std::string rest;
    PlainShape shape = PlainShape::Other;
    mutable VariableLookupCache firstWordLookup;
    AssignmentForm assignment;     // the rest, when the first word is a variable
    CachedExpression callArguments; // the rest, when the line is a call
    // "Set" name assignment
    std::string setName;
    std::unique_ptr<AssignmentForm> setAssignment;
    // "var" type-name items
    std::string typeName;
    std::vector<DeclarationItem> declarations;
};

enum class BlockKind : std::uint8_t { If = 1, While = 2, Do = 3, Switch = 4, For = 5 };

// One branch of an "if" ("if", "else if", "else") or one entry of a "switch" ("case",
// "Default:"). The condition is empty for the last "else" and for "Default:".
struct BranchRecord {
    std::int32_t startLine;
    std::int32_t endLine;
    CachedExpression condition;
};

// A control block as its lines lay it out: where it starts and ends, its condition, branches
// and, for "for", its initialisation and step.
struct BlockRecord {
    BlockKind kind;
    std::int32_t startLine;
    std::int32_t endLine;
    CachedExpression condition;
    std::vector<BranchRecord> branches;
    std::unique_ptr<PlainForm> initialisation;
    std::unique_ptr<PlainForm> step;
};

enum class LineKind : std::uint8_t { Skip, Label, Control, Plain };

enum class ControlKeyword : std::uint8_t { If, CloseBrace, While, For, Switch, Case, Do, Break, Return };

struct LineForm {
    explicit LineForm(std::string_view text);

    LineKind kind = LineKind::Plain;
    ControlKeyword keyword = ControlKeyword::If;
    std::string rest;                   // the text after a control keyword
    CachedExpression returnValue;       // of "return"
    std::unique_ptr<PlainForm> plain;   // of a plain statement
    mutable std::unique_ptr<BlockRecord> block; // of a control line, once built
};
