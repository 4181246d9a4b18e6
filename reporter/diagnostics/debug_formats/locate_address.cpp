#include "reporter/diagnostics/debug_formats/locate_address.h"
#include "reporter/base/byte_stream.h"
#include "reporter/base/phase_clock.h"
#include "reporter/diagnostics/debug_formats/exports_list.h"
#include "reporter/diagnostics/debug_formats/line_table_lookup.h"
#include "reporter/diagnostics/debug_formats/location_fill.h"
#include "reporter/diagnostics/lists/modules_list.h"

namespace {

// A damaged table counts as none.
bool InOwnLineTable(const TVessarModuleInfo& module, const void* address, TVessarDebugInfo& info) {
    try {
        return LocateInLineTable(module, address, info);
    } catch (const EStreamReadError&) {
        return false;
    }
}

bool InDebugSource(const TVessarModuleInfo& module, const void* address, TVessarDebugInfo& info) {
    TKFLocationInfo location;
    if (!module.DebugSource || !module.DebugSource->Locate(address, location))
        return false;
    FillFromLocation(location, info);
    return true;
}

} // namespace

bool LocateAddress(const void* address, TVessarDebugInfo& info) {
    const TPhaseScope phase(TPhase::AddressLookups);
    info = TVessarDebugInfo{};
    info.Addr = uint32_t(reinterpret_cast<uintptr_t>(address));
    info.Module = ModulesList().ModuleAt(address);
    if (!info.Module)
        return false;
    const TVessarModuleInfo& module = *info.Module;
    if (InOwnLineTable(module, address, info) || InDebugSource(module, address, info))
        return true;
    info.Detail = kDetailModule;
    if (module.Exports)
        LocateByExport(*module.Exports, address, info);
    return true;
}
