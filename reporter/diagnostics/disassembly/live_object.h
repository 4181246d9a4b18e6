// Whether an address holds a live polymorphic object of this module, and its class.
#pragma once
#include "reporter/diagnostics/stack/memory_probe.h"
#include <string>

// The unqualified class name of the object at `address`; empty when what lies there is no such
// object. Every word is read through `memory`: a stale or wild address reads as no object.
std::string LiveObjectClassName(uintptr_t address, TMemoryProbe& memory);
