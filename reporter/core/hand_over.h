// Where the interception hands an exception to processing. Processing itself comes later; for
// now the entry says on standard error what it was given, one line each:
//   Vessarion: handed over <class> at <address>, mode <mode>, thread <id>, <kind>, to <module>:
//   <message>
// where <id> is the thread that failed, <kind> "thrown" for a C++ throw and "system" for an
// exception of the system, and <module> the file that holds this crash reporter.
#pragma once
#include "runtime/exception.h"
#include <windows.h>

// Returns true when the standard handler is to run: always, while processing shows nothing.
bool HandOverException(const Exception& object, void* address, int mode, HMODULE module);
