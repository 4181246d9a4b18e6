// The one entry point of every hook: an exception seen anywhere comes here.
#pragma once
#include "runtime/exception.h"
#include <windows.h>

// Presentation modes: 0 automatic, 1 standard output in console programs else the dialog,
// 2 a web page. `handled`: the application handled the exception itself (it is seen at the end
// of its handler).
// Returns true when the standard handler is to run, false when the crash reporter took care
// of the exception. A null object or an EAbort stands for the exception the thread is handling,
// when that is one to report; otherwise, and for an exception raised in a thread of the crash
// reporter's own or while threads are not tracked, the standard handler runs. A library's
// instance that delegates forwards the call to the program's, naming itself as the module.
bool ExceptionManager(const Exception* object, void* address, int mode, HMODULE module,
                      bool handled = false);

// Whether the calling thread's last hand-over was this exception: same class name, same address,
// same raise.
bool ReportedLastInThisThread(const Exception& object, void* address);
