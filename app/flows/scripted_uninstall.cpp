#include "app/flows/scripted_uninstall.h"

#include "app/flows/default_flow.h"
#include "app/flows/flow_context.h"
#include "app/flows/page_actions.h"
#include "app/flows/script_files.h"
#include "app/flows/scripted_flow.h"
#include "app/pages/answerer.h"
#include "app/run/run_log.h"
#include "app/run/uninstall_session.h"
#include "library/system_object.h"
#include "script_system/system_objects.h"

#include <windows.h>

namespace {

class AppFlowSite final : public ScriptedFlowSite {
public:
    explicit AppFlowSite(const FlowContext& flow) : m_flow(flow) {}

    void RunDefaultFlow() override { (void)::RunDefaultFlow(m_flow); }
    [[nodiscard]] std::string ReadWindowsScript() override { return ::ReadWindowsScript(m_flow.session.Record()); }
    [[nodiscard]] bool IsCancelled() override { return m_flow.session.State() == UninstallState::Cancelled; }
    void ReportScriptError(const std::string& text) override
    {
        m_flow.log.Line("the uninstall script failed: " + text);
        (void)m_flow.AnswererOfRun().AnswerBox(text, kScriptErrorCaption, MB_OK, BoxOwner::None);
    }
    void BeforeEvent(const char* name) override { m_flow.log.Line(std::string("script event ") + name); }

private:
    const FlowContext& m_flow;
};

}

bool RunScriptedFlow(const FlowContext& flow, const std::string& script)
{
    UninstallHostObjects& objects = flow.hostObjects;
    objects.uninstall = MakeCounted<UninstallObject>(std::make_unique<PageActions>(flow));
    objects.system = MakeSystemObject();
    objects.service = MakeServiceObject();
    objects.regKey = MakeRegKeyObject();

    AppFlowSite site(flow);
    if (RunScriptedUninstall(flow.engine, script, objects, site))
        return true;
    // An event failed. Once the progress page has removed the application there is nothing
    // to come back for; before that, the uninstaller and its record stay, so the user can
    // run the uninstall again.
    UninstallSession& session = flow.session;
    if (!session.RemovalHasRun())
        session.KeepUninstallFolder();
    return false;
}
