#include "app/voscript/voscript_runner.h"

#include "app/flows/scripted_flow.h"
#include "app/pages/answerer.h"
#include "app/pages/default_answer.h"
#include "app/voscript/dry_run_objects.h"
#include "app/voscript/voscript_uninstall.h"
#include "script/argument_list.h"
#include "script/error_meaning.h"
#include "script/script_engine.h"

namespace {

// A line break inside a text (CR LF, LF or CR) becomes the two characters \n.
std::string OneLine(const std::string& text)
{
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (text[i] == '\r' || text[i] == '\n')
            line += "\\n";
        else
            line += text[i];
    }
    return line;
}

// The runner's answers: a box is printed and takes the answers chosen in turn, then its default
// button, as in a silent uninstall; no page shows (the Uninstall object prints what a script
// asked for); the engine's own dialogs show to the script's author, who runs the runner.
class RunnerAnswerer final : public Answerer {
public:
    RunnerAnswerer(std::string& output, const std::vector<int>& answers) : m_output(output), m_answers(answers) {}

    [[nodiscard]] int AnswerBox(const std::string& text, const std::string& caption, unsigned style, BoxOwner) override
    {
        const int answer = m_answersGiven < m_answers.size() ? m_answers[m_answersGiven++] : DefaultMessageBoxAnswer(style);
        PrintBox(caption, text);
        return answer;
    }
    [[nodiscard]] bool ShowsPages() const override { return false; }
    void NoteAnswer(const std::string&) override {}
    [[nodiscard]] bool AllowsScriptDialogs() const override { return true; }

    // A box that has only OK and takes none of the chosen answers: the uninstaller's error box.
    void PrintBox(const std::string& caption, const std::string& text)
    {
        m_output += "MessageBox: " + OneLine(caption) + ": " + OneLine(text) + "\n";
    }

private:
    std::string& m_output;
    const std::vector<int>& m_answers;
    std::size_t m_answersGiven = 0;
};

class RunnerHost final : public ScriptHost {
public:
    RunnerHost(std::string& output, const RunnerPlatform& platform)
        : m_output(output), m_platform(platform), m_answerer(output, platform.setup.answers) {}

    [[nodiscard]] int ShowMessageBox(const std::string& caption, const std::string& text, int style) override
    {
        return m_answerer.AnswerBox(text, caption, static_cast<unsigned>(style), BoxOwner::None);
    }

    void PrintBox(const std::string& caption, const std::string& text) { m_answerer.PrintBox(caption, text); }

    [[nodiscard]] bool AllowsScriptDialogs() const override { return m_answerer.AllowsScriptDialogs(); }

    // Without the platform's VBScript engine a script that calls into VBScript fails.
    [[nodiscard]] bool CallVBSFunction(const std::string& code, const std::string& functionName,
                                       const std::vector<VbsArgument>& arguments, std::string& result,
                                       std::vector<std::string>& errorTexts) override
    {
        result.clear();
        if (!m_platform.callVbsFunction)
            return false;
        return m_platform.callVbsFunction(code, functionName, arguments, result, errorTexts,
                                          ScriptDialogsOf(AllowsScriptDialogs()));
    }

    [[nodiscard]] Counted<ScriptObject> CreateSystemClass(const std::string& className) override
    {
        Counted<ScriptObject> real =
            m_platform.createSystemClass ? m_platform.createSystemClass(className) : Counted<ScriptObject>();
        return m_platform.setup.real ? real : MakeDryRunObject(std::move(real), {}, m_output);
    }

private:
    std::string& m_output;
    const RunnerPlatform& m_platform;
    RunnerAnswerer m_answerer;
};

void PrintError(const ScriptEngine& engine, std::string& output)
{
    const ScriptError& error = engine.Error();
    output += "error: code=" + std::to_string(error.code) + " (" + ErrorCodeMeaning(error.code) + ") line="
        + std::to_string(error.line) + " word=" + OneLine(error.word) + "\n";
}

