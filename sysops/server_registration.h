#pragma once

#include <string>

// Self-registering COM servers: in-process servers through their exported functions,
// executable servers run with a switch. The uninstaller only ever unregisters.
enum class ServerAction { Register, Unregister };

// By the extension: DLL and OCX in-process, EXE run with " /REGSERVER" or " /UNREGSERVER"
// (2000 ms); a file without any "." by the type in its version resource. Other extensions
// fail. Runs in the file's folder as current directory, which is restored afterwards.
bool RegisterServerFile(const std::string& path, ServerAction action);

// A service executable run with " -Service" or " -unregserver" (3000 ms) in its folder.
bool RegisterServiceExe(const std::string& path, ServerAction action);

// Loads the library and calls DllRegisterServer or DllUnregisterServer with COM initialised;
// true when the call reports success.
bool CallDllRegistration(const std::string& path, ServerAction action);

// Runs the executable with " /REGSERVER" or " /UNREGSERVER"; with a timeout of 0 true once it
// started, else true when it ended in time with a non-negative exit code. One that runs
// longer is ended and fails.
bool RunExeRegistration(const std::string& path, ServerAction action, unsigned timeoutMs);

// The same with " -Service" or " -unregserver".
bool RunServiceRegistration(const std::string& path, ServerAction action, unsigned timeoutMs);

// The uninstall's step for one recorded server: bit value 1 of registrationType unregisters
// it as a COM server, else bit value 2 as a service executable. True when the unregistration
// reported success.
bool UnregisterServerOfFile(const std::string& path, unsigned registrationType);
