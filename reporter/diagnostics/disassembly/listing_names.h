// The report's callbacks of the disassembler: call and jump targets and displacements by the
// name of what they lead to, and the text that an address-sized immediate points at.
#pragma once
#include "reporter/diagnostics/debug_info.h"
#include "reporter/diagnostics/disassembly/disassembler.h"
#include "reporter/diagnostics/stack/memory_probe.h"
#include <string>

// Unit (without its extension), class and procedure joined by "."; empty parts left out.
std::string ProcedureName(const TVessarDebugInfo& info);

// Callbacks that read memory through `memory`, which must outlive the disassembler.
TDisAsm ListingDisassembler(TMemoryProbe& memory);
