#include "app/admin_switches.h"
#include "app/run/cleanup_copy.h"
#include "app/startup_mode.h"
#include "app/uninstaller_app.h"
#include "sysops/dll_search.h"
#include "sysops/system_code_page.h"

#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RestrictDllSearchToSystem();
    UseSystemCodePage();

    static UninstallerApp app; // lives for the whole process, as pages and objects point into it
    return app.Start(FirstPlainParameter(__argc, __argv), ParseAdminSwitches(__argc, __argv));
}
