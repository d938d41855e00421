#include "script/type_code.h"

#include "script/script_text.h"

namespace {

struct TypeName {
    TypeCode type;
    const char* name;
};

constexpr TypeName g_typeNames[] = {
    {TypeString, "string"},
    {TypeInt, "int"},
    {TypeBool, "bool"},
    {TypeDouble, "double"},
    {TypeObject, "IVosObject"},
    {TypeVoid, "void"},
};

}

TypeCode TypeCodeFromName(std::string_view name)
{
    for (const auto& entry : g_typeNames) {
        if (SameName(name, entry.name))
            return entry.type;
    }
    return TypeUnknown;
}

std::string TypeNameFromCode(TypeCode type)
{
    for (const auto& entry : g_typeNames) {
        if (entry.type == type)
            return entry.name;
    }
    return {};
}
