// What the crash reporter adds to a program's start: a small program started with it and
// without it, in turns, each timed from process creation to its end. Prints both medians, their
// ratio and their difference, then one more start of each that prints where its time went.
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
// The program shares this one's output.
double TimedRun(const char* program, const std::string& arguments = "") {
    std::string commandLine = std::string("\"") + program + "\"" + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessA(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return spent.count();
}

// The program prints its phases, counted from the moment before its creation.
void PhasesOf(const char* title, const char* program) {
    std::printf("%s:\n", title);
    std::fflush(stdout);
    LARGE_INTEGER created;
    QueryPerformanceCounter(&created);
    const double total = TimedRun(program, " --phases " + std::to_string(created.QuadPart));
    std::printf("  creation to end: %.1f ms\n", total);
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
    PhasesOf("one start with the crash reporter", STARTUP_WITH_REPORTER);
    PhasesOf("one start without", STARTUP_WITHOUT_REPORTER);
    return 0;
}
