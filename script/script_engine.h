#pragma once

#include "script/argument_list.h"
#include "script/compiled_expression.h"
#include "script/counted.h"
#include "script/evaluator_host.h"
#include "script/expression_evaluator.h"
#include "script/script_function.h"
#include "script/script_host.h"
#include "script/script_object.h"
#include "script/statement_observer.h"
#include "script/variable_list.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class FunctionInstance;
struct EvaluatorSlot;

// Error codes of the engine's error state.
enum ScriptErrorCode : std::int32_t {
    ErrorNone = 0,
    ErrorWhileWithoutCondition = 1,
    ErrorPlainStatement = 3,
    ErrorDoWithoutCondition = 4,
    ErrorSwitch = 5,
    ErrorFor = 6,
    ErrorBreakOutsideBlock = 7,
    ErrorMemberCall = 8,
    ErrorReturnValue = 9,
    ErrorFunctionHeader = 10,
    ErrorNoSuchFunction = 11,
    ErrorNotAnObject = 12,
    ErrorNotAVariable = 13,
    ErrorDeclaredType = 14,
    ErrorUnmatchedBrace = 15,
    ErrorVarWithoutName = 16,
    ErrorCallsTooDeep = 17,     // more nested calls than the engine allows
    ErrorLineBudgetSpent = 18,  // a host-set budget of executed lines ran out
};

// The line of an error found while a statement runs: the run loop that stops on the error
// puts in the line it was running.
inline constexpr std::int32_t LineOfRunningStatement = -1;

// How an error's code meets an error recorded before it. The first error wins; a failed "var"
// initialiser gives the first error its code when that had none, and a failed assignment
// after a variable name puts its code over the first one's.
enum class ErrorCodeRule { FirstWins, FillMissing, Replace };

// The first error of the engine's life: once the flag is set, later errors change only its
// code, where their rule says so, and the run loops update the line.
struct ScriptError {
    bool flag = false;
    ScriptErrorCode code = ErrorNone;
    std::int32_t line = 0;
    std::int32_t secondLine = 0;
    std::string word;
};

// The interpreter a host embeds: it loads a script, is given host objects and constants,
// calls script functions by name and reports the first error.
class ScriptEngine {
public:
    // Nested script calls allowed at once; one more fails with ErrorCallsTooDeep. Each nested
    // call keeps under 600 bytes on the native stack, so the limit fits a 1 MB stack.
    static constexpr std::size_t DefaultCallDepthLimit = 1000;
    // Native stack that nested calls may take before they fail: 1000 nested calls need about
    // 600 KB, and the rest of a 1 MB main-thread stack stays for the host and the system calls
    // of the innermost call. A host that opens pages from the deepest call needs more below it.
    static constexpr std::size_t NativeStackLimit = 768 * 1024;

    explicit ScriptEngine(ScriptHost* host = nullptr);
    virtual ~ScriptEngine();
    ScriptEngine(const ScriptEngine&) = delete;
    ScriptEngine& operator=(const ScriptEngine&) = delete;

    // Makes a host object for "CreateVosObject": an object of a system class that the host
    // lends, else none.
    [[nodiscard]] virtual Counted<ScriptObject> CreateObject(const std::string& name);

    // Loading: functions, global variables and VBScript includes.
    [[nodiscard]] bool LoadText(std::string_view text);
    void SetScriptFolder(std::string folder) { m_scriptFolder = std::move(folder); }
    [[nodiscard]] const std::string& ScriptFolder() const { return m_scriptFolder; }
    void SetVbsCode(std::string code) { m_vbsCode = std::move(code); }
    [[nodiscard]] const std::string& VbsCode() const { return m_vbsCode; }
    void SetDefaultCaption(std::string caption) { m_defaultCaption = std::move(caption); }
    [[nodiscard]] const std::string& DefaultCaption() const { return m_defaultCaption; }

    // Registration.
    void RegisterClass(Counted<ScriptObject> classObject, const std::string& name);
    void RegisterObject(const std::string& name, Counted<ScriptObject> object);
    void DefineConstant(const std::string& name, std::string_view text, TypeCode type);
    [[nodiscard]] ScriptObject* FindClass(std::string_view name) const;
    [[nodiscard]] bool HasFunction(std::string_view name) const;
    [[nodiscard]] ScriptFunction* FindFunction(std::string_view name) const;

