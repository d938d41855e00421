#pragma once

#include "script/objects/method_table.h"

#include <string>
#include <vector>

// What an uninstall script can call, read from the tables the objects dispatch from: the host
// objects that the uninstaller registers, the classes a script declares variables of, and the
// built-in commands. The runner lists it (--list) and checks scripts against it (--check).
struct HostClass {
    const char* name;       // the global name of a host object, or the name of a class
    bool isObject;          // a host object registered under the name; else a class
    const char* needs;      // what the object needs to work, or empty
    std::vector<MethodName> methods;
};

[[nodiscard]] const std::vector<HostClass>& HostClasses();

// The host object registered under the name ("Uninstall", "System", "Service", "RegKey"), or
// the class of that name; names without regard to case. Null when there is none.
[[nodiscard]] const HostClass* FindHostObject(const std::string& name);
[[nodiscard]] const HostClass* FindHostClass(const std::string& name);

// The row for a method as a script writes it; null when the name is unknown. exactOnly tells
// that the name is known but was written in another case than its row requires.
[[nodiscard]] const MethodName* FindHostMethod(const HostClass& holder, const std::string& name, bool& exactOnly);

// Writes every host object, class, command and constant, one line each.
void ListHost(std::string& output);
