// The password of an enciphered line table, asked of the program's listeners (and of a library's
// own crash reporter for that library) before the call stacks are named: without it every name
// of that module is shown enciphered.
#pragma once
#include "reporter/core/processing/exception_record.h"
#include <windows.h>

// Asks for the password of each of `modules` (once, when named twice) whose line table is
// enciphered and not yet opened, in the faulting thread, and gives the module what the listeners
// answered.
void AskDebugPasswords(TVessarExceptionRecord& record, std::initializer_list<HMODULE> modules);
