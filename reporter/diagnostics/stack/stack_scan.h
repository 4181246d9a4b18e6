// One scan of a stack for return addresses, with everything that decides what it keeps.
#pragma once
#include "reporter/diagnostics/debug_formats/locate_address.h"
#include "reporter/diagnostics/stack/stack_list.h"
#include <functional>

struct TStackScanParams {
    uint32_t AllowedDetails = kAllDetails; // bit n set: entries of Detail n are accepted
    int FirstLevel = -1;                   // see ScanStack
    int MaxCount = -1;
    bool FollowCalls = false;
    bool Resolve = true; // look the addresses up, else name the module alone
    bool RunningThread = false;
    DWORD ThreadId = 0;
    // Entries whose direct call cannot lead to the frames above them are marked: for a stack
    // whose top entry is the exception's address (see MarkStaleCalls).
    bool CheckCalls = false;
    // The lookup that Resolve uses.
    std::function<bool(const void*, TVessarDebugInfo&)> Locate = LocateAddress;
    // Entries of an allowed Detail so far, and those of them added to the list.
    int Accepted = 0;
    int Kept = 0;
};

// ScanStack with its parameters in one record; the counters go on from their values.
void ScanStackWith(TVessarStackList& list, const void* errorAddress, const void* start,
                   const void* top, TStackScanParams& params);
// A new list holding one such scan.
std::unique_ptr<TVessarStackList> NewStackListWith(const void* errorAddress, const void* start,
                                                   const void* top, TStackScanParams params);
