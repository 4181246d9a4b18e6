// What the processing keeps for the whole run, beyond one exception.
#pragma once
#include <atomic>
#include <deque>
#include <string>

struct TProcessingState {
    int ExceptionCount = 0;
    std::string LastMessage;
    // Times (GetTickCount64) of the most recent exceptions, oldest first.
    std::deque<unsigned long long> Burst;
    bool TerminateRequested = false;
    // The step the processing is at, for the report of its own failure.
    std::atomic<int> Section{0};
    // A dialog is up: the waiting main thread keeps the program's windows painted.
    std::atomic<bool> DialogShown{false};
};

// The process's state; used under the processing lock.
TProcessingState& ProcessingState();

// Sets the section number of the step the processing enters.
inline void EnterSection(int section) {
    ProcessingState().Section = section;
}
