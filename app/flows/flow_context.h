#pragma once

#include "app/pages/page_context.h"

class RecordWriters;
class RunLog;
class ScriptEngine;
class UninstallSession;
struct UninstallHostObjects;

// What the flows work with: the session's state, what the pages need, the log and who could
// have written the record (the run removes only what they could have removed), and for the
// scripted flow the engine and the app's references to its host objects. Every member lives as
// long as the process.
struct FlowContext {
    UninstallSession& session;
    PageContext pages;
    RunLog& log;
    const RecordWriters& writers;
    ScriptEngine& engine;
    UninstallHostObjects& hostObjects;

    // The one that shows every box and page or answers it unseen.
    [[nodiscard]] Answerer& AnswererOfRun() const { return pages.answerer; }
};
