// A program that carries the crash reporter and fails in the way its argument names; the
// interception test runs it once per way and reads what reached the hand-over.
#include "reporter/core/interception/cgi_output.h"
#include "reporter/core/interception/hooking/hooking_unit.h"
#include "reporter/core/interception/interception_unit.h"
#include "reporter/core/interception/module_phase.h"
#include "reporter/core/interception/raise_state.h"
#include "reporter/core/interception/thread_tracking.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/options/temporary_files.h"
#include "reporter/diagnostics/debug_formats/module_kfdata.h"
#include "runtime/program.h"
#include "runtime/unhandled_exception.h"
#include "tests/reporter/support/hand_over_lines.h"
#include <cstdio>
#include <cstring>
#include <cxxabi.h>
#include <httpext.h>
#include <stdexcept>
#include <thread>
#include <vector>
#include <windows.h>

namespace {

// Read at run time, so that the compiler can neither prove the fault nor the recursion's end.
volatile uintptr_t unmappedAddress = 0x10;
volatile bool deeper = true;

[[gnu::noinline]] int Recurse(int depth) {
    volatile char frame[512];
    frame[0] = char(depth);
    return deeper ? Recurse(depth + 1) + frame[0] : 0;
}

void ThrowException() {
    throw Exception("thrown without a handler");
}
void HandleInApplication() {
    Application->OnException = [](TComponent*, Exception& e) {
        std::printf("application handled: %s\n", e.Message().c_str());
    };
    try {
        throw Exception("handled by the application");
    } catch (...) {
        Application->HandleException(nullptr);
    }
}
// Exceptions the application handles itself, reported at the end of their handler.
void ReportHandled() {
    TVessarModuleOptionsEx& options = CurrentVessarionOptions();
    options.SetBehaviourFlags(options.Stored().BehaviourFlags |
                              BehaviourFlag::ReportHandledExceptions);
}
void CatchInProgram() {
    ReportHandled();
    try {
        throw Exception("caught by the program");
    } catch (const Exception&) {
    }
}
void HandleInApplicationAndCatch() {
    ReportHandled();
    HandleInApplication();
}
void ThrowForeign() {
    throw std::runtime_error("a standard error");
}
void ThrowAbort() {
    throw EAbort();
}
void WriteToNowhere() {
    *reinterpret_cast<volatile int*>(unmappedAddress) = 1;
}
void OverflowStack() {
    Recurse(0);
}
void RaiseForeign() {
    RaiseException(0xE0001234, 0, 0, nullptr);
}
void NameThread() {
    const ULONG_PTR info[4] = {0x1000, reinterpret_cast<ULONG_PTR>("worker"), ULONG_PTR(-1), 0};
    RaiseException(0x406D1388, 0, 4, info);
}

// The library beside the program, which carries a crash reporter of its own.
HMODULE LoadCrashLibrary() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::strcpy(std::strrchr(path, '\\') + 1, "crash_library.dll");
    return LoadLibraryA(path);
}

template <class Procedure> Procedure LibraryProcedure(HMODULE library, const char* name) {
    auto procedure =
        reinterpret_cast<Procedure>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    if (!procedure)
        std::printf("no crash_library.dll\n");
    return procedure;
}

// The library reports through the program's crash reporter.
void FailInLibrary() {
    HMODULE library = LoadCrashLibrary();
    if (auto fail = LibraryProcedure<void (*)()>(library, "FailInLibraryThread"))
        fail();
    FreeLibrary(library);
}

// A CGI program's page, kept as it is served.
void ServePage() {
    std::fputs("Content-Type: text/html\r\n\r\n<html>served</html>", stdout);
    std::fflush(stdout);
    std::fprintf(stderr, "kept page: %s\n", LastHtmlPage().c_str());
    if (FILE* file = std::fopen(LastHtmlPageFileName().c_str(), "rb")) {
        char text[256] = {};
        std::fread(text, 1, sizeof text - 1, file);
        std::fclose(file);
        std::fprintf(stderr, "page file: %s\n", std::strstr(text, "<html>"));
    }
}

