// One exception from the hand-over to its end: module and options, filters, call stacks,
// report, notifications, presentation, log, burst detection, terminate and restart.
#pragma once
#include "reporter/core/interception/hand_over.h"
#include "reporter/core/interception/raise_state.h"
#include "reporter/core/processing/focus_window.h"

struct TProcessingInput {
    THandOver Exception;
    DWORD ThreadId = 0;
    TFocusWindow Focus;
    // The faulting thread's last raise, with the copy of its stack; null when none applies.
    const TRaiseState* Raise = nullptr;
};

// Returns true when the standard handler is to run. Runs in a processing thread or in the
// faulting thread; the processing lock is held.
bool ProcessException(const TProcessingInput& input);
