#include "app/flows/removal_run.h"

#include "app/run/limited_removal.h"
#include "app/run/system_removal.h"
#include "app/uninstaller_app.h"

void RunSystemRemoval(UninstallerApp& app, RunView& view)
{
    UninstallSession& session = app.Session();
    session.NoteRemovalRun();
    SystemRemoval system(session);
    LimitedRemoval operations(system, app.Writers(), session.GetDescPath());
    UninstallRun run(view, operations, &session.Language(), app.Report());
    run.Execute(session.Record());
    session.Outcomes().Add(run.Counts());
}
