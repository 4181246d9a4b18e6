// The program the start-up benchmark starts: it initialises its units and ends. Built twice,
// with the crash reporter (CRASH_REPORTER defined) and without it.
// With "--phases <counter>", <counter> being QueryPerformanceCounter's value when the process was
// created, it prints how long it took to reach main, how long each unit took to initialise and
// all to finalise, and which libraries were loaded at main and after the initialisation.
#include "runtime/units.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <windows.h>
// The kernel's own entries of the process status functions: no library more to load.
#define PSAPI_VERSION 2
#include <psapi.h>
#ifdef CRASH_REPORTER
#include "reporter/core/interception/hooking/hooking_unit.h"
#include "reporter/core/interception/interception_unit.h"
#include "reporter/core/options/reporter_options_unit.h"
#endif

namespace {

#ifdef CRASH_REPORTER
const TUnitList kUnits = {&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit};
#else
const TUnitList kUnits = {};
#endif

double MillisecondsSince(LONGLONG counter) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart - counter) * 1000.0 / double(frequency.QuadPart);
}

LONGLONG Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

std::string LoadedLibraries() {
    HMODULE modules[256];
    DWORD bytes = 0;
    if (!EnumProcessModules(GetCurrentProcess(), modules, sizeof modules, &bytes))
        return "(not known)";
    std::string names;
    for (DWORD i = 1; i < bytes / sizeof(HMODULE) && i < 256; ++i) { // 0 is the program
        char path[MAX_PATH];
        if (!GetModuleFileNameA(modules[i], path, sizeof path))
            continue;
        const char* name = std::strrchr(path, '\\');
        names += std::string(names.empty() ? "" : " ") + (name ? name + 1 : path);
    }
    return names;
}

// The runtime's own units initialise with the first list, so they are timed on their own.
void TimedRun(LONGLONG created) {
    std::printf("  phase: %-44s %7.1f ms\n", "process created to main", MillisecondsSince(created));
    std::printf("  libraries loaded then: %s\n", LoadedLibraries().c_str());
    LONGLONG start = Now();
    InitializeUnits({});
    std::printf("  phase: %-44s %7.1f ms\n", "runtime units initialised", MillisecondsSince(start));
    for (const TUnit* unit : kUnits) {
        start = Now();
        InitializeUnits({unit});
        std::printf("  phase: unit %-39s %7.1f ms\n", unit->Name, MillisecondsSince(start));
    }
    std::printf("  libraries loaded after initialisation: %s\n", LoadedLibraries().c_str());
    start = Now();
    FinalizeUnits();
    std::printf("  phase: %-44s %7.1f ms\n", "all units finalised", MillisecondsSince(start));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--phases") == 0) {
        TimedRun(std::strtoll(argv[2], nullptr, 10));
        return 0;
    }
    InitializeUnits(kUnits);
    FinalizeUnits();
    return 0;
}
