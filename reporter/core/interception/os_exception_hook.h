// The runtime's conversion of a system exception record into an exception object, wrapped:
// the record (80 bytes) and, when readable, the context (its first 204 bytes: without the
// extended registers) of each thread's last system exception are kept for its report, and the
// thread-naming exception is left alone. A conversion made by a reporter thread standing in
// for another thread is kept as that thread's.
#pragma once
#include <windows.h>

void HookOSExceptionConversion();
void UnhookOSExceptionConversion();

struct TOSExceptionState {
    EXCEPTION_RECORD Record; // ExceptionCode 0 when the thread had none
    CONTEXT Context;         // the first 204 bytes; zero when the context was not readable
};
TOSExceptionState LastOSException(DWORD threadId);
