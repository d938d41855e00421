#include "app/flows/script_constants.h"

#include "app/pages/page_result.h"
#include "app/run/uninstall_state.h"
#include "script/script_engine.h"
#include "script/script_text.h"

namespace {

// Defined in this order; the install states are the installer's and only named here so that
// a script shared between the two still loads.
constexpr ScriptConstant g_constants[] = {
    {"SS_INSTALL", 1},
    {"SS_INSTALL_CANCEL", 2},
    {"SS_INSTALL_REBOOTDO", 3},
    {"SS_INSTALL_FINISH", 4},
    {"SS_UNINSTALL", static_cast<int>(UninstallState::Uninstall)},
    {"SS_UNINSTALL_CANCEL", static_cast<int>(UninstallState::Cancelled)},
    {"SS_UNINSTALL_REBOOTDO", 12},
    {"SS_UNINSTALL_FINISH", 13},
    {"OT_BREAK", PageBack},
    {"OT_NEXT", PageNext},
    {"OT_CANCEL", PageCancel},
    {"OT_REBOOTDO", PageRebootInstall},
    {"OT_FINISH", PageFinish},
    {"SM_NONE", 0},
    {"SM_FINSTALL", 1},
    {"SM_MODIFY", 2},
    {"SM_REPAIR", 3},
    {"SM_REMOVE", 4},
};

}

std::vector<ScriptConstant> UninstallConstants()
{
    return std::vector<ScriptConstant>(std::begin(g_constants), std::end(g_constants));
}

void DefineUninstallConstants(ScriptEngine& engine)
{
    for (const ScriptConstant& constant : g_constants)
        engine.DefineConstant(constant.name, FormatInt(constant.value), TypeInt);
}
