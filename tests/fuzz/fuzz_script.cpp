// Loads any text as a script, evaluates expressions with it and calls its functions: nothing
// may crash, hang or leak. The input is a script, then optionally a NUL byte and expressions,
// one per line. Scripts run with a line budget and a small call depth, so that loops and
// recursion end quickly.
#include "script/argument_list.h"
#include "script/compiled_expression.h"
#include "script/expression_evaluator.h"
#include "script/script_engine.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr std::uint64_t LineBudget = 4000;
constexpr std::size_t CallDepth = 40;

void EvaluateExpressions(ScriptEngine& engine, std::string_view expressions)
{
    while (!expressions.empty()) {
        auto end = expressions.find('\n');
        std::string_view expression = expressions.substr(0, end);
        expressions = end == std::string_view::npos ? std::string_view{} : expressions.substr(end + 1);
        (void)engine.EvaluateCondition(expression, nullptr);
        CachedExpression cached{std::string(expression)};
        ScriptValue value;
        std::string errorWord;
        (void)engine.Evaluate(cached, nullptr, value, errorWord);
        (void)value.ToString();
        ArgumentList arguments(&engine, nullptr);
        (void)arguments.ParseArguments(expression);
        for (std::size_t number = 1; number <= arguments.Count(); ++number)
            (void)arguments.ArgText(number, true);
    }
}

void PrepareEngine(ScriptEngine& engine)
{
    engine.SetLineBudget(LineBudget);
    engine.SetCallDepthLimit(CallDepth);
    engine.SetVbsCode("Function F()\r\nEnd Function");
}

// Calls the first few loaded functions with two text arguments, each in an engine of its own
// (the first error of an engine stops every later call after its first line).
void CallFunctions(std::string_view script, std::size_t count)
{
    for (std::size_t index = 0; index < count && index < 4; ++index) {
        ScriptEngine engine;
        PrepareEngine(engine);
        (void)engine.LoadText(script);
        if (index >= engine.Functions().size())
            return;
        Counted<ScriptFunction> function = engine.Functions()[index];
        ArgumentList arguments(&engine, nullptr);
        for (const char* text : {"1", "x"}) {
            auto argument = MakeCounted<ScriptVariable>();
            argument->Value().SetText(text);
            arguments.AppendVariable(std::move(argument));
        }
        (void)engine.CallFunction(function->Name(), &arguments, nullptr);
        (void)arguments.Result().ToString();
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    auto separator = input.find('\0');
    std::string_view script = input.substr(0, separator);
    std::string_view expressions = separator == std::string_view::npos ? std::string_view{} : input.substr(separator + 1);

    std::size_t functionCount = 0;
    {
        ScriptEngine engine;
        PrepareEngine(engine);
        (void)engine.LoadText(script);
        functionCount = engine.Functions().size();
        EvaluateExpressions(engine, expressions);
    }
    CallFunctions(script, functionCount);
    return 0;
}
