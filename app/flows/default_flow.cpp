#include "app/flows/default_flow.h"

#include "app/pages/finish_page.h"
#include "app/pages/progress_dialog.h"
#include "app/flows/removal_run.h"
#include "app/pages/resource.h"
#include "app/pages/restart_page.h"
#include "ui/string_table.h"
#include "app/uninstaller_app.h"
#include "sysops/step_times.h"

bool RunDefaultFlow(UninstallerApp& app)
{
    // Silently the run goes as on the page, and the finish page would only have said goodbye.
    if (app.IsSilent()) {
        SilentRunView view;
        RunSystemRemoval(app, view);
        return true;
    }
    ProgressDialog progress(app);
    if (!progress.Show())
        return false;
    MarkStep("page-closed");
    UninstallSession& session = app.Session();
    const std::string appName = session.Record().GetAppName();
    FinishPage finish(app, GetTextWith(TextId::UninstallCaption, &session, appName), appName);
    (void)finish.Show();
    MarkStep("finish-closed");
    // What is still in use goes at the next restart: the user is offered it now.
    if (session.IsRestartNeeded()) {
        RestartPage restart(app, GetTextWith(TextId::UninstallCaption, &session, appName));
        (void)restart.Show();
    }
    return true;
}
