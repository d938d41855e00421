#include "script/objects/method_arguments.h"

#include "script/argument_list.h"
#include "script/script_engine.h"
#include "script/script_object.h"
#include "script/script_text.h"

std::string MethodText(const ScriptObject& object, const ArgumentList& arguments, std::size_t number,
                       FunctionInstance* caller)
{
    std::string text = arguments.ArgText(number, true);
    ScriptEngine* engine = object.Engine() ? object.Engine() : arguments.Engine();
    return engine ? engine->VariableText(text, caller) : text;
}

std::int32_t MethodNumber(const ScriptObject& object, const ArgumentList& arguments, std::size_t number,
                          FunctionInstance* caller)
{
    return ReadDecimalInt(MethodText(object, arguments, number, caller));
}
