// The system's last chance for exceptions that no handler took: access violations, foreign
// RaiseException codes and stack overflows in any thread. The faulting thread may have only
// about 2 KB of stack left (a stack overflow), so it only records and signals; a worker thread
// made at start does the rest on its own stack. The process then ends with the exception code.
#pragma once

void InstallUnhandledExceptionFilter();
void RemoveUnhandledExceptionFilter();