struct Way {
    const char* name;
    void (*fail)();
};
const Way kWays[] = {{"throw", ThrowException},  {"handled", HandleInApplication},
                     {"caught", CatchInProgram}, {"library", FailInLibrary},
                     {"cgi", ServePage},         {"handled-caught", HandleInApplicationAndCatch},
                     {"abort", ThrowAbort},      {"foreign-throw", ThrowForeign},
                     {"access", WriteToNowhere}, {"overflow", OverflowStack},
                     {"foreign", RaiseForeign},  {"thread-name", NameThread}};

DWORD WINAPI SayWhetherTracked(void* label) {
    auto record = TrackedThreads()->Find(GetCurrentThreadId());
    std::printf("%s tracked: %s, stack noted: %s, made by the main thread: %s\n",
                static_cast<const char*>(label), record ? "yes" : "no",
                record && record->StackPosition ? "yes" : "no",
                record && record->CreatorThreadId == MainThreadID ? "yes" : "no");
    std::fflush(stdout);
    return 0;
}

// Threads made by CreateThread and by std::thread (through msvcrt) are tracked while they
// run; ended ones are dropped.
int ReportTrackedThreads() {
    InitializeUnits({&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit});
    HANDLE thread =
        CreateThread(nullptr, 0, SayWhetherTracked, const_cast<char*>("CreateThread"), 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    std::thread([] { SayWhetherTracked(const_cast<char*>("std::thread")); }).join();
    TrackedThreads()->DropEnded();
    std::printf("tracked after they ended: %zu\n", TrackedThreads()->Count());
    FinalizeUnits();
    return 0;
}

// A unit of the program's own, between the crash reporter's and the end: it sees the module
// initialising and finalising.
void SayPhase(const char* when) {
    std::printf("%s: initialising %s, finalising %s\n", when, ModuleInitialising() ? "yes" : "no",
                ModuleFinalising() ? "yes" : "no");
    std::fflush(stdout);
}
const TUnit kPhaseUnit{"Phase", [] { SayPhase("unit start"); }, [] { SayPhase("unit end"); }};

// Another module's system exception handed to this one: only taken over outside the main
// thread's normal run.
DWORD WINAPI ConvertForeignRecord(void*) {
    EXCEPTION_RECORD record{};
    record.ExceptionCode = 0xE0004321;
    auto convert = reinterpret_cast<void* (*)(const EXCEPTION_RECORD*, const CONTEXT*, uint8_t)>(
        reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA(nullptr), "Vessarion_CallExceptObject")));
    delete static_cast<Exception*>(convert(&record, nullptr, 1));
    return 0;
}

