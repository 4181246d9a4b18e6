// The runtime's procedure for exceptions that nothing handles, replaced: the exception is
// handed over, then the program (main thread) or the thread ends with exit code 1.
#pragma once

void HookUnhandledExceptionProcedure();
void UnhookUnhandledExceptionProcedure();