int ReportError(const ScriptEngine& engine, std::string& output)
{
    PrintError(engine, output);
    return 1;
}

Counted<ScriptObject> Guarded(Counted<ScriptObject> object, const char* name, std::string& output,
                              const RunnerPlatform& platform)
{
    return platform.setup.real ? object : MakeDryRunObject(std::move(object), name, output);
}

UninstallHostObjects PlatformHostObjects(std::string& output, const RunnerPlatform& platform)
{
    UninstallHostObjects objects = RunnerHostObjects(output, platform.setup, Guarded(platform.system, "System", output, platform));
    objects.service = Guarded(platform.service, "Service", output, platform);
    objects.regKey = Guarded(platform.regKey, "RegKey", output, platform);
    return objects;
}

// The uninstaller's side of the events, printed.
class RunnerFlowSite final : public ScriptedFlowSite {
public:
    RunnerFlowSite(RunnerHost& host, const ScriptEngine& engine, const ScriptObject& uninstall,
                   const RunnerPlatform& platform, std::string& output)
        : m_host(host), m_engine(engine), m_uninstall(uninstall), m_platform(platform), m_output(output)
    {
    }

    void RunDefaultFlow() override { m_output += "no OnUninstallBegin: the default flow runs, no event is called\n"; }
    [[nodiscard]] std::string ReadWindowsScript() override { return m_platform.setup.windowsScript; }
    [[nodiscard]] bool IsCancelled() override { return PrintingUninstallCancelled(m_uninstall); }
    // The uninstaller's box, then what its code means.
    void ReportScriptError(const std::string& text) override
    {
        m_host.PrintBox(kScriptErrorCaption, text);
        PrintError(m_engine, m_output);
    }
    void BeforeEvent(const char* name) override { m_output += std::string("event: ") + name + "\n"; }

private:
    RunnerHost& m_host;
    const ScriptEngine& m_engine;
    const ScriptObject& m_uninstall;
    const RunnerPlatform& m_platform;
    std::string& m_output;
};

}

int RunVoScript(const std::string& scriptText, const std::string& functionName,
                const std::vector<std::string>& arguments, std::string& output, const RunnerPlatform& platform)
{
    RunnerHost host(output, platform);
    ScriptEngine engine(&host);
    engine.SetScriptFolder(platform.scriptFolder);
    engine.SetObserver(platform.observer);
    if (!engine.LoadText(scriptText))
        return ReportError(engine, output);
    const UninstallHostObjects objects = PlatformHostObjects(output, platform);
    RegisterUninstallHost(engine, objects);
    ArgumentList callArguments(&engine, nullptr);
    for (const auto& text : arguments) {
        auto argument = MakeCounted<ScriptVariable>();
        argument->Value().SetText(text);
        callArguments.AppendVariable(std::move(argument));
    }
    if (!engine.CallFunction(functionName, &callArguments, nullptr))
        return ReportError(engine, output);
    output += "result: " + OneLine(callArguments.Result().ToString()) + "\n";
    return 0;
}

int RunVoScriptEvents(const std::string& scriptText, std::string& output, const RunnerPlatform& platform)
{
    RunnerHost host(output, platform);
    ScriptEngine engine(&host);
    engine.SetScriptFolder(platform.scriptFolder);
    engine.SetObserver(platform.observer);
    const UninstallHostObjects objects = PlatformHostObjects(output, platform);
    RunnerFlowSite site(host, engine, *objects.uninstall, platform, output);
    const bool ran = RunScriptedUninstall(engine, scriptText, objects, site);
    if (site.IsCancelled())
        output += "cancelled: no cleanup copy would follow\n";
    return ran ? 0 : 1;
}

bool HasLineFeedsOnly(const std::string& text)
{
    return text.find('\n') != std::string::npos && text.find('\r') == std::string::npos;
}
