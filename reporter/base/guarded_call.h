// Running code whose system exceptions (an access violation, an illegal instruction, a foreign
// RaiseException code) must end that code, not the thread. C++ cannot catch them on this
// toolchain, so the code runs under an exception-handler frame of its own that takes any error
// nothing inside took, and resumes after the call.
#pragma once
#include <functional>
#include <windows.h>

// What ended a guarded call.
struct TSystemFault {
    EXCEPTION_RECORD Record;
    CONTEXT Context;
};

// Runs `procedure` in this thread: true when it returned; false when a system exception ended it,
// with `fault` describing it. The frames it left are not unwound: their destructors do not run.
// A C++ exception passes through as thrown.
bool CallGuarded(const std::function<void()>& procedure, TSystemFault& fault);

// Runs `procedure`, swallowing whatever ends it, system exception or C++ exception: true when it
// returned.
bool CallSwallowingAll(const std::function<void()>& procedure);
