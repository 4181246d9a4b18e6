// Exceptions that nothing handles. The runtime's terminate handler, installed while the
// system utilities unit is initialised, passes the exception in flight to ExceptProc, which
// reports it and ends the program (from the main thread) or the thread (from any other) with
// exit code 1. The crash reporter replaces ExceptProc.
#pragma once
#include "runtime/exception.h"
#include <windows.h>

// A thrown value that is not an Exception comes as ForeignException() makes it; `object` is
// null only when terminate was called with no exception at all. Does not return.
using TExceptProc = void (*)(const Exception* object);
extern TExceptProc ExceptProc;

// The runtime's own: "Exception <class> in module <file>.\r\n<message>." on standard error.
[[noreturn]] void ReportUnhandledException(const Exception* object);
// Halt with `exitCode` in the main thread, else the end of the calling thread.
[[noreturn]] void EndAfterUnhandledException(int exitCode);

// The thread that initialised the runtime.
extern DWORD MainThreadID;

void InstallTerminateHandler();
void RestoreTerminateHandler();
