// Where every hook hands an exception to processing.
#pragma once
#include "reporter/diagnostics/stack/stack_list.h"
#include "runtime/exception.h"
#include <string>
#include <windows.h>

// How the search for a handler ended (kind 2: only the runtime's thread wrapper was reached).
enum THandlerKind { kHandlerOrdinary = 0, kHandlerSafeCall = 1, kHandlerThreadWrapper = 2 };

// Presentation modes: 0 automatic, 1 standard output in console programs else the dialog,
// 2 a web page.
enum TPresentationMode { kPresentAutomatic = 0, kPresentConsoleOrDialog = 1, kPresentWebPage = 2 };

// What a hook passes with an exception.
struct THandOver {
    const Exception* Object = nullptr;
    void* Address = nullptr;
    bool RaisedByRuntime = false;      // a C++ throw: the address is just behind its call
    TVessarStackList* Stack = nullptr; // a call stack to use instead of tracing one
    bool Handled = false;              // the application handles the exception itself
    int HandlerKind = kHandlerOrdinary;
    HMODULE CallingModule = nullptr;
    int Mode = kPresentAutomatic;
    // Taken from the thread's saved state when null.
    const CONTEXT* Context = nullptr;
    const EXCEPTION_RECORD* Record = nullptr;
    void* StackPosition = nullptr;
    void* StackTop = nullptr;
    // The thread the exception belongs to; 0 for the calling thread (or the one it stands in
    // for).
    DWORD ThreadId = 0;
};

// Processes one exception. Returns true when the standard handler is to run.
bool HandOverException(const THandOver& exception);
