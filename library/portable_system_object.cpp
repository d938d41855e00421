#include "library/portable_system_object.h"

#include "library/voe_string.h"
#include "script/argument_list.h"

bool SystemObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller)
{
    for (std::size_t index = 0; index < m_rowCount; ++index) {
        const Row& row = m_rows[index];
        if (MethodNameMatches(row.name, row.match, name)) {
            row.handler(*this, arguments, caller);
            return true;
        }
    }
    return false;
}

void ScrambleTextMethod(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    arguments.SetResult(EncodeVoeString(arguments.ArgText(1, true), arguments.ArgText(2, true)), TypeString);
}

void UnscrambleTextMethod(SystemObject&, ArgumentList& arguments, FunctionInstance*)
{
    arguments.SetResult(DecodeVoeString(arguments.ArgText(1, true), arguments.ArgText(2, true)), TypeString);
}

namespace {

const SystemObject::Row PortableSystemMethods[] = {
    {"EnVOEStr", NameMatch::ExactCase, ScrambleTextMethod},
    {"DeVOEStr", NameMatch::ExactCase, UnscrambleTextMethod},
};

}

Counted<ScriptObject> MakePortableSystemObject() { return MakeCounted<SystemObject>(PortableSystemMethods); }
