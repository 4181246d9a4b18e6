// A program that carries the crash reporter and lets one processing scenario happen, as its
// first argument names it (the table at the end lists them); its log goes to the folder of the
// last argument.
//   scenario_program <scenario> [<count>] <folder>
// SCENARIO_DEBUG_PASSWORD, when set, is the listener's answer to the debug password request.
#include "reporter/core/interception/hand_over.h"
#include "reporter/core/interception/hooking/hooking_unit.h"
#include "reporter/core/interception/interception_unit.h"
#include "reporter/core/interception/thread_tracking.h"
#include "reporter/core/options/exception_filters.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/processing/notifications.h"
#include "reporter/core/processing/warnings.h"
#include "runtime/application.h"
#include "runtime/exit_procs.h"
#include "runtime/program.h"
#include "tests/reporter/processing/chain.h"
#include "tests/reporter/processing/section_faults.h"
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace {

constexpr uint64_t kExceptionFields = 0x3FFull << 6;

class EIgnored : public Exception {
    using Exception::Exception;
};

TVessarModuleOptionsEx& Options() {
    return CurrentVessarionOptions();
}

// Caught by the program and reported at the end of its handler; one place of raising, so that
// every report of it has the same ID.
[[gnu::noinline]] void RaiseAndCatch(const char* message) {
    try {
        throw Exception(message);
    } catch (const Exception&) {
    }
}

// A library loaded and freed before the exception is no module of the report.
void ReportToStandardOutput() {
    FreeLibrary(LoadLibraryA("lz32.dll"));
    Options().SetDialogKind(1);
    RaiseAndCatch("shown on the console");
}

// The filter takes it away entirely: the application's handler does not run either.
void IgnoreByFilter() {
    Options().Filters().Add({true, "EIgnored", "", 0, 0, 0, 0});
    Application->OnException = [](TComponent*, Exception& e) {
        std::printf("application handled: %s\n", e.Message().c_str());
    };
    try {
        throw EIgnored("not to be reported");
    } catch (...) {
        Application->HandleException(nullptr);
    }
}

// Both raises come from one frame of this procedure: the second call is no tail jump, so that
// both stacks, and so both IDs, are the same.
[[gnu::noinline]] void RaiseTwice() {
    Options().SetLogFlags(Options().Stored().LogFlags | LogFlag::CountDuplicates);
    for (int i = 0; i < 2; ++i)
        RaiseAndCatch("the same failure");
    asm volatile("" ::: "memory");
}

std::atomic<long> ticks{0};
std::atomic<bool> ticking{true};

// A listener ends the processing at once; the filter asks for the program to end afterwards.
// The worker held meanwhile goes on again before the end.
void StopInListener() {
    Options().SetBehaviourFlags(Options().Stored().BehaviourFlags |
                                BehaviourFlag::SuspendOtherThreads);
    Options().Filters().Add({true, "Exception", "", 0, 0, 2, 1});
    std::thread([] {
        while (ticking)
            ++ticks, Sleep(1);
    }).detach();
    GlobalLogHandlers().OnHandledException = [](TVessarExceptionRecord&, bool& go) { go = false; };
    GlobalLogHandlers().OnExceptionAction = [](TVessarExceptionRecord&, int action, bool&) {
        if (action != 8)
            return;
        const long before = ticks;
        Sleep(200);
        std::printf("terminating; worker went on: %s\n", ticks > before ? "yes" : "no");
        std::fflush(stdout);
    };
    RaiseAndCatch("stopped by a listener");
    std::printf("not terminated\n");
}

// RepeatCount exceptions within RepeatMinutes restart the program; the restarted program only
// says so.
void RaiseBurst(int count, const std::string& folder) {
    if (std::getenv("SCENARIO_RESTARTED")) {
        if (FILE* marker = std::fopen((folder + "\\restarted").c_str(), "w"))
            std::fclose(marker);
        return;
    }
    SetEnvironmentVariableA("SCENARIO_RESTARTED", "1");
    Options().SetRepeatAction(2);
    Options().SetRepeatCount(10);
    Options().SetRepeatMinutes(1);
    Options().SetTerminateButtonAction(2);
    for (int i = 0; i < count; ++i)
        RaiseAndCatch(("burst " + std::to_string(i)).c_str());
    std::printf("no restart after %d\n", count);
}

// Eight threads, each raising 200 exceptions that reach the crash reporter; so many in so
// little time are no reason to restart here. The reports are kept small (the exception group
// and its thread's stack): what counts is that each is whole.
void RaiseInThreads() {
    Options().SetRepeatAction(0);
    Options().SetReportFields(kExceptionFields);
    Options().SetLogFlags(0);
    Options().SetStackFlags(0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 200; ++i)
                RaiseAndCatch(
                    ("thread " + std::to_string(t) + " exception " + std::to_string(i)).c_str());
        });
    for (std::thread& thread : threads)
        thread.join();
    std::printf("threads done\n");
}

