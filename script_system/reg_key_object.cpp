// "CRegKey": reads and writes registry values for a script. Keys are only opened, never
// created; a key that a 32-bit installer put in the 32-bit view is found there.
#include "script_system/system_classes.h"

#include "script/argument_list.h"
#include "script/objects/method_arguments.h"
#include "script/objects/method_table.h"
#include "script/objects/system_method_names.h"
#include "script/script_text.h"
#include "sysops/reg_key.h"

#include <cstring>
#include <vector>

namespace {

class RegKeyObject final : public ScriptObject {
public:
    RegKeyObject() : ScriptObject("CRegKey") {}

    [[nodiscard]] Counted<ScriptObject> CreateInstance(const std::string& instanceName) override;
    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override;
    // The object has no members of its own, and takes none.
    bool SetMember(const std::string&, const std::string&) override { return false; }
    [[nodiscard]] ScriptVariable* FindMember(const std::string&) override { return nullptr; }
};

constexpr REGSAM kReadAccess = 0x20019;      // KEY_READ
constexpr REGSAM kReadWriteAccess = 0x2001F; // KEY_READ with the rights to set values and make subkeys

// Where a method's value lies: root name, subkey and value name.
struct ValuePlace {
    std::string root;
    std::string subkey;
    std::string name;
};

// The first three arguments as they were passed, or passed through the engine's VariableText
// as well where the method reads them so.
enum class PlaceTexts { AsPassed, Resolved };

ValuePlace PlaceOf(const RegKeyObject& object, const ArgumentList& arguments, FunctionInstance* caller,
                   PlaceTexts texts)
{
    if (texts == PlaceTexts::Resolved)
        return {MethodText(object, arguments, 1, caller), MethodText(object, arguments, 2, caller),
                MethodText(object, arguments, 3, caller)};
    return {arguments.ArgText(1, true), arguments.ArgText(2, true), arguments.ArgText(3, true)};
}

bool OpenPlace(const ValuePlace& place, REGSAM access, RegKey& key)
{
    return key.OpenInEitherView(RegKey::RootFromName(place.root), place.subkey, access);
}

// The text of a string value, plain or expandable (not expanded); false for any other type.
bool ReadText(const RegKey& key, const std::string& name, std::string& text)
{
    text.clear();
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Handle(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS
        || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    std::vector<char> buffer(size + 1, '\0');
    if (RegQueryValueExA(key.Handle(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size)
            != ERROR_SUCCESS
        || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    // The stored data need not end with a zero; the text ends at the first one.
    text.assign(buffer.data(), strnlen(buffer.data(), size));
    return true;
}

bool ReadText(const ValuePlace& place, std::string& text)
{
    RegKey key;
    return OpenPlace(place, kReadAccess, key) && ReadText(key, place.name, text);
}

bool ReadNumber(const ValuePlace& place, std::int32_t& number)
{
    RegKey key;
    uint32_t value = 0;
    if (!OpenPlace(place, kReadAccess, key) || !key.GetNumber(place.name, value))
        return false;
    number = static_cast<std::int32_t>(value);
    return true;
}

void SetStringValue(RegKeyObject& object, ArgumentList& arguments, FunctionInstance* caller)
{
    RegKey key;
    if (OpenPlace(PlaceOf(object, arguments, caller, PlaceTexts::AsPassed), kReadWriteAccess, key))
        (void)key.SetString(arguments.ArgText(3, true), arguments.ArgText(4, true));
}

void GetStringValue(RegKeyObject& object, ArgumentList& arguments, FunctionInstance* caller)
{
    std::string text;
    if (!ReadText(PlaceOf(object, arguments, caller, PlaceTexts::AsPassed), text))
        text = arguments.ArgText(4, true);
    arguments.SetResult(text, TypeString);
}

void GetStringValueInto(RegKeyObject& object, ArgumentList& arguments, FunctionInstance* caller)
{
    std::string text;
    const bool read = ReadText(PlaceOf(object, arguments, caller, PlaceTexts::Resolved), text);
    arguments.SetArg(4, text);
    arguments.SetResultInt(read ? 1 : 0, TypeInt);
}

void SetNumberValue(RegKeyObject& object, ArgumentList& arguments, FunctionInstance* caller)
{
    RegKey key;
    if (!OpenPlace(PlaceOf(object, arguments, caller, PlaceTexts::AsPassed), kReadWriteAccess, key))
        return;
    const DWORD number = static_cast<DWORD>(MethodNumber(object, arguments, 4, caller));
    (void)RegSetValueExA(key.Handle(), arguments.ArgText(3, true).c_str(), 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&number), sizeof number);
}

void GetNumberValue(RegKeyObject& object, ArgumentList& arguments, FunctionInstance* caller)
{
    std::int32_t number = 0;
    if (!ReadNumber(PlaceOf(object, arguments, caller, PlaceTexts::AsPassed), number))
        number = MethodNumber(object, arguments, 4, caller);
    arguments.SetResultInt(number, TypeInt);
}

void GetNumberValueInto(RegKeyObject& object, ArgumentList& arguments, FunctionInstance* caller)
{
    std::int32_t number = 0;
    const bool read = ReadNumber(PlaceOf(object, arguments, caller, PlaceTexts::AsPassed), number);
    arguments.SetArgInt(4, read ? number : 0);
    arguments.SetResultInt(read ? 1 : 0, TypeInt);
}

void ReportValueExists(RegKeyObject& object, ArgumentList& arguments, FunctionInstance* caller)
{
    const ValuePlace place = PlaceOf(object, arguments, caller, PlaceTexts::Resolved);
    RegKey key;
    const bool exists = OpenPlace(place, kReadAccess, key)
        && RegQueryValueExA(key.Handle(), place.name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    arguments.SetResultInt(exists ? 1 : 0, TypeInt);
}

const MethodHandler<RegKeyObject> kRegKeyMethods[] = {
    {"SetRegStrValue", SetStringValue},
    {"GetRegStrValue", GetStringValue},
    {"GetRegStrValueEx", GetStringValueInto},
    {"SetRegDWordValue", SetNumberValue},
    {"GetRegDWordValue", GetNumberValue},
    {"GetRegDWordValueEx", GetNumberValueInto},
    {"ExistValue", ReportValueExists},
};

Counted<ScriptObject> RegKeyObject::CreateInstance(const std::string& instanceName)
{
    auto instance = MakeCounted<RegKeyObject>();
    instance->SetClassName(ClassName());
    instance->SetInstanceName(instanceName);
    return instance;
}

bool RegKeyObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller)
{
    return DispatchNamedMethod(RegKeyMethodNames(), kRegKeyMethods, *this, name, arguments, caller);
}

}

Counted<ScriptObject> MakeRegKeyClass() { return MakeCounted<RegKeyObject>(); }
