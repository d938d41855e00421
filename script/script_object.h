#pragma once

#include "script/counted.h"
#include "script/variable_list.h"

#include <cstdint>
#include <string>

class ArgumentList;
class FunctionInstance;
class ScriptEngine;
class ScriptValue;
class ScriptVariable;

// Every object a script can hold: the scalar value classes, the named-value stores, the system
// objects and the host's objects. Subclasses override what they know; the base knows no method
// and converts to the empty text and 0.
class ScriptObject : public CountedBase {
public:
    explicit ScriptObject(std::string className = {});

    // A new, empty object of the same class, carrying the given instance name.
    [[nodiscard]] virtual Counted<ScriptObject> CreateInstance(const std::string& instanceName);
    // True when the class knows the method, whatever the method itself achieved.
    [[nodiscard]] virtual bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller);
    virtual bool SetMember(const std::string& name, const std::string& text);
    [[nodiscard]] virtual ScriptVariable* FindMember(const std::string& name);

    [[nodiscard]] virtual std::string ToString() const;
    [[nodiscard]] virtual std::int32_t ToInt() const;
    [[nodiscard]] virtual double ToNumber() const;
    [[nodiscard]] virtual bool IsEqual(const ScriptValue* other) const;

    [[nodiscard]] const std::string& ClassName() const { return m_className; }
    void SetClassName(std::string name) { m_className = std::move(name); }
    [[nodiscard]] const std::string& InstanceName() const { return m_instanceName; }
    void SetInstanceName(std::string name) { m_instanceName = std::move(name); }
    [[nodiscard]] ScriptEngine* Engine() const { return m_engine; }
    void SetEngine(ScriptEngine* engine) { m_engine = engine; }
    [[nodiscard]] VariableList& Members() { return m_members; }

    // The type code (2 string, 3 int, 4 double, 5 bool) of a scalar class, 0 for every other
    // class; values use it to reach the held number without asking through virtual calls.
    [[nodiscard]] std::int32_t ScalarType() const { return m_scalarType; }

protected:
    ~ScriptObject() override;
    void SetScalarType(std::int32_t type) { m_scalarType = type; }

private:
    std::int32_t m_scalarType = 0;
    std::string m_instanceName;
    std::string m_className;
    VariableList m_members;
    ScriptEngine* m_engine = nullptr;
};
