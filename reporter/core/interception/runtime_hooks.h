// The runtime's hook points, patched while the crash reporter is active:
// - the per-raise notification (__cxa_throw) and the runtime's handler search (its personality
//   routine): record where and how the thread raised and copy the frames that the unwinding
//   will take away, so that reports made after unwinding still have the stack. A C++ throw is
//   not judged handled or
//   unhandled here: one that nothing handles reaches the runtime's procedure for unhandled
//   exceptions with its frames intact, one that the application handles reaches the
//   application object's HandleException;
// - the end of every handler block (__cxa_end_catch), where exceptions the application handled
//   itself are reported when the options ask for it;
// - the application object's HandleException and ShowException, located through the procedure
//   table of the module's crash reporter data (ids 0 and 1).
#pragma once
#include "reporter/diagnostics/debug_formats/kfdata_container.h"
#include <windows.h>

void HookRaise();
void UnhookRaise();
void HookHandlerEnd();
void UnhookHandlerEnd();

// Hooks what the module's table lists; procedures it does not list stay as they are.
void HookApplicationProcedures(HMODULE module, const TKFDataContainer& container);
void UnhookApplicationProcedures();
