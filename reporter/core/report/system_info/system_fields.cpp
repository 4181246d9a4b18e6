#include "reporter/core/report/system_info/system_fields.h"
#include "reporter/core/report/system_info/system_groups.h"
#include "reporter/diagnostics/lists/modules_list.h"

namespace {

std::string ModuleVersionAt(const void* address) {
    const TModuleRef module = address ? ModulesList().ModuleAt(address) : nullptr;
    return module ? module->Version : std::string();
}

// ReportFields bits of the values gathered here, by group: a group none of whose fields is
// written is not asked of the system at all.
constexpr uint64_t kApplicationFields = 0x39;
constexpr uint64_t kModuleVersionField = 1ull << 9;
constexpr uint64_t kUserFields = 0x1Full << 16;
constexpr uint64_t kComputerFields = 0x7FFull << 25;
constexpr uint64_t kOperatingSystemFields = 0x1Full << 36;
constexpr uint64_t kNetworkFields = 0x3Full << 41;

// The computer's and the operating system's values that stay the same while the process runs:
// asked of the system for the first report only.
const TReportFields& FixedFields(const TWindowsVersion& version) {
    static const TReportFields fixed = [&] {
        TReportFields fields;
        AddFixedComputerFields(fields);
        fields["5.10"] = VideoCardValue(version);
        AddOperatingSystemFields(fields, version);
        return fields;
    }();
    return fixed;
}

void AddFixedFields(TReportFields& fields, const TWindowsVersion& version, uint64_t wanted) {
    for (const auto& [key, value] : FixedFields(version))
        if (wanted & (key.starts_with("5.") ? kComputerFields : kOperatingSystemFields))
            fields[key] = value;
}

} // namespace

void AddSystemFields(TReportFields& fields, const TSystemFieldsContext& context) {
    const uint64_t wanted = context.ReportFields;
    const TWindowsVersion version = CurrentWindowsVersion();
    if (wanted & kApplicationFields)
        AddApplicationFields(fields, context);
    if (wanted & kModuleVersionField)
        fields["2.4"] = ModuleVersionAt(context.ExceptionAddress);
    if (wanted & kUserFields)
        AddUserFields(fields, version);
    if (wanted & (kComputerFields | kOperatingSystemFields))
        AddFixedFields(fields, version, wanted);
    if (wanted & kComputerFields) {
        AddChangingComputerFields(fields);
        fields["5.11"] = PrinterValue(version);
    }
    if (wanted & kNetworkFields)
        AddNetworkFields(fields, ReadAdapters());
}
