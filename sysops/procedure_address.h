#pragma once

#include <windows.h>

// Calls that not every Windows version has are taken from their library at run time, and the
// caller goes without them when they are missing. The two casts (GetProcAddress gives a
// FARPROC, which converts to another function type only through void*) live here only.
template <typename Function>
[[nodiscard]] Function ProcedureAddress(HMODULE library, const char* name)
{
    if (!library)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}
