// The hooking layer as a unit: its lists start empty, and at shut-down it takes back every
// patch still in place (import entries, virtual-method slots, then code patches, the last
// patched first).
#pragma once
#include "runtime/units.h"

extern const TUnit HookingUnit;

void RemoveAllHooks();
