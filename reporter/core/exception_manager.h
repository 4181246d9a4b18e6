// The one entry point of every hook: an exception seen anywhere comes here.
#pragma once
#include "runtime/exception.h"
#include <windows.h>

// Presentation modes: 0 automatic, 1 standard output in console programs else the dialog,
// 2 a web page.
// Returns true when the standard handler is to run, false when the crash reporter took care
// of the exception. An EAbort, or an exception raised while this thread already processes one,
// is left to the standard handler. A library's instance that delegates forwards the call to the
// program's, naming itself as the module.
bool ExceptionManager(const Exception* object, void* address, int mode, HMODULE module);

// Whether the calling thread's last hand-over was this exception: same class name, same address.
bool ReportedLastInThisThread(const Exception& object, void* address);

// Whether the last exception handed over came from a C++ throw (not from the system).
bool LastHandOverWasRaise();
