#include "app/removal_run.h"

#include "app/system_removal.h"
#include "app/uninstaller_app.h"

void RunSystemRemoval(UninstallerApp& app, RunView& view)
{
    UninstallSession& session = app.Session();
    session.NoteRemovalRun();
    SystemRemoval operations(session);
    UninstallRun run(view, operations, &session.Language(), app.Report());
    run.Execute(session.Record());
    session.Outcomes().Add(run.Counts());
}
