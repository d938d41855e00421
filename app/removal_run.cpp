#include "app/removal_run.h"

#include "app/limited_removal.h"
#include "app/system_removal.h"
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
