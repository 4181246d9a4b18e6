// A program that carries the crash reporter with freeze detection on (after two seconds).
//   freeze_program freeze: its main window answers, stops answering, answers again; then
//     freeze detection is switched off and on through the options while it does not answer.
//     Each phase is announced on standard error as "phase <name>", between the hand-overs.
//   freeze_program restart <file>: appends "parent: <current directory> | <command line>" to
//     the file, moves to another directory and restarts; the new process finds the file and
//     appends its own line as "child: ..." instead.
#include "reporter/core/interception/hooking/hooking_unit.h"
#include "reporter/core/interception/interception_unit.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/processing/application_end.h"
#include "runtime/program.h"
#include "tests/reporter/support/hand_over_lines.h"
#include "tests/reporter/support/test_window.h"
#include <atomic>
#include <cstdio>
#include <cstring>
#include <windows.h>

namespace {

std::atomic<bool> thawed{false};

void Say(const char* text) {
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
}

DWORD WINAPI Thaw(void* milliseconds) {
    Sleep(DWORD(reinterpret_cast<uintptr_t>(milliseconds)));
    thawed = true;
    return 0;
}

// Keeps the main thread busy in this program's own code, answering nothing.
[[gnu::noinline]] void Freeze(DWORD milliseconds) {
    thawed = false;
    HANDLE thawer = CreateThread(nullptr, 0, Thaw, reinterpret_cast<void*>(uintptr_t(milliseconds)),
                                 0, nullptr);
    while (!thawed.load(std::memory_order_relaxed)) {
    }
    WaitForSingleObject(thawer, INFINITE);
    CloseHandle(thawer);
}

void Answer(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
}

void SwitchFreezeCheck(bool on) {
    CurrentVessarionOptions().SetFreezeCheck(on);
}

[[noreturn]] void FreezeInPhases() {
    std::fprintf(stderr, "main thread %lu\n", GetCurrentThreadId());
    HWND window = CreateTestWindow("FreezeProgram", "Freeze program");
    Say("phase answering");
    Answer(4000);
    Say("phase frozen");
    Freeze(5000);
    Answer(1000);
    SwitchFreezeCheck(false);
    Say("phase switched off");
    Freeze(4000);
    SwitchFreezeCheck(true);
    Say("phase switched on");
    Freeze(5000);
    Answer(500);
    Say("phase done");
    DestroyWindow(window);
    Halt(0);
}

void AppendLine(const char* fileName, const char* who) {
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    if (FILE* file = std::fopen(fileName, "ab")) {
        std::fprintf(file, "%s: %s | %s\n", who, directory, GetCommandLineA());
        std::fclose(file);
    }
}

[[noreturn]] void Restart(const char* fileName) {
    const bool child = GetFileAttributesA(fileName) != INVALID_FILE_ATTRIBUTES;
    AppendLine(fileName, child ? "child" : "parent");
    if (child)
        Halt(0);
    SetCurrentDirectoryA("C:\\");
    RestartApplication();
}

} // namespace

int main(int argc, char** argv) {
    ListenToHandOvers();
    InitializeUnits({&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit});
    if (argc == 2 && std::strcmp(argv[1], "freeze") == 0)
        FreezeInPhases();
    if (argc == 3 && std::strcmp(argv[1], "restart") == 0)
        Restart(argv[2]);
    Say("usage: freeze_program freeze | restart <file>");
    Halt(2);
}
