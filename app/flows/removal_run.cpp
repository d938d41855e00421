#include "app/flows/removal_run.h"

#include "app/flows/flow_context.h"
#include "app/pages/answerer.h"
#include "app/pages/progress_dialog.h"
#include "app/run/limited_removal.h"
#include "app/run/run_log.h"
#include "app/run/system_removal.h"
#include "app/run/uninstall_session.h"

void RunSystemRemoval(UninstallSession& session, const RecordWriters& writers, RemovalReport* report, RunView& view)
{
    session.NoteRemovalRun();
    SystemRemoval system(session);
    LimitedRemoval operations(system, writers, session.GetDescPath());
    UninstallRun run(view, operations, &session.Language(), report);
    run.Execute(session.Record());
    session.Outcomes().Add(run.Counts());
}

bool RunRemovalWithProgress(const FlowContext& flow)
{
    RemovalReport* report = flow.log.IsOpen() ? &flow.log : nullptr;
    auto removal = [&flow, report](RunView& view) { RunSystemRemoval(flow.session, flow.writers, report, view); };
    if (!flow.AnswererOfRun().ShowsPages()) {
        SilentRunView view;
        removal(view);
        return true;
    }
    ProgressDialog progress(flow.pages, removal);
    return progress.Show();
}
