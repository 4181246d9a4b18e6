// The cost of one report: from the raise of an exception the program handles (reported at the
// end of its handler) to its entry saved in the log, with no dialog. Prints the median and the
// 95th percentile, and the median of each phase of the processing.
#include "reporter/base/phase_clock.h"
#include "reporter/core/interception/hooking/hooking_unit.h"
#include "reporter/core/interception/interception_unit.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "runtime/exception.h"
#include "runtime/program.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <windows.h>

namespace {

[[gnu::noinline]] void RaiseAndCatch(int i) {
    try {
        throw Exception("report " + std::to_string(i));
    } catch (const Exception&) {
    }
}

double Percentile(std::vector<double> times, double fraction) {
    std::sort(times.begin(), times.end());
    return times[std::min(times.size() - 1, size_t(fraction * double(times.size())))];
}

// The median of each phase, and of what no phase took.
void PrintPhases(const std::vector<TPhaseTimes>& phases, const std::vector<double>& totals) {
    std::vector<double> rest;
    for (size_t i = 0; i < phases.size(); ++i) {
        double charged = 0;
        for (double time : phases[i])
            charged += time;
        rest.push_back(totals[i] - charged);
    }
    for (size_t p = 0; p < kPhaseCount; ++p) {
        std::vector<double> times;
        for (const TPhaseTimes& run : phases)
            times.push_back(run[p]);
        std::printf("  %-16s median %8.2f ms\n", PhaseName(TPhase(p)), Percentile(times, 0.5));
    }
    std::printf("  %-16s median %8.2f ms\n", "rest", Percentile(rest, 0.5));
}

std::string TemporaryFolder() {
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, path);
    std::string folder = std::string(path) + "report_bench";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 200;
    InitializeUnits({&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit});
    TVessarModuleOptionsEx& options = CurrentVessarionOptions();
    const std::string folder = TemporaryFolder();
    options.SetLogPath(folder);
    options.SetDialogKind(0);
    options.SetBehaviourFlags(options.Stored().BehaviourFlags | 0x0100);
    std::vector<double> milliseconds;
    std::vector<TPhaseTimes> phases;
    TakePhaseTimes();
    for (int i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        RaiseAndCatch(i);
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        milliseconds.push_back(spent.count());
        phases.push_back(TakePhaseTimes());
    }
    std::printf("raise to saved log entry: %d exceptions, log of %d reports, median %.2f ms, "
                "95th percentile %.2f ms\n",
                count, options.Stored().LogMaxReports, Percentile(milliseconds, 0.5),
                Percentile(milliseconds, 0.95));
    PrintPhases(phases, milliseconds);
    DeleteFileA(options.LogFileName().c_str());
    RemoveDirectoryA(folder.c_str());
    FinalizeUnits();
    return 0;
}