int ReportModulePhases() {
    InitializeUnits({&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit, &kPhaseUnit});
    SayPhase("running");
    ConvertForeignRecord(nullptr);
    HANDLE thread = CreateThread(nullptr, 0, ConvertForeignRecord, nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    FinalizeUnits();
    return 0;
}

// The code the crash reporter patches: the raise, and the application object's two handlers.
std::vector<std::vector<uint8_t>> PatchedCode() {
    const TKFDataContainer data = ReadModuleKFData(GetModuleHandleA(nullptr));
    std::vector<const uint8_t*> places = {
        reinterpret_cast<const uint8_t*>(&__cxxabiv1::__cxa_throw),
        static_cast<const uint8_t*>(ProcedureAddress(GetModuleHandleA(nullptr), data, 0)),
        static_cast<const uint8_t*>(ProcedureAddress(GetModuleHandleA(nullptr), data, 1))};
    std::vector<std::vector<uint8_t>> code;
    for (const uint8_t* place : places)
        code.emplace_back(place, place + 16);
    return code;
}

// Patched while the crash reporter runs, as they were once it has ended.
int CheckRestored() {
    const auto before = PatchedCode();
    InitializeUnits(
        {&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit, &ApplicationUnit});
    const auto during = PatchedCode();
    FinalizeUnits();
    const auto after = PatchedCode();
    for (size_t i = 0; i < before.size(); ++i)
        std::printf("place %zu: %s, %s\n", i, during[i] != before[i] ? "patched" : "NOT PATCHED",
                    after[i] == before[i] ? "restored" : "NOT RESTORED");
    return 0;
}

// Says which thread fails, so that the test can match the hand-over's.
void Fail(void (*fail)()) {
    std::printf("failing in thread %lu\n", GetCurrentThreadId());
    std::fflush(stdout);
    fail();
}

DWORD WINAPI FailInThread(void* fail) {
    Fail(reinterpret_cast<void (*)()>(fail));
    return 0;
}

// A fault's handler unwinding the frames above it leaves the stack behind first. The unwind
// ends at the innermost frame: nothing is unwound, but the call is made as a handler makes it.
int UnwindFault() {
    EXCEPTION_RECORD record{};
    record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    record.ExceptionAddress = reinterpret_cast<void*>(&UnwindFault);
    void* innermostFrame;
    asm("movl %%fs:0, %0" : "=r"(innermostFrame)); // NT_TIB.ExceptionList
    RtlUnwind(innermostFrame, nullptr, &record, nullptr);
    static TUnwoundStack kept;
    CopyUnwoundStack(kept);
    std::printf("unwound stack: this thread %s, this address %s, %s bytes\n",
                kept.ThreadId == GetCurrentThreadId() ? "yes" : "no",
                kept.Address == record.ExceptionAddress ? "yes" : "no",
                kept.StackSize > 64 ? "some" : "no");
    return 0;
}

// A web-server extension library's requests: what they write is kept as the last page.
BOOL WINAPI WriteToServer(HCONN, void* buffer, DWORD* count, DWORD) {
    std::printf("server got: %.*s\n", int(*count), static_cast<const char*>(buffer));
    return TRUE;
}

// The library's crash reporter keeps the page in the temporary folder shared with ours.
int ServeExtensionRequest() {
    std::remove(LastHtmlPageFileName().c_str());
    HMODULE library = LoadCrashLibrary();
    if (auto serve = LibraryProcedure<DWORD(WINAPI*)(EXTENSION_CONTROL_BLOCK*)>(
            library, "HttpExtensionProc")) {
        EXTENSION_CONTROL_BLOCK request{};
        request.cbSize = sizeof request;
        request.WriteClient = WriteToServer;
        serve(&request);
        std::printf("request's write call given back: %s\n",
                    request.WriteClient == WriteToServer ? "yes" : "no");
    }
    FreeLibrary(library);
    if (FILE* file = std::fopen(LastHtmlPageFileName().c_str(), "rb")) {
        char text[256] = {};
        std::fread(text, 1, sizeof text - 1, file);
        std::fclose(file);
        std::printf("page file: %s\n", text);
    }
    return 0;
}

} // namespace

// crash_program <way> [thread|std-thread]: fails in the main thread, or in a thread of its own
// whose end it reports as "thread ended <code>" (or "std::thread joined"). crash_program restore:
// whether the patched code is restored at shut-down. crash_program threads: whether new threads are
// tracked. crash_program unwind / extension: the stack kept for an unwound fault, the page kept
// for a web-server extension's request.
int main(int argc, char** argv) {
    ListenToHandOvers();
    if (argc == 2 && std::strcmp(argv[1], "restore") == 0)
        return CheckRestored();
    if (argc == 2 && std::strcmp(argv[1], "threads") == 0)
        return ReportTrackedThreads();
    if (argc == 2 && std::strcmp(argv[1], "phases") == 0)
        return ReportModulePhases();
    InitializeUnits(
        {&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit, &ApplicationUnit});
    if (argc == 2 && std::strcmp(argv[1], "unwind") == 0)
        return UnwindFault();
    if (argc == 2 && std::strcmp(argv[1], "extension") == 0)
        return ServeExtensionRequest();
    for (const Way& way : kWays) {
        if (argc < 2 || std::strcmp(argv[1], way.name) != 0)
            continue;
        if (argc < 3) {
            Fail(way.fail);
            Halt(0);
        }
        if (std::strcmp(argv[2], "std-thread") == 0) {
            std::thread(Fail, way.fail).join();
            std::printf("std::thread joined\n");
        } else {
            HANDLE thread = CreateThread(nullptr, 0, FailInThread,
                                         reinterpret_cast<void*>(way.fail), 0, nullptr);
            WaitForSingleObject(thread, INFINITE);
            DWORD code = 0;
            GetExitCodeThread(thread, &code);
            std::printf("thread ended %lu\n", code);
        }
        std::fflush(stdout);
        Halt(0);
    }
    std::fputs(
        "usage: crash_program "
        "throw|handled|caught|handled-caught|library|cgi|abort|foreign-throw|access|overflow|"
        "foreign|thread-name [thread|std-thread]\n",
        stderr);
    Halt(2);
}
