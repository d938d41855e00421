#pragma once

// The DLL search of a process that runs from the temp folder must not look there: a DLL
// planted beside the cleanup copy would otherwise be loaded into an elevated process. The
// executable imports only the system's known DLLs, which never come from beside it; every
// other DLL is loaded after this call.
void RestrictDllSearchToSystem();
