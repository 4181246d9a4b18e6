// A windowed program that carries the crash reporter with freeze detection on and a message box
// for every report. Its main window is minimised and then stops answering for good: the freeze
// must be reported although the window cannot be restored, and a worker's exception after it
// too. Only then does the main thread answer again. One line each on standard output:
//   minimised: yes|no
//   reported: <class>: <message>
//   later exception reported: yes|no
#include "reporter/core/interception/hooking/hooking_unit.h"
#include "reporter/core/interception/interception_unit.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/processing/notifications.h"
#include "runtime/exception.h"
#include "runtime/program.h"
#include "tests/reporter/support/message_box_answer.h"
#include "tests/reporter/support/test_window.h"
#include <atomic>
#include <cstdio>
#include <windows.h>

namespace {

constexpr DWORD kLongestFreezeMs = 60000;

std::atomic<bool> frozenBoxClosed{false};
std::atomic<bool> laterReported{false};

void SayReported(TVessarExceptionRecord& record) {
    std::printf("reported: %s: %s\n", record.ExceptionObject->ClassName().c_str(),
                record.ExceptionObject->Message().c_str());
    std::fflush(stdout);
}

void Listen() {
    GlobalLogHandlers().OnException = [](TVessarExceptionRecord& record, bool&) {
        SayReported(record);
    };
    GlobalLogHandlers().OnExceptionAction = [](TVessarExceptionRecord& record, int action, bool&) {
        if (action == kActionAfterDialog &&
            record.ExceptionObject->ClassName() == "EFrozenApplication")
            frozenBoxClosed = true;
    };
    GlobalLogHandlers().OnHandledException = [](TVessarExceptionRecord& record, bool&) {
        SayReported(record);
        laterReported = true;
    };
}

std::string BoxCaption() {
    return CurrentVessarionOptions().Text(kTextErrorOccurred);
}

// Once the freeze was reported and its box answered, an exception the worker handles itself is
// reported too (the crash reporter reports handled exceptions here).
DWORD WINAPI RaiseAfterTheFreeze(void*) {
    while (!frozenBoxClosed)
        Sleep(20);
    const TMessageBoxAnswer answer(BoxCaption(), IDOK);
    try {
        throw Exception("raised after the freeze");
    } catch (const Exception&) {
    }
    return 0;
}

HWND CreateMinimisedWindow() {
    HWND window = CreateTestWindow("FrozenWindowProgram", "Frozen window program");
    ShowWindow(window, SW_MINIMIZE);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    return window;
}

// Answers nothing until the later exception was reported, or for a minute at most.
void FreezeUntilReported() {
    const DWORD start = GetTickCount();
    while (!laterReported && GetTickCount() - start < kLongestFreezeMs) {
    }
}

} // namespace

int main() {
    InitializeUnits({&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit});
    CurrentVessarionOptions().SetBehaviourFlags(CurrentVessarionOptions().Stored().BehaviourFlags |
                                                BehaviourFlag::ReportHandledExceptions);
    Listen();
    HWND window = CreateMinimisedWindow();
    std::printf("minimised: %s\n", IsIconic(window) ? "yes" : "no");
    std::fflush(stdout);
    HANDLE worker = CreateThread(nullptr, 0, RaiseAfterTheFreeze, nullptr, 0, nullptr);
    {
        const TMessageBoxAnswer answer(BoxCaption(), IDOK);
        FreezeUntilReported();
    }
    std::printf("later exception reported: %s\n", laterReported ? "yes" : "no");
    std::fflush(stdout);
    if (!laterReported) // the crash reporter is stuck: a halt would wait for it
        TerminateProcess(GetCurrentProcess(), 3);
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    DestroyWindow(window);
    Halt(0);
}
