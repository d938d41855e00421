#include "script/objects/system_method_names.h"

namespace {

// Every method takes the service's name and opens the service anew.
constexpr MethodName kServiceMethods[] = {
    {"StartService", NameMatch::AnyCase, "service name"},
    {"ServiceIsRun", NameMatch::AnyCase, "service name"},
    {"StopService", NameMatch::AnyCase, "service name"},
    {"StopServiceAndWait", NameMatch::AnyCase, "service name"},
    {"UnInstallService", NameMatch::AnyCase, "service name"},
};

// The root is "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT" or "HKEY_CURRENT_USER", written exactly.
constexpr MethodName kRegKeyMethods[] = {
    {"SetRegStrValue", NameMatch::AnyCase, "root, subkey, name, text"},
    {"GetRegStrValue", NameMatch::AnyCase, "root, subkey, name, default"},
    {"GetRegStrValueEx", NameMatch::AnyCase, "root, subkey, name, variable"},
    {"SetRegDWordValue", NameMatch::AnyCase, "root, subkey, name, number"},
    {"GetRegDWordValue", NameMatch::AnyCase, "root, subkey, name, default"},
    {"GetRegDWordValueEx", NameMatch::AnyCase, "root, subkey, name, variable"},
    {"ExistValue", NameMatch::AnyCase, "root, subkey, name"},
};

constexpr MethodName kDllModuleMethods[] = {
    {"LoadLibrary", NameMatch::AnyCase, "path"},
    {"AddProcDefine", NameMatch::AnyCase, "declaration, as \"int Name(int a, out mstring b)\""},
    {"CallProc", NameMatch::AnyCase, "procedure name, [argument...]"},
};

constexpr MethodName kWsModuleMethods[] = {
    {"LoadFile", NameMatch::AnyCase, "path"},
    {"LoadScript", NameMatch::AnyCase, "script text"},
    {"CallMethod", NameMatch::AnyCase, "function name, [argument...]"},
};

}

MethodNames ServiceMethodNames() { return MethodNames::Of(kServiceMethods); }
MethodNames RegKeyMethodNames() { return MethodNames::Of(kRegKeyMethods); }
MethodNames DllModuleMethodNames() { return MethodNames::Of(kDllModuleMethods); }
MethodNames WsModuleMethodNames() { return MethodNames::Of(kWsModuleMethods); }
