// Code patching: a procedure's first bytes become a jump to its replacement, and a trampoline
// keeps the original callable.
#pragma once
#include <string>

// Returns the trampoline through which the original procedure is still called; patching the
// same target again returns the same trampoline. `name` only labels errors: EProcNull for a
// null target, EHookingError when the start cannot be moved, ESharedArea on the 9x family.
void* HookProcedure(void* target, void* replacement, const std::string& name);

// Restores the target's bytes and frees the trampoline; false when neither address is patched.
bool UnhookProcedure(void* targetOrTrampoline);

// Unhooks through the trampoline kept in `original` (a procedure pointer; null does nothing)
// and forgets it.
template <class Procedure> void UnhookKept(Procedure& original) {
    UnhookProcedure(reinterpret_cast<void*>(original));
    original = nullptr;
}

// Restores every patched procedure, the last patched first: at shut-down.
void UnhookAllProcedures();
