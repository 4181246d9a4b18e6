#include "reporter/core/system_info/system_fields.h"
#include "reporter/core/system_info/system_groups.h"
#include "reporter/diagnostics/modules_list.h"

namespace {

std::string ModuleVersionAt(const void* address) {
    const TVessarModuleInfo* module = address ? ModulesList().ModuleAt(address) : nullptr;
    return module ? module->Version : std::string();
}

} // namespace

void AddSystemFields(TReportFields& fields, const TSystemFieldsContext& context) {
    const TWindowsVersion version = CurrentWindowsVersion();
    AddApplicationFields(fields, context);
    fields["2.4"] = ModuleVersionAt(context.ExceptionAddress);
    AddUserFields(fields, version);
    AddComputerFields(fields);
    fields["5.10"] = VideoCardValue(version);
    fields["5.11"] = PrinterValue(version);
    AddOperatingSystemFields(fields, version);
    AddNetworkFields(fields, ReadAdapters());
}
