#include "app/flows/default_flow.h"

#include "app/flows/flow_context.h"
#include "app/flows/removal_run.h"
#include "app/pages/answerer.h"
#include "app/pages/finish_page.h"
#include "app/pages/restart_page.h"
#include "app/run/uninstall_session.h"
#include "sysops/step_times.h"
#include "ui/string_table.h"

bool RunDefaultFlow(const FlowContext& flow)
{
    // Silently the run goes as on the page, and the finish page would only have said goodbye.
    const bool shown = flow.AnswererOfRun().ShowsPages();
    if (!RunRemovalWithProgress(flow))
        return false;
    if (!shown)
        return true;
    MarkStep("page-closed");
    UninstallSession& session = flow.session;
    const std::string appName = session.Record().GetAppName();
    FinishPage finish(flow.pages, GetTextWith(TextId::UninstallCaption, &session, appName), appName);
    (void)finish.Show();
    MarkStep("finish-closed");
    // What is still in use goes at the next restart: the user is offered it now.
    if (session.IsRestartNeeded()) {
        RestartPage restart(flow.pages, GetTextWith(TextId::UninstallCaption, &session, appName), appName);
        (void)restart.Show();
        if (restart.RestartChosen())
            session.SetRebootFlag(1);
    }
    return true;
}
