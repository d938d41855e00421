#include "app/flows/default_flow.h"

#include "app/flows/page_actions.h"
#include "app/flows/scripted_flow.h"
#include "app/uninstaller_app.h"
#include "library/system_object.h"
#include "script_system/system_objects.h"

#include <windows.h>

namespace {

class AppFlowSite final : public ScriptedFlowSite {
public:
    explicit AppFlowSite(UninstallerApp& app) : m_app(app) {}

    void RunDefaultFlow() override { (void)::RunDefaultFlow(m_app); }
    [[nodiscard]] std::string ReadWindowsScript() override { return m_app.Session().ReadWindowsScript(); }
    [[nodiscard]] bool IsCancelled() override { return m_app.Session().State() == UninstallState::Cancelled; }
    void ReportScriptError(const std::string& text) override
    {
        m_app.Log().Line("the uninstall script failed: " + text);
        if (!m_app.IsSilent())
            MessageBoxA(nullptr, text.c_str(), kScriptErrorCaption, MB_OK);
    }
    void BeforeEvent(const char* name) override { m_app.Log().Line(std::string("script event ") + name); }

private:
    UninstallerApp& m_app;
};

}

bool RunScriptedFlow(UninstallerApp& app, const std::string& script)
{
    UninstallHostObjects& objects = app.HostObjects();
    objects.uninstall = MakeCounted<UninstallObject>(std::make_unique<PageActions>(app));
    objects.system = MakeSystemObject();
    objects.service = MakeServiceObject();
    objects.regKey = MakeRegKeyObject();

    AppFlowSite site(app);
    if (RunScriptedUninstall(app.Engine(), script, objects, site))
        return true;
    // An event failed. Once the progress page has removed the application there is nothing
    // to come back for; before that, the uninstaller and its record stay, so the user can
    // run the uninstall again.
    UninstallSession& session = app.Session();
    if (!session.RemovalHasRun())
        session.KeepUninstallFolder();
    return false;
}
