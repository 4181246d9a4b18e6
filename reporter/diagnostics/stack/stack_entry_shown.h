// Which call-stack entries the call-stack view and the report show.
#pragma once
#include "reporter/diagnostics/debug_info.h"

// The Details shown for the StackFlags option, as a set (bit n for Detail n): entries with a
// line always, procedures without one with 0x01, units without one with 0x02.
uint32_t ShownDetails(uint8_t stackFlags);

// Whether the entry is shown: its Detail is in ShownDetails, and when it names a unit without a
// line, that unit is not the program's own.
bool StackEntryShown(const TVessarDebugInfo& entry, uint8_t stackFlags);
