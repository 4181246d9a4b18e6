// A library that carries a crash reporter of its own, loaded by the crash program: its
// exceptions must be reported once, by the program's crash reporter.
#include "reporter/core/interception/hooking/hooking_unit.h"
#include "reporter/core/interception/interception_unit.h"
#include "reporter/core/options/reporter_options_unit.h"
#include <cstdio>
#include <cstring>
#include <httpext.h>
#include <windows.h>

namespace {

DWORD WINAPI ThrowInLibrary(void*) {
    std::printf("failing in thread %lu\n", GetCurrentThreadId());
    std::fflush(stdout);
    throw Exception("thrown in the library");
}

} // namespace

extern "C" __declspec(dllexport) void FailInLibraryThread() {
    HANDLE thread = CreateThread(nullptr, 0, ThrowInLibrary, nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    std::printf("library thread ended %lu\n", code);
    std::fflush(stdout);
}

// A web-server extension's request: the page goes to the client in two writes.
extern "C" __declspec(dllexport) DWORD WINAPI HttpExtensionProc(EXTENSION_CONTROL_BLOCK* request) {
    for (const char* part : {"<html>from the", " extension</html>"}) {
        DWORD count = DWORD(std::strlen(part));
        request->WriteClient(request->ConnID, const_cast<char*>(part), &count, 0);
    }
    return HSE_STATUS_SUCCESS;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH)
        InitializeUnits({&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit});
    else if (reason == DLL_PROCESS_DETACH)
        FinalizeUnits();
    return TRUE;
}
