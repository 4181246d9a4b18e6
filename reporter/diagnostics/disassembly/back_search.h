// Where a listing that ends at an address must start: instructions cannot be read backwards,
// so the lengths are followed from successive bytes before it until a chain lands on it.
#pragma once
#include "reporter/diagnostics/disassembly/code_window.h"

// The length of the instruction at `address` in the window as the length decoder reads it; 1
// where it reads none, so that every chain moves on.
unsigned ChainStep(const TCodeWindow& window, uintptr_t address);

// The first byte of the window from which whole instructions lead exactly to `target`, moved on
// so that at most `most` instructions precede the target.
uintptr_t ListingStart(const TCodeWindow& window, uintptr_t target, unsigned most);