    // A variable declared with a type name: a registered class is needed for every type but
    // "IVosObject"; a class name outside the type table gives an object variable. None when
    // the type cannot be declared.
    [[nodiscard]] Counted<ScriptVariable> CreateDeclaredVariable(std::string_view typeName, std::string_view name);

    // Calls a script function. arguments may be null; caller is the calling function's
    // instance, or null for a call by the host.
    [[nodiscard]] bool CallFunction(const std::string& name, ArgumentList* arguments, FunctionInstance* caller);
    // A call as a script makes it: a script function, a built-in command or an object method
    // ("object.method"); arguments flagged "out" are stored back afterwards.
    [[nodiscard]] bool CallByName(const std::string& name, ArgumentList& arguments, FunctionInstance* caller);

    // Variable lookup in the scope of a running call (null: the globals only).
    [[nodiscard]] ScriptVariable* FindVariable(std::string_view name, FunctionInstance* instance);
    [[nodiscard]] ScriptVariable* FindVariable(std::string_view name, FunctionInstance* instance, VariableLookupCache& cache);
    [[nodiscard]] std::string VariableValueText(std::string_view name, FunctionInstance* instance, bool& found);
    // How built-in commands read a word: a variable's text, a quoted literal without its
    // quotes, or the word itself.
    [[nodiscard]] std::string VariableText(std::string_view name, FunctionInstance* instance);
    [[nodiscard]] std::string ValueText(const ScriptValue& value, FunctionInstance* instance);
    // Stores into the variable (keeping its type); a missing one becomes a new global, a
    // read-only one is left as it is.
    void SetVariable(std::string_view name, const ScriptValue& value, FunctionInstance* instance,
                     VariableLookupCache* cache = nullptr);

    // Expressions in the scope of a running call, each by a fresh evaluator. A failure sets
    // the error flag and word (no code).
    [[nodiscard]] bool EvaluateCondition(std::string_view text, FunctionInstance* instance);
    [[nodiscard]] bool EvaluateCondition(const CachedExpression& expression, FunctionInstance* instance);
    [[nodiscard]] bool Evaluate(const CachedExpression& expression, FunctionInstance* instance, ScriptValue& value,
                                std::string& errorWord);

    [[nodiscard]] VariableList& GlobalVariables() { return m_listUserVar; }
    [[nodiscard]] const std::vector<Counted<ScriptFunction>>& Functions() const { return m_listSegment; }
    [[nodiscard]] std::size_t CallDepth() const { return m_listSegIns.size(); }
    [[nodiscard]] ScriptHost& Host() const { return *m_host; }

    // Every error of a script goes through here. The first error is recorded whole (flag, code,
    // word and line); a later one changes at most the code, by its rule. A failure without a
    // code of its own passes ErrorNone.
    void SetError(ScriptErrorCode code, std::string_view word = {}, std::int32_t line = LineOfRunningStatement,
                  ErrorCodeRule rule = ErrorCodeRule::FirstWins);
    // The run loop that stops on the error names the line it was running.
    void SetErrorLocation(std::int32_t line, std::int32_t secondLine);
    [[nodiscard]] const ScriptError& Error() const { return m_error; }
    [[nodiscard]] bool HasError() const { return m_error.flag; }

    // Limits a host may set: nested calls, and executed lines (0: no budget). A script that
    // exceeds one fails with its error code.
    void SetCallDepthLimit(std::size_t limit) { m_callDepthLimit = limit; }
    void SetLineBudget(std::uint64_t lines) { m_lineBudget = lines; }
    [[nodiscard]] std::uint64_t ExecutedLineCount() const { return m_executedLines; }
    // Counts one executed line; false when the budget is spent.
    [[nodiscard]] bool CountExecutedLine();

    // The change counter of every variable list of the engine; lookup caches compare it.
    [[nodiscard]] std::uint64_t* VariableChangeCounter() { return &m_variableChanges; }

    // Evaluators are reused: each is reset before it serves again, which makes it a fresh one.
    [[nodiscard]] EvaluatorSlot* AcquireEvaluator(FunctionInstance* instance);
    void ReleaseEvaluator(EvaluatorSlot* slot);

    // The observer told of each statement and host call (a tracing host's); null for none.
    void SetObserver(StatementObserver* observer) { m_observer = observer; }
    [[nodiscard]] StatementObserver* Observer() const { return m_observer; }

