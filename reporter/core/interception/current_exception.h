// The exception object a thread is handling at the moment, as the crash reporter may look at it.
#pragma once
#include "runtime/exception.h"

// The runtime exception the calling thread is handling; null for a foreign object or none.
// Looking at it rethrows it into a handler of ours, whose end is no handler end of the
// application's.
const Exception* HandledException();

// Whether the calling thread is inside HandledException right now.
bool LookingAtHandledException();
