// What the processing keeps for the whole run, beyond one exception.
#pragma once
#include <atomic>
#include <deque>
#include <string>

// The steps of the processing of one exception, by the numbers its own failures are reported
// with.
enum class TSection : int {
    Start = 1,
    ChooseModule = 101,
    Filter = 2,
    MatchFilter = 201,
    Handling = 3,
    TraceStacks = 4,
    SuspendThreads = 5,
    BuildReport = 7,
    DuplicateCheck = 703,
    EnvironmentVariables = 705,
    CustomData = 8,
    CountException = 9,
    ChooseDialog = 11,
    BeforeDialog = 12,
    ShowDialog = 13,
    AfterDialog = 14,
    SaveLog = 15,
    SendAndBurst = 16,
    Finish = 17,
    EndApplication = 18,
};

struct TProcessingState {
    int ExceptionCount = 0;
    std::string LastMessage;
    // Times (GetTickCount64) of the most recent exceptions, oldest first.
    std::deque<unsigned long long> Burst;
    bool TerminateRequested = false;
    // The step the processing is at, for the report of its own failure.
    std::atomic<int> Section{0}; // a TSection; 0 before the first step
    // A dialog is up: the waiting main thread keeps the program's windows painted.
    std::atomic<bool> DialogShown{false};
};

// The process's state; used under the processing lock.
TProcessingState& ProcessingState();

// Notes the step the processing enters, and tells the probe when one is set.
void EnterSection(TSection section);

// Called on entering every step. The product sets none; a test sets one to make a chosen step
// fail, and null takes it away.
using TSectionProbe = void (*)(TSection section);
void SetSectionProbe(TSectionProbe probe);
