#include "app/voscript/dry_run_objects.h"

#include "app/voscript/voscript_uninstall.h"
#include "library/portable_system_object.h"
#include "script/argument_list.h"
#include "script/objects/method_table.h"
#include "script/script_text.h"

#include <iterator>

namespace {

// How a method that is not carried out answers the script: as its real self does on success.
enum class DryAnswer { Nothing, One, True, EmptyText };

struct DryRunRow {
    const char* name;
    NameMatch match; // as the real object compares the name
    DryAnswer answer;
};

const DryRunRow kServiceRows[] = {
    {"StartService", NameMatch::AnyCase, DryAnswer::Nothing},
    {"StopService", NameMatch::AnyCase, DryAnswer::Nothing},
    {"StopServiceAndWait", NameMatch::AnyCase, DryAnswer::Nothing},
    {"UnInstallService", NameMatch::AnyCase, DryAnswer::Nothing},
};

const DryRunRow kRegKeyRows[] = {
    {"SetRegStrValue", NameMatch::AnyCase, DryAnswer::Nothing},
    {"SetRegDWordValue", NameMatch::AnyCase, DryAnswer::Nothing},
};

// Loading a library runs its code; a declared procedure may do anything.
const DryRunRow kDllModuleRows[] = {
    {"LoadLibrary", NameMatch::AnyCase, DryAnswer::One},
    {"CallProc", NameMatch::AnyCase, DryAnswer::EmptyText},
};

const DryRunRow kSystemRows[] = {
    {"LaunchAppAndWait", NameMatch::AnyCase, DryAnswer::Nothing},
    {"ShellExec", NameMatch::AnyCase, DryAnswer::Nothing},
    {"ExecConsoleCmd", NameMatch::AnyCase, DryAnswer::EmptyText},
    {"CreateDir", NameMatch::ExactCase, DryAnswer::True},
    {"CopyFile", NameMatch::ExactCase, DryAnswer::Nothing},
    {"DeleteFile", NameMatch::ExactCase, DryAnswer::Nothing},
    {"DeleteDirData", NameMatch::AnyCase, DryAnswer::Nothing},
    {"DeleteDir", NameMatch::ExactCase, DryAnswer::True},
    {"DeleteDirectory", NameMatch::ExactCase, DryAnswer::True},
    {"WriteTextFile", NameMatch::ExactCase, DryAnswer::True},
    {"SetIniFileValue", NameMatch::ExactCase, DryAnswer::True},
};

struct DryRunTable {
    const char* className; // of the real object
    const DryRunRow* rows;
    std::size_t count;
    bool isSystem;
};

const DryRunTable kTables[] = {
    {"Service", kServiceRows, std::size(kServiceRows), false},
    {"CRegKey", kRegKeyRows, std::size(kRegKeyRows), false},
    {"CDllModule", kDllModuleRows, std::size(kDllModuleRows), false},
    {"", kSystemRows, std::size(kSystemRows), true}, // the System object has no class name
};

const DryRunTable* TableFor(const ScriptObject& real)
{
    for (const DryRunTable& table : kTables) {
        if (SameName(table.className, real.ClassName()))
            return &table;
    }
    return nullptr;
}

void Answer(DryAnswer answer, ArgumentList& arguments)
{
    switch (answer) {
    case DryAnswer::Nothing:
        return;
    case DryAnswer::One:
        return arguments.SetResultInt(1, TypeInt);
    case DryAnswer::True:
        return arguments.SetResultInt(1, TypeBool);
    case DryAnswer::EmptyText:
        return arguments.SetResult("", TypeString);
    }
}

class DryRunObject final : public ScriptObject {
public:
    DryRunObject(Counted<ScriptObject> real, const DryRunTable& table, std::string globalName, std::string& output)
        : ScriptObject(real->ClassName()), m_real(std::move(real)), m_table(table), m_globalName(std::move(globalName)),
          m_output(output)
    {
    }

    [[nodiscard]] Counted<ScriptObject> CreateInstance(const std::string& instanceName) override
    {
        Counted<ScriptObject> instance = m_real->CreateInstance(instanceName);
        if (!instance)
            return instance;
        auto wrapped = MakeCounted<DryRunObject>(std::move(instance), m_table, std::string(), m_output);
        wrapped->SetClassName(ClassName());
        wrapped->SetInstanceName(instanceName);
        return wrapped;
    }

    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override
    {
        for (std::size_t index = 0; index < m_table.count; ++index) {
            const DryRunRow& row = m_table.rows[index];
            if (MethodNameMatches(row.name, row.match, name)) {
                Answer(row.answer, arguments);
                std::string line = PrintedCall(Label(), name, arguments, caller);
                if (arguments.Result().Type() == TypeString)
                    line += " = \"" + arguments.Result().ToString() + "\"";
                else if (arguments.Result().Type() != TypeNone)
                    line += " = " + arguments.Result().ToString();
                m_output += line + "  (not carried out; --real carries it out)\n";
                return true;
            }
        }
        // The real object reads the engine's script folder, as it would were it registered.
        if (!m_real->Engine())
            m_real->SetEngine(Engine() ? Engine() : arguments.Engine());
        if (m_real->InvokeMethod(name, arguments, caller))
            return true;
        if (m_table.isSystem && IsSystemLibraryMethod(name))
            m_output += Label() + "." + name + " needs the Windows runner, voscript.exe\n";
        return false;
    }

    bool SetMember(const std::string& name, const std::string& text) override { return m_real->SetMember(name, text); }
    [[nodiscard]] ScriptVariable* FindMember(const std::string& name) override { return m_real->FindMember(name); }
    [[nodiscard]] std::string ToString() const override { return m_real->ToString(); }
    [[nodiscard]] std::int32_t ToInt() const override { return m_real->ToInt(); }

private:
    std::string Label() const
    {
        if (!m_globalName.empty())
            return m_globalName;
        return InstanceName().empty() ? ClassName() : InstanceName();
    }

    Counted<ScriptObject> m_real;
    const DryRunTable& m_table;
    std::string m_globalName;
    std::string& m_output;
};

}

Counted<ScriptObject> MakeDryRunObject(Counted<ScriptObject> real, const std::string& globalName, std::string& output)
{
    if (!real)
        return real;
    const DryRunTable* table = TableFor(*real);
    if (!table)
        return real;
    return MakeCounted<DryRunObject>(std::move(real), *table, globalName, output);
}
