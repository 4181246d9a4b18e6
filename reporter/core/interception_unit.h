// The crash reporter's interception as a unit of the program, after its options unit: the
// runtime's procedure for unhandled exceptions replaced, the runtime's hook points patched,
// thread tracking, the out-of-memory reserve, and the unhandled-exception filter installed
// last. Shut-down undoes it in reverse.
#pragma once
#include "runtime/units.h"

extern const TUnit ReporterInterceptionUnit;
