#include "reporter/diagnostics/stack/stack_list.h"
#include "reporter/diagnostics/stack/stack_scan.h"

void ScanStack(TVessarStackList& list, void* errorAddress, const void* start,
               uint32_t allowedDetails, int maxCount, int firstLevel, bool followCalls,
               bool resolve, bool runningThread, DWORD threadId, const void* top) {
    TStackScanParams params;
    params.AllowedDetails = allowedDetails;
    params.FirstLevel = firstLevel;
    params.MaxCount = maxCount;
    params.FollowCalls = followCalls;
    params.Resolve = resolve;
    params.RunningThread = runningThread;
    params.ThreadId = threadId;
    ScanStackWith(list, errorAddress, start, top, params);
}

std::unique_ptr<TVessarStackList> NewStackListWith(const void* errorAddress, const void* start,
                                                   const void* top, TStackScanParams params) {
    auto list = std::make_unique<TVessarStackList>();
    ScanStackWith(*list, errorAddress, start, top, params);
    return list;
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
