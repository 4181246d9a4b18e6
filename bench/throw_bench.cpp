// The cost of the crash reporter's raise hook: throw+catch round trips without it and with it,
// in one run, near the stack's base and with much of the stack in use. The hook records where the
// throw happened and, once the handler search found the catching frame, copies the frames below it.
#include "reporter/core/interception/runtime_hooks.h"
#include "runtime/exception.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

[[gnu::noinline]] void Raise(int i) {
    throw Exception("round trip " + std::to_string(i));
}

// Nanoseconds per throw+catch, from `rounds` round trips a few calls deep.
double NanosecondsPerRoundTrip(int rounds) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        try {
            Raise(i);
        } catch (const Exception&) {
        }
    }
    std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / rounds;
}

// The same with `depth` bytes of the program's stack in use beneath the loop, as when a program
// throws deep inside its own calls.
[[gnu::noinline]] double NanosecondsPerRoundTripAtDepth(int rounds, size_t depth) {
    if (depth) {
        volatile char* used = static_cast<char*>(__builtin_alloca(depth));
        used[0] = 0;
    }
    return NanosecondsPerRoundTrip(rounds);
}

// Alternating passes, the fastest of each kind: the machine's other load only adds time.
void Measure(int rounds, size_t depth) {
    NanosecondsPerRoundTripAtDepth(rounds / 10, depth); // warm caches and the unwinder's tables
    double without = 1e300, with = 1e300;
    for (int pass = 0; pass < 5; ++pass) {
        without = std::min(without, NanosecondsPerRoundTripAtDepth(rounds / 5, depth));
        HookRaise();
        with = std::min(with, NanosecondsPerRoundTripAtDepth(rounds / 5, depth));
        UnhookRaise();
    }
    std::printf("throw+catch: %d round trips, %3u KB of stack beneath, without the raise hook "
                "%.1f us, with it %.1f us, ratio %.2f\n",
                rounds, unsigned(depth / 1024), without / 1000, with / 1000, with / without);
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20000;
    for (size_t depth : {size_t(0), size_t(64 * 1024)})
        Measure(rounds, depth);
    return 0;
}
