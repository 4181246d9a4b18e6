// Freeze detection: a thread of the crash reporter's own asks the main window whether it still
// answers; once it has not answered for FreezeSeconds (of the crash reporter's options), where
// the main thread stands is reported as an exception, once until the window answers again.
#pragma once
#include "runtime/exception.h"

// A main window that stopped answering; the message is text 156 of the options.
class EFrozenApplication : public Exception {
  public:
    using Exception::Exception;
};

// Starts freeze detection, unless it runs already, the host is the development environment, or
// this instance delegates to a program whose options stand for every module (the program's
// own instance watches then).
void StartFreezeWatch();
// Stops freeze detection and waits for its thread; in a library the thread is ended at once
// instead, since a library being unloaded holds the loader lock that the thread needs to end.
void StopFreezeWatch();
