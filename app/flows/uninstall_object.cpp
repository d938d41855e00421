#include "app/flows/uninstall_object.h"

#include "app/pages/page_result.h"
#include "base/path_text.h"
#include "script/argument_list.h"
#include "script/objects/method_table.h"
#include "script/objects/value_set.h"
#include "script/script_engine.h"
#include "script/script_text.h"

namespace {

struct PageRow {
    const char* name;
    NameMatch match;
    ScriptPage page;
};

// The progress page was always matched exactly, the others without regard to case; scripts
// rely on a wrongly cased progress page not being shown.
constexpr PageRow g_pages[] = {
    {"SdUninstallProcess", NameMatch::ExactCase, ScriptPage::Progress},
    {"SdUninstallFinish", NameMatch::AnyCase, ScriptPage::Finish},
    {"SdUninstallReboot", NameMatch::AnyCase, ScriptPage::Restart},
};

// The finish page gives Cancel whichever way it was closed; Finish writes its states back.
constexpr DefaultPageAnswer kDefaultPageAnswers[] = {
    {ScriptPage::Progress, 0, false, false},
    {ScriptPage::Finish, PageCancel, true, false},
    {ScriptPage::Restart, PageFinish, false, true},
};

std::string Text(ArgumentList& arguments, std::size_t number) { return arguments.ArgText(number, true); }

void DoDialog(UninstallObject& object, ArgumentList& arguments, FunctionInstance* caller)
{
    const std::string name = Text(arguments, 1);
    const PageRow* row = nullptr;
    for (const PageRow& candidate : g_pages) {
        if (MethodNameMatches(candidate.name, candidate.match, name)) {
            row = &candidate;
            break;
        }
    }
    if (!row) {
        arguments.SetResultInt(kUnknownPageResult);
        return;
    }
    ValueSetObject* parameters = row->page == ScriptPage::Finish ? WndParamArgument(arguments, 2, caller) : nullptr;
    // The script may release the parameter object from a function the page calls; the page
    // keeps its own reference until the states are written back.
    Counted<ScriptObject> held(parameters);
    std::vector<LaunchEntry> entries;
    if (parameters)
        entries = ReadLaunchEntries(*parameters);
    bool writeBack = false;
    const int result = object.Actions().ShowPage(row->page, entries, writeBack);
    if (parameters && writeBack)
        WriteLaunchStates(*parameters, entries);
    arguments.SetResultInt(result);
}

std::string PromptArgument(ArgumentList& arguments, FunctionInstance* caller)
{
    ValueSetObject* parameters = WndParamArgument(arguments, 1, caller);
    return parameters ? parameters->EntryText("Prompt", {}) : std::string();
}

// The first eight functions were always found without regard to case, the last six only when
// written exactly; a script that calls GetModuleFile in lower case fails with error 8.
const MethodRow<UninstallObject> g_uninstallFunctions[] = {
    {"DoDialog", NameMatch::AnyCase, DoDialog, "page name, [CWndParam]"},
    {"GetCurAppID", NameMatch::AnyCase,
     [](UninstallObject& object, ArgumentList& arguments, FunctionInstance*) {
         arguments.SetResult(object.Actions().CurrentAppId(), TypeString);
     }, ""},
    {"UnInstall", NameMatch::AnyCase,
     [](UninstallObject& object, ArgumentList&, FunctionInstance*) { object.Actions().RunDefaultFlow(); }, ""},
    {"CancelUninstall", NameMatch::AnyCase,
     [](UninstallObject& object, ArgumentList&, FunctionInstance*) { object.Actions().CancelUninstall(); }, ""},
    {"ShowSWaitingDlg", NameMatch::AnyCase,
     [](UninstallObject& object, ArgumentList& arguments, FunctionInstance* caller) {
         object.Actions().OpenWaitingWindow(WaitingKind::Box, PromptArgument(arguments, caller));
     }, "[CWndParam with Prompt]"},
    {"CloseSWaitingDlg", NameMatch::AnyCase,
     [](UninstallObject& object, ArgumentList&, FunctionInstance*) {
         object.Actions().CloseWaitingWindow(WaitingKind::Box);
     }, ""},
    {"ShowWaitingDlg", NameMatch::AnyCase,
     [](UninstallObject& object, ArgumentList& arguments, FunctionInstance* caller) {
         object.Actions().OpenWaitingWindow(WaitingKind::Page, PromptArgument(arguments, caller));
     }, "[CWndParam with Prompt]"},
    {"CloseWaitingDlg", NameMatch::AnyCase,
     [](UninstallObject& object, ArgumentList&, FunctionInstance*) {
         object.Actions().CloseWaitingWindow(WaitingKind::Page);
     }, ""},
    {"WriteProfileString", NameMatch::ExactCase,
     [](UninstallObject& object, ArgumentList& arguments, FunctionInstance*) {
         object.Actions().WriteProfileText(Text(arguments, 1), Text(arguments, 2));
     }, "key, text"},
    {"GetProfileString", NameMatch::ExactCase,
     [](UninstallObject& object, ArgumentList& arguments, FunctionInstance*) {
         arguments.SetResult(object.Actions().ReadProfileText(Text(arguments, 1), Text(arguments, 2)), TypeString);
     }, "key, default"},
    // The value's text is written as it is: "07" stays "07".
    {"WriteProfileInt", NameMatch::ExactCase,
     [](UninstallObject& object, ArgumentList& arguments, FunctionInstance*) {
         object.Actions().WriteProfileText(Text(arguments, 1), Text(arguments, 2));
     }, "key, number"},
    {"GetProfileInt", NameMatch::ExactCase,
     [](UninstallObject& object, ArgumentList& arguments, FunctionInstance*) {
         const int defaultNumber = ReadDecimalInt(Text(arguments, 2));
         arguments.SetResultInt(object.Actions().ReadProfileInt(Text(arguments, 1), defaultNumber));
     }, "key, default"},
    {"GetModuleFile", NameMatch::ExactCase,
     [](UninstallObject& object, ArgumentList& arguments, FunctionInstance*) {
         arguments.SetResult(object.Actions().ModulePath(), TypeString);
     }, ""},
    {"GetFileName", NameMatch::ExactCase,
     [](UninstallObject&, ArgumentList& arguments, FunctionInstance*) {
         arguments.SetResult(GetFileNamePart(Text(arguments, 1)), TypeString);
     }, "path"},

    // Beyond the fourteen: whether something waits for the next restart, 1 or 0, so that a
    // script can offer the restart page only then.
    {"IsRestartNeeded", NameMatch::AnyCase,
     [](UninstallObject& object, ArgumentList& arguments, FunctionInstance*) {
         arguments.SetResultInt(object.Actions().IsRestartNeeded() ? 1 : 0);
     }, ""},
};

}

