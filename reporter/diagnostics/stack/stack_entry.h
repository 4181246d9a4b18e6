// One address entered into a call stack, as a scan's parameters allow.
#pragma once
#include "reporter/diagnostics/stack/stack_scan.h"

// The entries a list may reach: an address is entered only while it holds no more than this.
constexpr size_t kStackListLimit = 1024;

// Adds the entry for `address` (looked up, or with its module alone) when the list is not full,
// its Detail is allowed and it lies within the levels kept. `callTarget`: the procedure a direct
// call at `address` enters.
void AddStackEntry(TVessarStackList& list, TStackScanParams& params, uintptr_t address,
                   bool errorAddress, uintptr_t callTarget = 0);
