#pragma once

#include "app/flows/launch_entries.h"
#include "script/objects/method_table.h"
#include "script/script_object.h"

#include <memory>
#include <string>

class ValueSetObject;

// The pages a script opens with DoDialog.
enum class ScriptPage { Progress, Finish, Restart };
// What DoDialog gives a script when the page's default button is pressed. The real pages
// answer so, and a silent uninstall and the voscript runner, which show no page, answer by
// this table, so that a script takes the same branch wherever it runs.
struct DefaultPageAnswer {
    ScriptPage page;
    int result;              // the progress page has no outcome and gives 0
    bool writesLaunchStates; // the finish page's launch states go back to the parameter object
    bool setsRebootFlag;     // "restart now" is the restart page's preselected choice
};
[[nodiscard]] const DefaultPageAnswer& DefaultAnswerOf(ScriptPage page);
// A page name that matches none of the pages shows nothing and gives 0.
inline constexpr int kUnknownPageResult = 0;

// The two modeless waiting windows: the small box and the wizard-sized page.
enum class WaitingKind { Box, Page };

// What the "Uninstall" object does on the machine. The uninstaller shows real pages and writes
// ProFile.ini; the voscript runner only prints what a script asked for.
class UninstallActions {
public:
    virtual ~UninstallActions() = default;

    // Shows a page modally and returns what DoDialog gives the script. For the finish page,
    // entries are the launch entries of the parameter object, and their states are updated
    // with the user's choice; writeBack is set when they are to be written back.
    [[nodiscard]] virtual int ShowPage(ScriptPage page, std::vector<LaunchEntry>& entries, bool& writeBack) = 0;
    [[nodiscard]] virtual std::string CurrentAppId() = 0;
    virtual void RunDefaultFlow() = 0;
    virtual void CancelUninstall() = 0;
    virtual void OpenWaitingWindow(WaitingKind kind, const std::string& prompt) = 0;
    virtual void CloseWaitingWindow(WaitingKind kind) = 0;
    // Section ProFileData of ProFile.ini in the uninstall folder.
    virtual void WriteProfileText(const std::string& key, const std::string& value) = 0;
    [[nodiscard]] virtual std::string ReadProfileText(const std::string& key, const std::string& defaultText) = 0;
    [[nodiscard]] virtual int ReadProfileInt(const std::string& key, int defaultNumber) = 0;
    [[nodiscard]] virtual std::string ModulePath() = 0;
    // Something the run could not delete goes at the next restart.
    [[nodiscard]] virtual bool IsRestartNeeded() = 0;
};

// The "Uninstall" host object through which an uninstall script conducts the uninstall. It has
// no members of its own; its functions read their arguments as texts and hand the work to the
// actions, which it owns, so that waiting windows left open go with the object.
class UninstallObject : public ScriptObject {
public:
    explicit UninstallObject(std::unique_ptr<UninstallActions> actions);

    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override;

    [[nodiscard]] UninstallActions& Actions() { return *m_actions; }
    [[nodiscard]] const UninstallActions& Actions() const { return *m_actions; }

private:
    std::unique_ptr<UninstallActions> m_actions;
};

// The object's functions and the page names of DoDialog, each with its case rule, as the
// object matches them.
[[nodiscard]] std::vector<MethodName> UninstallMethodNames();
[[nodiscard]] std::vector<MethodName> DoDialogPageNames();

// Whether the object knows a function of this name, with its own comparison of the name.
[[nodiscard]] bool IsUninstallFunction(const std::string& name);

// The "CWndParam" object that argument number names, or null: the argument must be a variable
// reference whose variable holds an object of that class.
[[nodiscard]] ValueSetObject* WndParamArgument(const ArgumentList& arguments, std::size_t number, FunctionInstance* caller);