std::vector<MethodName> UninstallMethodNames() { return NamesOfRows(g_uninstallFunctions); }

std::vector<MethodName> DoDialogPageNames()
{
    std::vector<MethodName> names;
    for (const PageRow& row : g_pages)
        names.push_back({row.name, row.match, ""});
    return names;
}

const DefaultPageAnswer& DefaultAnswerOf(ScriptPage page)
{
    for (const DefaultPageAnswer& answer : kDefaultPageAnswers) {
        if (answer.page == page)
            return answer;
    }
    return kDefaultPageAnswers[0];
}

UninstallObject::UninstallObject(std::unique_ptr<UninstallActions> actions)
    : ScriptObject("Uninstall"), m_actions(std::move(actions))
{
}

bool UninstallObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller)
{
    return DispatchMethod(g_uninstallFunctions, *this, name, arguments, caller);
}

bool IsUninstallFunction(const std::string& name) { return FindMethodRow(g_uninstallFunctions, name) != nullptr; }

ValueSetObject* WndParamArgument(const ArgumentList& arguments, std::size_t number, FunctionInstance* caller)
{
    const ScriptValue* argument = arguments.Arg(number);
    ScriptEngine* engine = arguments.Engine();
    if (!argument || !engine || argument->Type() != TypeVariableReference)
        return nullptr;
    ScriptVariable* variable = engine->FindVariable(argument->Text(), caller);
    if (!variable || variable->Value().Type() != TypeObject)
        return nullptr;
    ScriptObject* object = variable->Value().Object();
    if (!object || !SameName(object->ClassName(), "CWndParam"))
        return nullptr;
    // Only the engine's own value stores carry a value-set class name.
    return dynamic_cast<ValueSetObject*>(object);
}
