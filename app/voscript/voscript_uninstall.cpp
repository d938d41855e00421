#include "app/voscript/voscript_uninstall.h"

#include "app/flows/uninstall_object.h"
#include "script/argument_list.h"
#include "script/script_engine.h"
#include "script/script_text.h"

#include <map>

std::string OneLineText(const std::string& text)
{
    std::string line;
    for (char character : text) {
        if (character == '\r')
            continue;
        line += character == '\n' ? std::string("\\n") : std::string(1, character);
    }
    return line;
}

namespace {

class PrintingActions final : public UninstallActions {
public:
    PrintingActions(std::string& output, const RunnerSetup& setup) : m_output(output), m_setup(setup)
    {
        // The first of a key wins, as the profile functions read them.
        for (const auto& [key, value] : setup.profileValues)
            m_profile.emplace(Folded(key), value);
    }

    // Answered as the page answers its default button.
    int ShowPage(ScriptPage page, std::vector<LaunchEntry>& entries, bool& writeBack) override
    {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const LaunchEntry& entry = entries[i];
            m_output += "  launch " + std::to_string(i + 1) + ": " + OneLineText(entry.command) + " | "
                + OneLineText(entry.parameters) + " | " + OneLineText(entry.prompt) + " | "
                + (entry.state != 0 ? "checked" : "unchecked") + "\n";
        }
        const DefaultPageAnswer& answer = DefaultAnswerOf(page);
        writeBack = answer.writesLaunchStates;
        if (answer.setsRebootFlag)
            m_output += "  restart now: the uninstaller would restart Windows at its end\n";
        return answer.result;
    }
    std::string CurrentAppId() override { return m_setup.appId; }
    void RunDefaultFlow() override { m_output += "  (the default flow: progress page, then finish page)\n"; }
    void CancelUninstall() override { cancelled = true; }
    void OpenWaitingWindow(WaitingKind, const std::string&) override {}
    void CloseWaitingWindow(WaitingKind) override {}
    void WriteProfileText(const std::string& key, const std::string& value) override { m_profile[Folded(key)] = value; }
    std::string ReadProfileText(const std::string& key, const std::string& defaultText) override
    {
        auto found = m_profile.find(Folded(key));
        return found == m_profile.end() ? defaultText : found->second;
    }
    int ReadProfileInt(const std::string& key, int defaultNumber) override
    {
        auto found = m_profile.find(Folded(key));
        return found == m_profile.end() ? defaultNumber : ReadDecimalInt(found->second);
    }
    std::string ModulePath() override { return m_setup.uninstallerPath; }
    // The runner deletes nothing, so nothing waits for a restart.
    bool IsRestartNeeded() override { return false; }

    bool cancelled = false;

private:
    // Profile keys are found without regard to case, as in ProFile.ini.
    static std::string Folded(std::string key)
    {
        for (char& character : key) {
            if (character >= 'A' && character <= 'Z')
                character = static_cast<char>(character - 'A' + 'a');
        }
        return key;
    }

    std::string& m_output;
    const RunnerSetup& m_setup;
    std::map<std::string, std::string> m_profile;
};

// A variable holding an object is shown by its name; everything else by its text, quoted.
std::string ArgumentShown(const ArgumentList& arguments, std::size_t number, FunctionInstance* caller)
{
    const ScriptValue* argument = arguments.Arg(number);
    if (argument && argument->Type() == TypeVariableReference && arguments.Engine()) {
        ScriptVariable* variable = arguments.Engine()->FindVariable(argument->Text(), caller);
        if (variable && variable->Value().Type() == TypeObject)
            return argument->Text();
    }
    return "\"" + OneLineText(arguments.ArgText(number, true)) + "\"";
}

}

std::string PrintedCall(const std::string& objectName, const std::string& method, const ArgumentList& arguments,
                        FunctionInstance* caller)
{
    std::string line = objectName + "." + method + "(";
    for (std::size_t i = 1; i <= arguments.Count(); ++i)
        line += (i > 1 ? ", " : "") + ArgumentShown(arguments, i, caller);
    return line + ")";
}

namespace {

class PrintingUninstallObject final : public UninstallObject {
public:
    PrintingUninstallObject(std::unique_ptr<PrintingActions> actions, std::string& output)
        : UninstallObject(std::move(actions)), m_output(output)
    {
    }

    bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override
    {
        if (!IsUninstallFunction(name))
            return false;
        m_output += PrintedCall("Uninstall", name, arguments, caller) + "\n";
        const std::size_t printed = m_output.size();
        (void)UninstallObject::InvokeMethod(name, arguments, caller);
        if (arguments.Result().Type() != TypeNone)
            m_output.insert(printed - 1, " = " + OneLineText(arguments.Result().ToString()));
        return true;
    }

private:
    std::string& m_output;
};

}

Counted<ScriptObject> MakePrintingUninstallObject(std::string& output, const RunnerSetup& setup)
{
    return MakeCounted<PrintingUninstallObject>(std::make_unique<PrintingActions>(output, setup), output);
}

bool PrintingUninstallCancelled(const ScriptObject& object)
{
    auto* uninstall = dynamic_cast<const UninstallObject*>(&object);
    if (!uninstall)
        return false;
    auto* actions = dynamic_cast<const PrintingActions*>(&uninstall->Actions());
    return actions && actions->cancelled;
}

UninstallHostObjects RunnerHostObjects(std::string& output, const RunnerSetup& setup, Counted<ScriptObject> system)
{
    UninstallHostObjects objects;
    objects.uninstall = MakePrintingUninstallObject(output, setup);
    objects.system = std::move(system);
    return objects;
}