    // Native stack that nested script calls may take, measured from the host's outermost call
    // (0: no limit); beyond it a call fails with ErrorCallsTooDeep, as beyond the depth limit.
    void SetStackLimit(std::size_t bytes) { m_stackLimit = bytes; }

private:
    friend class ScriptLoader;

    void RegisterBuiltInClasses();
    [[nodiscard]] bool MayCallDeeper();
    void ReportCallsTooDeep(const ScriptFunction& function, FunctionInstance* caller);
    [[nodiscard]] bool CallScriptFunction(ScriptFunction& function, ArgumentList* arguments, FunctionInstance* caller);
    [[nodiscard]] FunctionInstance* StartCall(ScriptFunction& function, ArgumentList* arguments, FunctionInstance* caller);
    bool FinishCall(FunctionInstance* running, bool ran, ArgumentList* arguments, FunctionInstance* caller);
    [[nodiscard]] bool CallCommandOrMember(const std::string& name, std::string::size_type dot, ArgumentList& arguments,
                                           FunctionInstance* caller);
    [[nodiscard]] bool BindArguments(FunctionInstance& instance, ArgumentList& arguments, FunctionInstance* caller);
    void WriteBackOutParameters(FunctionInstance& instance, FunctionInstance* caller);
    [[nodiscard]] bool CallMember(const std::string& name, std::string::size_type dot, ArgumentList& arguments,
                                  FunctionInstance* caller);
    [[nodiscard]] ScriptVariable* FindMemberVariable(std::string_view name, std::string_view::size_type dot,
                                                     FunctionInstance* instance);

    ScriptHost* m_host;
    std::vector<Counted<ScriptFunction>> m_listSegment;
    VariableList m_listUserVar;
    std::vector<Counted<ScriptObject>> m_listExtClass;
    std::vector<FunctionInstance*> m_listSegIns; // the running calls, newest last
    std::string m_scriptFolder;
    std::string m_vbsCode;
    std::string m_defaultCaption;
    ScriptError m_error;
    std::size_t m_callDepthLimit = DefaultCallDepthLimit;
    std::uint64_t m_lineBudget = 0;
    std::uint64_t m_executedLines = 0;
    std::uint64_t m_variableChanges = 0;
    std::uint64_t m_nextInstanceSerial = 1;
    std::vector<std::unique_ptr<EvaluatorSlot>> m_evaluators; // every evaluator made
    std::vector<EvaluatorSlot*> m_idleEvaluators;
    std::size_t m_stackLimit;
    std::uintptr_t m_stackBase = 0;
    StatementObserver* m_observer = nullptr;
};

// The engine's side of the evaluator: variables and calls in the scope of one running call.
class EngineEvaluatorHost final : public EvaluatorHost {
public:
    explicit EngineEvaluatorHost(ScriptEngine& engine) : m_engine(engine) {}

    void SetInstance(FunctionInstance* instance) { m_instance = instance; }
    [[nodiscard]] bool CallFunction(const std::string& name, ArgumentList& arguments) override;
    [[nodiscard]] const ScriptValue* FindVariableValue(const std::string& name, VariableLookupCache* cache) override;
    void PrepareArguments(ArgumentList& arguments) override;

private:
    ScriptEngine& m_engine;
    FunctionInstance* m_instance = nullptr;
};

// An evaluator together with the engine's side of it.
struct EvaluatorSlot {
    explicit EvaluatorSlot(ScriptEngine& engine) : host(engine) { evaluator.SetHost(&host); }

    ExpressionEvaluator evaluator;
    EngineEvaluatorHost host;
};

// A fresh evaluator for one expression in the scope of a running call, returned to the engine
// when the lease ends. Two pointers: leases sit in the frames of nested script calls.
class EvaluatorLease {
public:
    EvaluatorLease(ScriptEngine& engine, FunctionInstance* instance)
        : m_engine(engine), m_slot(engine.AcquireEvaluator(instance))
    {
    }
    ~EvaluatorLease() { m_engine.ReleaseEvaluator(m_slot); }
    EvaluatorLease(const EvaluatorLease&) = delete;
    EvaluatorLease& operator=(const EvaluatorLease&) = delete;

    ExpressionEvaluator* operator->() const { return &m_slot->evaluator; }
    ExpressionEvaluator& operator*() const { return m_slot->evaluator; }

private:
    ScriptEngine& m_engine;
    EvaluatorSlot* m_slot;
};
