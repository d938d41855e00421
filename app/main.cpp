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

    // Lives for the whole process, as pages and objects point into it.
    static UninstallerApp app(ParseAdminSwitches(__argc, __argv));
    return app.Start(FirstPlainParameter(__argc, __argv));
}
