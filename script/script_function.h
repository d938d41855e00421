#pragma once

#include "script/argument_list.h"
#include "script/counted.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ScriptEngine;
struct LineForm;

// One line of a function body as loaded: its text (trimmed, trailing ";" cut), the number of
// its source line, and a second location number that loading sets to -1. What the statement
// runner derives from the text is kept with the line the first time it runs.
struct BodyLine {
    BodyLine(std::string text, std::int32_t sourceLine, std::int32_t second);
    BodyLine(BodyLine&& other) noexcept;
    ~BodyLine();

    std::string text;
    std::int32_t sourceLine;
    std::int32_t second;
    mutable std::unique_ptr<LineForm> form;
};

enum class FunctionKind : std::int32_t { Section = 1, Function = 2 };

// A loaded "Section" or "Function": its header, its parameters and its body lines.
class ScriptFunction final : public CountedBase {
public:
    ScriptFunction(FunctionKind kind, std::string name);

    [[nodiscard]] FunctionKind Kind() const { return m_kind; }
    [[nodiscard]] const std::string& Name() const { return m_name; }
    [[nodiscard]] std::int32_t HeaderLine() const { return m_headerLine; }
    void SetHeaderLine(std::int32_t line) { m_headerLine = line; }

    // The declared parameters in order (name, type in the value, "out" in the flags); the
    // result value carries the declared return type.
    [[nodiscard]] ArgumentList& Parameters() { return m_parameters; }
    [[nodiscard]] const ArgumentList& Parameters() const { return m_parameters; }

    [[nodiscard]] const std::vector<BodyLine>& Body() const { return m_body; }
    [[nodiscard]] std::size_t LineCount() const { return m_body.size(); }
    void AppendLine(std::string text, std::int32_t sourceLine);

    // The index of the first line that ends with ":" and whose text without its trailing ":"
    // equals the name (any case); -1 when there is none.
    [[nodiscard]] std::int32_t FindLabel(std::string_view name) const;

private:
    std::int32_t m_headerLine = -1;
    FunctionKind m_kind;
    std::string m_name;
    std::vector<BodyLine> m_body;
    ArgumentList m_parameters;
};

// Builds a function from its header line ("Section name" or "Function type name(parameters)").
// None when the header cannot be built: a missing ")", an empty parameter, or a parameter type
// that is neither a type name nor a class registered with the engine.
[[nodiscard]] Counted<ScriptFunction> BuildFunction(std::string_view header, const ScriptEngine& engine);
