// The crash reporter's interception as a unit of the program, after its options unit: the
// runtime's procedure for unhandled exceptions replaced, the runtime's hook points patched,
// thread tracking, the system's raise and unwind calls watched, the out-of-memory reserve, and
// the unhandled-exception filter installed last. Shut-down undoes it in reverse. Inside the
// development environment nothing is hooked.
//
// Whether the application handles an exception is not guessed at the raise: the runtime knows.
// A C++ throw searches its handlers before it unwinds anything; when it finds none, the
// terminate handler runs with the thrower's stack intact, and that is where an unhandled throw
// is handed over. A throw that some handler catches is left to the application (and, with
// BehaviourFlags 0x0100, reported at the end of that handler); the application object's
// HandleException reports the ones it is given. A system exception (a fault) is caught by no
// C++ handler here: it reaches the unhandled-exception filter, unless a handler of the system's
// kind takes it first, in which case its stack is kept when that handler unwinds. No walk of
// the handler chain is made, so there is nothing to cache.
#pragma once
#include "runtime/units.h"

extern const TUnit ReporterInterceptionUnit;