// The report of a throw at the end of a known chain of calls.
void RaiseAtChainEnd() {
    try {
        ChainStart();
    } catch (const Exception&) {
    }
}

// Of two filters for the class, the first is for unhandled exceptions only: the caught one
// falls through to the second, whose message the report then carries.
void FilterByScope() {
    Options().Filters().Add({true, "Exception", "first filter", kScopeUnhandled, 0, 2, 0});
    Options().Filters().Add({true, "Exception", "second filter", kScopeAny, 0, 2, 0});
    RaiseAndCatch("filtered by scope");
}

// Duplicates are counted and a log of another version is deleted: run twice, with the version
// of the log changed between the runs.
void RaiseOnceKeepingVersions() {
    Options().SetLogFlags(Options().Stored().LogFlags | LogFlag::CountDuplicates |
                          LogFlag::DeleteOnOtherVersion);
    RaiseAndCatch("the same failure");
}

// One report for the log, then the warning its saving left, on a line of its own.
void LogAndTellTheWarning() {
    RaiseAndCatch("saved to the log");
    const TVessarWarning warning = LastWarning();
    std::printf("warning: %s %s\n", WarningCodeName(warning.Code), warning.Message.c_str());
}

// A listener moves the log: the exception being processed follows it.
void MoveLogInListener(const std::string& folder) {
    static std::string moved = folder + "\\moved.elf";
    GlobalLogHandlers().OnHandledException = [](TVessarExceptionRecord&, bool&) {
        Options().SetLogPath(moved);
    };
    RaiseAndCatch("logged where the listener says");
}

// Held in a variable: the compiler must not see the write to nowhere coming.
volatile uintptr_t unmappedAddress = 0x10;

// An access violation nothing handles; a listener shows what the environment says of it.
void ViolateAccess() {
    GlobalLogHandlers().OnException = [](TVessarExceptionRecord&, bool&) {
        char message[1024] = {};
        GetEnvironmentVariableA("_ExceptMsg", message, sizeof message);
        std::printf("listener saw: %s\n", message);
        std::fflush(stdout);
    };
    std::fflush(stdout); // a call through an import thunk that the assembler section names
    *reinterpret_cast<volatile int*>(unmappedAddress) = 1;
}

// A build whose names are enciphered gets the password from the program's listener.
void AnswerDebugPassword() {
    if (std::getenv("SCENARIO_DEBUG_PASSWORD"))
        GlobalLogHandlers().OnPasswordRequest = [](TVessarExceptionRecord&, std::string& password) {
            password = std::getenv("SCENARIO_DEBUG_PASSWORD");
        };
}

DWORD WINAPI RunBody(void* body) {
    (*static_cast<std::function<void()>*>(body))();
    return 0;
}

// Four threads running while the main thread's exception is reported: every one of them gets
// its block, and each the stack of the thread that made it.
void ReportAllThreads() {
    Options().SetStackFlags(StackFlag::RuntimeThreads | StackFlag::OtherThreads);
    std::atomic<bool> running{true};
    std::atomic<int> started{0};
    std::function<void()> work = [&] {
        ++started;
        while (running)
            Sleep(5);
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < 2; ++i)
        threads.emplace_back(work);
    std::vector<HANDLE> handles;
    for (int i = 0; i < 2; ++i)
        handles.push_back(CreateThread(nullptr, 0, RunBody, &work, 0, nullptr));
    while (started < 4)
        Sleep(5);
    RaiseAndCatch("with four threads running");
    running = false;
    for (std::thread& thread : threads)
        thread.join();
    WaitForMultipleObjects(DWORD(handles.size()), handles.data(), TRUE, INFINITE);
    for (HANDLE handle : handles)
        CloseHandle(handle);
}

// The processing fails in every step, by both kinds, with the dialog steps entered too (a console
// program writes the report out); duplicates are not merged, so that the last report is the one
// made after the failures, and so many exceptions are no burst.
void FailEverywhere() {
    Options().SetDialogKind(1);
    Options().SetLogFlags(0);
    Options().SetRepeatAction(0);
    FailInEverySection(RaiseAndCatch);
}

// A filter asks for the program to end after the exception; the processing fails after that
// was decided. The program still ends.
void FailThenEnd() {
    Options().Filters().Add({true, "Exception", "", 0, 0, 2, 1});
    FailInSection(TSection::BuildReport, TFaultKind::AccessViolation);
    RaiseAndCatch("ends the program");
    std::printf("went on\n");
}

// An access violation that nothing handles is processed by the system filter's own thread; the
// processing fails there. The process still ends with the violation's code.
void FailInFilter() {
    FailInSection(TSection::BuildReport, TFaultKind::AccessViolation);
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
    std::printf("went on\n");
}

