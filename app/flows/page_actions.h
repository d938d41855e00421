#pragma once

#include "app/flows/flow_context.h"
#include "app/flows/uninstall_object.h"

#include <memory>

class WaitingWindow;

// The Uninstall object's work in the uninstaller: the real pages, the waiting windows and
// ProFile.ini in the uninstall folder. Waiting windows left open are destroyed with it.
class PageActions final : public UninstallActions {
public:
    explicit PageActions(const FlowContext& flow);
    ~PageActions() override;

    [[nodiscard]] int ShowPage(ScriptPage page, std::vector<LaunchEntry>& entries, bool& writeBack) override;
    [[nodiscard]] std::string CurrentAppId() override;
    void RunDefaultFlow() override;
    void CancelUninstall() override;
    void OpenWaitingWindow(WaitingKind kind, const std::string& prompt) override;
    void CloseWaitingWindow(WaitingKind kind) override;
    void WriteProfileText(const std::string& key, const std::string& value) override;
    [[nodiscard]] std::string ReadProfileText(const std::string& key, const std::string& defaultText) override;
    [[nodiscard]] int ReadProfileInt(const std::string& key, int defaultNumber) override;
    [[nodiscard]] std::string ModulePath() override;
    [[nodiscard]] bool IsRestartNeeded() override;

private:
    [[nodiscard]] std::string ProfilePath() const;
    [[nodiscard]] std::string PageCaption() const;
    [[nodiscard]] int AnswerPageSilently(ScriptPage page, bool& writeBack);
    [[nodiscard]] int ShowFinishPage(std::vector<LaunchEntry>& entries, bool& writeBack);
    std::unique_ptr<WaitingWindow>& WaitingSlot(WaitingKind kind);

    FlowContext m_flow;
    std::unique_ptr<WaitingWindow> m_waitingBox;
    std::unique_ptr<WaitingWindow> m_waitingPage;
};
