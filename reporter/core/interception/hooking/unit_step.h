// The crash reporter's own start-up and shut-down steps ("EHook.Init", "ECore.Init",
// "ExceptionLog.Init", "ExceptionLog.Done", "EHook.Done"): a step that fails names itself.
#pragma once

// Reports a failure of the crash reporter itself; installed once its processing can do so.
using TInternalErrorHandler = void (*)(const char* text);
void SetInternalErrorHandler(TInternalErrorHandler handler);

// Runs `body`. An exception leaving it goes, when an internal-error handler is installed, to
// that handler as "<step> (Address: <body's address>)" and is then dropped silently (EAbort);
// without one it is raised again as "Critical error at: \"<step>\"\r\nError: \"<message>\"."
// ("General internal error." when it carries no message).
void RunUnitStep(const char* step, void (*body)());
