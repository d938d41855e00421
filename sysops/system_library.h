#pragma once

#include "sysops/procedure_address.h"

#include <windows.h>

#include <string>

// The uninstaller and its cleanup copy run elevated, the copy from the temp folder. A DLL that
// is not one of the system's known DLLs is therefore never imported, since the loader would
// look for it beside the executable first: such DLLs are loaded here, by their full path in
// the system folder, once the process's DLL search has been restricted.

// Loads name from the system folder, and what it needs from there too; nullptr when it is not
// there.
[[nodiscard]] HMODULE LoadSystemLibrary(const char* name);

// Loads a library that came with the installation by its full path, what it needs from its
// own folder and the system folder only, never from the current folder. Callers check the
// file's trust first (see write_trust.h). nullptr when it does not load.
[[nodiscard]] HMODULE LoadLibraryFromItsFolder(const std::string& path);

// An export of a loaded library as the function type the caller names; nullptr when the
// library or the export is missing.
template <typename Function>
[[nodiscard]] Function LibraryFunction(HMODULE library, const char* name)
{
    return ProcedureAddress<Function>(library, name);
}
