// The shared copy of a module's options: a named page-file mapping per module and process
// through which every module of the process that carries the crash reporter sees the options
// that the module set at run time.
//
// Layout: uint32 usable size (the bytes after this field), one flag byte (1 when options are
// present), then an options block.
//
// A named section cannot grow once created, and its size is fixed by whoever creates it first.
// So every section is created at kSharedOptionsCapacity bytes, far more than any options block
// needs; the system charges that against the page file but backs only the pages written. The
// size field, not the section, says how much of it is in use.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include <windows.h>

constexpr uint32_t kSharedOptionsCapacity = 1024 * 1024;

// 8 upper-case hexadecimal digits of `processId`, then 8 of `module`.
std::string SharedOptionsName(DWORD processId, HMODULE module);

// Creates the shared copy of `module` in this process without options, unless it exists.
// The mapping stays open until RemoveSharedOptions, however many views come and go, so that
// other modules can open it by name at any time.
void CreateSharedOptions(HMODULE module);
// Replaces the options in the shared copy of `module`, creating it when missing. A block that
// does not fit leaves the copy without options. Does nothing when no mapping can be created.
void PublishSharedOptions(HMODULE module, const std::vector<uint8_t>& block);
// The options block in the shared copy of `module` in this process; empty when there is none,
// or when the copy is missing or its header does not fit the mapping.
std::vector<uint8_t> ReadSharedOptions(HMODULE module);
// Closes this code's handle to the shared copy of `module`; the copy goes with the last handle.
void RemoveSharedOptions(HMODULE module);
