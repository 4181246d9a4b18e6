// Where the interception hands an exception to processing. Processing itself comes later; for
// now the entry records what it was given and says so on standard error, one line each:
//   Vessarion: handed over <class> at <address>, mode <mode>, thread <id>, to <module>: <message>
// where <module> is the file that holds this crash reporter.
#pragma once
#include "runtime/exception.h"
#include <string>
#include <vector>
#include <windows.h>

struct THandedOver {
    std::string ClassName;
    std::string Message;
    void* Address = nullptr;
    int Mode = 0;
    DWORD ThreadId = 0;
};

// Returns true when the standard handler is to run: always, while processing shows nothing.
bool HandOverException(const Exception& object, void* address, int mode, HMODULE module);
// Every exception handed over so far, oldest first.
std::vector<THandedOver> HandedOverExceptions();
