#include "sysops/dll_search.h"

#include "sysops/procedure_address.h"

#include <windows.h>

void RestrictDllSearchToSystem()
{
    // Taken at run time: the call exists from Windows 8 (and on 7 with its update).
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    auto setDefault = ProcedureAddress<SetDefaultDllDirectoriesFunction>(GetModuleHandleA("kernel32.dll"),
                                                                         "SetDefaultDllDirectories");
    if (setDefault)
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryA(""); // removes the current folder from the search on older systems too
}
