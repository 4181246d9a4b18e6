// What the crash reporter adds to a program's start: a small program started with it and
// without it, in turns, each timed from process creation to its end. Prints both medians, their
// ratio and their difference.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>

namespace {

constexpr int kRuns = 20;

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Milliseconds from creating the process to its end; negative when it could not be started.
double TimedRun(const char* program) {
    std::string commandLine = std::string("\"") + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessA(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return spent.count();
}

} // namespace

int main() {
    std::vector<double> with, without;
    for (int i = 0; i < kRuns; ++i) {
        with.push_back(TimedRun(STARTUP_WITH_REPORTER));
        without.push_back(TimedRun(STARTUP_WITHOUT_REPORTER));
    }
    if (*std::min_element(with.begin(), with.end()) < 0 ||
        *std::min_element(without.begin(), without.end()) < 0) {
        std::printf("start-up: a program could not be started\n");
        return 1;
    }
    const double withMedian = Median(with), withoutMedian = Median(without);
    std::printf("start-up to end of a small program, %d runs each in turns: with the crash "
                "reporter median %.1f ms, without %.1f ms; ratio %.3f, difference %.1f ms\n",
                kRuns, withMedian, withoutMedian, withMedian / withoutMedian,
                withMedian - withoutMedian);
    return 0;
}
