#pragma once

#include "script/objects/block_pool.h"
#include "script/objects/method_table.h"
#include "script/script_object.h"

#include <cstdint>
#include <string>
#include <vector>

// The methods of the "string" class, and those of "int", "double" and "bool".
[[nodiscard]] std::vector<MethodName> StringMethodNames();
[[nodiscard]] std::vector<MethodName> NumberMethodNames();

// The four scalar classes that hold the typed values. Their arithmetic changes the held number
// in place and never has undefined results: integers wrap around on addition, a product or
// quotient out of range is held at the nearest 32-bit limit, and a remainder by zero leaves the
// number as it was.

class StringObject final : public ScriptObject {
public:
    SCRIPT_POOLED_ALLOCATION(StringObject)
    StringObject();
    explicit StringObject(std::string text);

    [[nodiscard]] Counted<ScriptObject> CreateInstance(const std::string& instanceName) override;
    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override;
    [[nodiscard]] std::string ToString() const override { return m_text; }
    [[nodiscard]] std::int32_t ToInt() const override;
    [[nodiscard]] double ToNumber() const override;
    [[nodiscard]] bool IsEqual(const ScriptValue* other) const override;

    [[nodiscard]] const std::string& Text() const { return m_text; }
    void Set(std::string text) { m_text = std::move(text); }
    void Append(const std::string& text) { m_text += text; }

private:
    std::string m_text;
};

class IntObject final : public ScriptObject {
public:
    SCRIPT_POOLED_ALLOCATION(IntObject)
    explicit IntObject(std::int32_t number = 0);

    [[nodiscard]] Counted<ScriptObject> CreateInstance(const std::string& instanceName) override;
    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override;
    [[nodiscard]] std::string ToString() const override;
    [[nodiscard]] std::int32_t ToInt() const override { return m_number; }
    [[nodiscard]] double ToNumber() const override { return m_number; }

    [[nodiscard]] std::int32_t Number() const { return m_number; }
    void Set(std::int32_t number) { m_number = number; }
    void AddInt(std::int32_t number);
    void MultiplyBy(double factor);
    void DivideBy(double divisor);
    void ModuloBy(std::int32_t divisor);

private:
    std::int32_t m_number;
};

class DoubleObject final : public ScriptObject {
public:
    SCRIPT_POOLED_ALLOCATION(DoubleObject)
    explicit DoubleObject(double number = 0.0);

    [[nodiscard]] Counted<ScriptObject> CreateInstance(const std::string& instanceName) override;
    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override;
    [[nodiscard]] std::string ToString() const override;
    [[nodiscard]] std::int32_t ToInt() const override;
    [[nodiscard]] double ToNumber() const override { return m_number; }

    [[nodiscard]] double Number() const { return m_number; }
    void Set(double number) { m_number = number; }
    void AddNumber(double number) { m_number += number; }
    void MultiplyBy(double factor) { m_number *= factor; }
    // Division by zero follows the floating-point rules: infinity, or NaN for 0 / 0.
    void DivideBy(double divisor) { m_number /= divisor; }
    void ModuloBy(std::int32_t divisor);

private:
    double m_number;
};

class BoolObject final : public ScriptObject {
public:
    SCRIPT_POOLED_ALLOCATION(BoolObject)
    explicit BoolObject(std::int32_t number = 0);

    [[nodiscard]] Counted<ScriptObject> CreateInstance(const std::string& instanceName) override;
    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override;
    [[nodiscard]] std::string ToString() const override { return m_number != 0 ? "1" : "0"; }
    [[nodiscard]] std::int32_t ToInt() const override { return m_number; }
    [[nodiscard]] double ToNumber() const override { return m_number; }

    [[nodiscard]] std::int32_t Number() const { return m_number; }
    void Set(std::int32_t number) { m_number = number; }

private:
    std::int32_t m_number;
};

// The remainder of two 32-bit integers with the sign of the left one; false for a divisor of 0
// (INT_MIN % -1 is 0, as arithmetic says).
[[nodiscard]] bool IntegerRemainder(std::int32_t left, std::int32_t right, std::int32_t& remainder);
