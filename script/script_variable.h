#pragma once

#include "script/counted.h"
#include "script/script_value.h"

#include <cstdint>
#include <string>

// A named value. Host constants are read-only: every store by name into them is skipped.
class ScriptVariable final : public CountedBase {
public:
    static constexpr std::uint32_t OutFlag = 1; // written back to the caller after a call

    ScriptVariable() = default;
    explicit ScriptVariable(std::string name) : m_name(std::move(name)) {}

    [[nodiscard]] const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    [[nodiscard]] ScriptValue& Value() { return m_value; }
    [[nodiscard]] const ScriptValue& Value() const { return m_value; }

    [[nodiscard]] std::uint32_t Flags() const { return m_flags; }
    void SetFlags(std::uint32_t flags) { m_flags = flags; }
    [[nodiscard]] bool IsOut() const { return (m_flags & OutFlag) != 0; }
    void SetOut() { m_flags |= OutFlag; }

    [[nodiscard]] bool IsReadOnly() const { return m_readOnly; }
    void SetReadOnly() { m_readOnly = true; }

private:
    std::uint32_t m_flags = 0;
    std::string m_name;
    ScriptValue m_value;
    bool m_readOnly = false;
};
