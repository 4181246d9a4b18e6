#include "reporter/diagnostics/stack_list.h"
#include "reporter/diagnostics/locate_address.h"

namespace {

std::unique_ptr<TVessarDebugInfo> ModuleOnlyEntry(void* address, bool runningThread,
                                                  DWORD threadId) {
    auto entry = std::make_unique<TVessarDebugInfo>();
    LocateAddress(address, *entry);
    entry->RunningThread = runningThread;
    entry->ThreadId = threadId;
    return entry;
}

} // namespace

// Only the error address is entered for now: reading the stack's return addresses comes with
// the debug-information readers.
void ScanStack(TVessarStackList& list, void* errorAddress, const void*, uint32_t allowedDetails,
               int, int, bool, bool, bool runningThread, DWORD threadId, const void*) {
    if (!errorAddress)
        return;
    auto entry = ModuleOnlyEntry(errorAddress, runningThread, threadId);
    entry->ErrorAddress = true;
    if (allowedDetails & (1u << entry->Detail))
        list.Add(std::move(entry));
}

std::unique_ptr<TVessarStackList> NewStackList(void* errorAddress, const void* start,
                                               const void* top, uint32_t allowedDetails,
                                               int maxCount, int firstLevel, bool followCalls,
                                               bool runningThread, DWORD threadId) {
    auto list = std::make_unique<TVessarStackList>();
    ScanStack(*list, errorAddress, start, allowedDetails, maxCount, firstLevel, followCalls, true,
              runningThread, threadId, top);
    return list;
}
