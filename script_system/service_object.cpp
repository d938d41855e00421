// "Service": starts, stops and deletes Windows services by name for a script.
#include "script_system/system_classes.h"

#include "script/argument_list.h"
#include "script/objects/method_table.h"
#include "script/objects/system_method_names.h"
#include "sysops/service_handle.h"
#include "sysops/services.h"

namespace {

class ServiceObject final : public ScriptObject {
public:
    ServiceObject() : ScriptObject("Service") {}

    [[nodiscard]] Counted<ScriptObject> CreateInstance(const std::string& instanceName) override;
    [[nodiscard]] bool InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller) override;
};

// Every method opens the service with all rights and closes it before it returns.
constexpr DWORD kAllServiceAccess = SERVICE_ALL_ACCESS;

std::string ServiceName(const ArgumentList& arguments) { return arguments.ArgText(1, true); }

void StartNamedService(ServiceObject&, ArgumentList& arguments, FunctionInstance*)
{
    ServiceHandle service;
    if (service.Open(ServiceName(arguments), kAllServiceAccess))
        (void)service.Start({});
}

// Whether the service exists: a stopped service answers 1 too.
void ReportServiceExists(ServiceObject&, ArgumentList& arguments, FunctionInstance*)
{
    arguments.SetResultInt(ServiceExists(ServiceName(arguments)) ? 1 : 0, TypeInt);
}

void StopNamedService(ServiceObject&, ArgumentList& arguments, FunctionInstance*)
{
    ServiceHandle service;
    if (service.Open(ServiceName(arguments), kAllServiceAccess))
        (void)service.Stop();
}

// Waits at most ten seconds, keeping the pages alive meanwhile.
void StopNamedServiceAndWait(ServiceObject&, ArgumentList& arguments, FunctionInstance*)
{
    ServiceHandle service;
    if (!service.Open(ServiceName(arguments), kAllServiceAccess))
        return;
    (void)service.Stop();
    (void)service.WaitForStopped(true);
}

void UninstallNamedService(ServiceObject&, ArgumentList& arguments, FunctionInstance*)
{
    (void)DeleteServiceByName(ServiceName(arguments));
}

const MethodHandler<ServiceObject> kServiceMethods[] = {
    {"StartService", StartNamedService},
    {"ServiceIsRun", ReportServiceExists},
    {"StopService", StopNamedService},
    {"StopServiceAndWait", StopNamedServiceAndWait},
    {"UnInstallService", UninstallNamedService},
};

Counted<ScriptObject> ServiceObject::CreateInstance(const std::string& instanceName)
{
    auto instance = MakeCounted<ServiceObject>();
    instance->SetClassName(ClassName());
    instance->SetInstanceName(instanceName);
    return instance;
}

bool ServiceObject::InvokeMethod(const std::string& name, ArgumentList& arguments, FunctionInstance* caller)
{
    return DispatchNamedMethod(ServiceMethodNames(), kServiceMethods, *this, name, arguments, caller);
}

}

Counted<ScriptObject> MakeServiceClass() { return MakeCounted<ServiceObject>(); }
