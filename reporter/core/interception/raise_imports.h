// The system's raise and unwind calls, replaced in the import tables that thread tracking
// patches: an exception raised through RaiseException gets the same raise state as a C++
// throw, and a fault whose handler unwinds its frames leaves a copy of the stack behind first.
#pragma once

void HookRaiseImports();
