#include "app/flows/page_actions.h"

#include "app/flows/default_flow.h"
#include "app/flows/removal_run.h"
#include "app/pages/answerer.h"
#include "app/pages/finish_page.h"
#include "app/pages/resource.h"
#include "app/pages/restart_page.h"
#include "app/pages/waiting_windows.h"
#include "app/run/run_log.h"
#include "app/run/uninstall_session.h"
#include "base/path_text.h"
#include "sysops/ini_file.h"
#include "sysops/module_path.h"
#include "ui/string_table.h"

#include <windows.h>

namespace {

constexpr const char* kProfileFile = "ProFile.ini";
constexpr const char* kProfileSection = "ProFileData";

}

PageActions::PageActions(const FlowContext& flow) : m_flow(flow) {}

PageActions::~PageActions() = default;

std::string PageActions::PageCaption() const
{
    const UninstallSession& session = m_flow.session;
    return GetTextWith(TextId::UninstallCaption, &session, session.Record().GetAppName());
}

int PageActions::ShowPage(ScriptPage page, std::vector<LaunchEntry>& entries, bool& writeBack)
{
    writeBack = false;
    if (!m_flow.AnswererOfRun().ShowsPages())
        return AnswerPageSilently(page, writeBack);
    switch (page) {
    case ScriptPage::Progress:
        (void)RunRemovalWithProgress(m_flow);
        return DefaultAnswerOf(page).result;
    case ScriptPage::Finish:
        return ShowFinishPage(entries, writeBack);
    case ScriptPage::Restart: {
        RestartPage restart(m_flow.pages, PageCaption(), m_flow.session.Record().GetAppName());
        const PageResult result = restart.Show();
        if (restart.RestartChosen())
            m_flow.session.SetRebootFlag(1);
        return result;
    }
    }
    return kUnknownPageResult;
}

// As if the page's default button was pressed: Finish with the finish page's boxes as the
// script set them, and "restart now" on the restart page. The restart itself is left to the
// administrator, who learns of it from the exit code.
int PageActions::AnswerPageSilently(ScriptPage page, bool& writeBack)
{
    const DefaultPageAnswer& answer = DefaultAnswerOf(page);
    switch (page) {
    case ScriptPage::Progress:
        (void)RunRemovalWithProgress(m_flow);
        break;
    case ScriptPage::Finish:
        m_flow.AnswererOfRun().NoteAnswer("finish page answered with Finish");
        break;
    case ScriptPage::Restart:
        m_flow.AnswererOfRun().NoteAnswer("restart page answered with its default, restart now");
        break;
    }
    writeBack = answer.writesLaunchStates;
    if (answer.setsRebootFlag)
        m_flow.session.SetRebootFlag(1);
    return answer.result;
}

int PageActions::ShowFinishPage(std::vector<LaunchEntry>& entries, bool& writeBack)
{
    FinishPage finish(m_flow.pages, PageCaption(), m_flow.session.Record().GetAppName());
    for (const LaunchEntry& entry : entries)
        finish.AddLaunch(entry.command, entry.parameters, entry.prompt, entry.state);
    const PageResult result = finish.Show();
    // The states are written back only when the user pressed Finish; closing the page any
    // other way leaves the script's values as they were.
    writeBack = finish.EndedWithOk();
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i].state = finish.Launches()[i].state;
    return result;
}

std::string PageActions::CurrentAppId() { return m_flow.session.Record().GetGUID(); }

void PageActions::RunDefaultFlow() { (void)::RunDefaultFlow(m_flow); }

void PageActions::CancelUninstall() { m_flow.session.Cancel(); }

std::unique_ptr<WaitingWindow>& PageActions::WaitingSlot(WaitingKind kind)
{
    return kind == WaitingKind::Box ? m_waitingBox : m_waitingPage;
}

void PageActions::OpenWaitingWindow(WaitingKind kind, const std::string& prompt)
{
    if (!m_flow.AnswererOfRun().ShowsPages()) {
        m_flow.AnswererOfRun().NoteAnswer("waiting: " + prompt);
        return;
    }
    // A second open of the same kind replaces the window, so that no window is left behind
    // that nothing could close any more.
    std::unique_ptr<WaitingWindow>& slot = WaitingSlot(kind);
    slot.reset();
    slot = std::make_unique<WaitingWindow>(m_flow.pages, kind == WaitingKind::Box ? WaitingWindow::Kind::Box
                                                                           : WaitingWindow::Kind::Page, prompt);
    if (!slot->Open())
        slot.reset();
}

void PageActions::CloseWaitingWindow(WaitingKind kind) { WaitingSlot(kind).reset(); }

std::string PageActions::ProfilePath() const
{
    return JoinPath(m_flow.session.Record().GetUnInstallFolder(), kProfileFile);
}

// The script's profile writes give it no result, so a value that could not be stored is told
// in the log: a later read of it gives the script its default, and the log says why.
void PageActions::WriteProfileText(const std::string& key, const std::string& value)
{
    const std::string path = ProfilePath();
    if (!WriteIniString(path, kProfileSection, key, value))
        m_flow.log.Line("the uninstall script's value " + key + " could not be written to " + path);
}

std::string PageActions::ReadProfileText(const std::string& key, const std::string& defaultText)
{
    return ReadIniString(ProfilePath(), kProfileSection, key, defaultText);
}

int PageActions::ReadProfileInt(const std::string& key, int defaultNumber)
{
    return ReadIniInt(ProfilePath(), kProfileSection, key, defaultNumber);
}

std::string PageActions::ModulePath() { return GetModulePath(); }

bool PageActions::IsRestartNeeded() { return m_flow.session.IsRestartNeeded(); }