HANDLE reportStarted = CreateEventA(nullptr, TRUE, FALSE, nullptr);
HANDLE halting = CreateEventA(nullptr, TRUE, FALSE, nullptr);
constexpr DWORD kHaltWaitMs = 30000;

// Another thread's exception is being processed when the program halts: the halt waits for the
// report, which is saved as usual. Its listener holds the processing until the halt has begun,
// and a little longer, so that the halt would go on without it.
void HaltWhileProcessing() {
    GlobalLogHandlers().OnHandledException = [](TVessarExceptionRecord&, bool&) {
        SetEvent(reportStarted);
        WaitForSingleObject(halting, kHaltWaitMs);
        Sleep(500);
    };
    AddExitProc([] { SetEvent(halting); });
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void*) WINAPI -> DWORD {
            RaiseAndCatch("reported while the program halts");
            return 0;
        },
        nullptr, 0, nullptr);
    WaitForSingleObject(reportStarted, kHaltWaitMs);
    CloseHandle(thread);
}

// Whether the ticking worker goes on within two seconds.
bool TicksGoOn() {
    const long before = ticks;
    for (int i = 0; i < 100 && ticks == before; ++i)
        Sleep(20);
    return ticks != before;
}

// Exceptions that reach the crash reporter unhandled, by how the search for a handler ended.
void HandOverUnhandled(int handlerKind, const char* message) {
    const Exception object(message);
    THandOver exception;
    exception.Object = &object;
    exception.Address = reinterpret_cast<void*>(&HandOverUnhandled);
    exception.HandlerKind = handlerKind;
    exception.CallingModule = GetModuleHandleA(nullptr);
    HandOverException(exception);
}

// With BehaviourFlags 0x0004 a worker is held while an exception is processed; not for one that
// only the runtime's thread wrapper saw, and not when the threads are not known (the list has
// gone). A line for each, said while the exception is processed.
void HoldThreads() {
    Options().SetBehaviourFlags(Options().Stored().BehaviourFlags |
                                BehaviourFlag::SuspendOtherThreads);
    CloseHandle(CreateThread(
        nullptr, 0,
        [](void*) WINAPI -> DWORD {
            while (ticking)
                ++ticks, Sleep(1);
            return 0;
        },
        nullptr, 0, nullptr));
    GlobalLogHandlers().OnException = [](TVessarExceptionRecord& record, bool&) {
        std::printf("%s: worker %s\n", record.ExceptionObject->Message().c_str(),
                    TicksGoOn() ? "goes on" : "held");
        std::fflush(stdout);
    };
    HandOverUnhandled(kHandlerOrdinary, "ordinary");
    HandOverUnhandled(kHandlerThreadWrapper, "thread wrapper");
    StopThreadTracking();
    HandOverUnhandled(kHandlerOrdinary, "no thread list");
}

// The scenarios by name; `folder` is the log folder, `count` the number after the name (burst).
std::vector<std::pair<std::string, std::function<void()>>> Scenarios(const std::string& folder,
                                                                     int count) {
    return {
        {"console", ReportToStandardOutput},
        {"ignored", IgnoreByFilter},
        {"duplicate", RaiseTwice},
        {"stopped", StopInListener},
        {"burst", [=] { RaiseBurst(count, folder); }},
        {"threads", RaiseInThreads},
        {"chain", RaiseAtChainEnd},
        {"all-threads", ReportAllThreads},
        {"filter-scope", FilterByScope},
        {"versions", RaiseOnceKeepingVersions},
        {"log-warning", LogAndTellTheWarning},
        {"move-log", [=] { MoveLogInListener(folder); }},
        {"access", ViolateAccess},
        {"section-faults", FailEverywhere},
        {"fault-then-end", FailThenEnd},
        {"fault-in-filter", FailInFilter},
        {"halt-while-processing", HaltWhileProcessing},
        {"held-threads", HoldThreads},
    };
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc >= 3 ? argv[argc - 1] : "";
    const auto scenarios = Scenarios(folder, argc == 4 ? std::atoi(argv[2]) : 0);
    const auto scenario = std::find_if(scenarios.begin(), scenarios.end(), [&](const auto& named) {
        return argc >= 3 && named.first == argv[1];
    });
    if (scenario == scenarios.end()) {
        std::fputs("usage: scenario_program <scenario> [<count>] <log folder>; scenarios:", stderr);
        for (const auto& named : scenarios)
            std::fprintf(stderr, " %s", named.first.c_str());
        std::fputs("\n", stderr);
        return 2;
    }
    InitializeUnits(
        {&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit, &ApplicationUnit});
    Options().SetLogPath(folder);
    Options().SetDialogKind(0);
    AnswerDebugPassword();
    Options().SetBehaviourFlags(Options().Stored().BehaviourFlags |
                                BehaviourFlag::ReportHandledExceptions);
    scenario->second();
    ticking = false;
    std::fflush(stdout);
    Halt(0);
}
