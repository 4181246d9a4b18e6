#include "reporter/diagnostics/stack/stack_entry.h"
#include "runtime/module_names.h"

namespace {

constexpr uint8_t kHighestDetailBit = 7;

// When the lookup itself is not to be trusted: the module's handle and file, kept apart from
// the modules list. An address in no module stays Detail 0.
void DescribeModuleOnly(uintptr_t address, TVessarDebugInfo& entry) {
    entry.Addr = uint32_t(address);
    const HMODULE handle = ModuleAt(reinterpret_cast<const void*>(address));
    if (!handle)
        return;
    auto module = std::make_shared<TVessarModuleInfo>();
    module->Handle = handle;
    module->FileName = ModulePath(handle);
    entry.Module = std::move(module);
    entry.Detail = kDetailModule;
}

bool Allowed(const TVessarDebugInfo& entry, uint32_t allowedDetails) {
    return entry.Detail <= kHighestDetailBit && (allowedDetails >> entry.Detail & 1u);
}

// Counts the accepted entry and tells whether it is one of the levels kept.
bool Kept(TStackScanParams& params) {
    ++params.Accepted;
    if (params.FirstLevel != -1 && (params.Accepted < params.FirstLevel ||
                                    (params.MaxCount >= 0 && params.Kept >= params.MaxCount)))
        return false;
    ++params.Kept;
    return true;
}

} // namespace

void AddStackEntry(TVessarStackList& list, TStackScanParams& params, uintptr_t address,
                   bool errorAddress, uintptr_t callTarget) {
    if (list.Count() > kStackListLimit)
        return;
    auto entry = std::make_unique<TVessarDebugInfo>();
    if (params.Resolve)
        params.Locate(reinterpret_cast<const void*>(address), *entry);
    else
        DescribeModuleOnly(address, *entry);
    entry->ThreadId = params.ThreadId;
    entry->RunningThread = params.RunningThread;
    entry->ErrorAddress = errorAddress;
    entry->CallTarget = uint32_t(callTarget);
    if (Allowed(*entry, params.AllowedDetails) && Kept(params))
        list.Add(std::move(entry));
}
