#pragma once

#include <string>

class ScriptObject;

// A path as a script names a file beside it: a path without a drive (no ":\" after its first
// character) is taken relative to the script folder of the object's engine. Without a script
// folder the path stays as it is.
[[nodiscard]] std::string ScriptRelativePath(const ScriptObject& object, const std::string& path);
