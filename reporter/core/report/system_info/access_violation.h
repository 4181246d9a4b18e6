// The message of an access violation, written from its exception record.
#pragma once
#include <string>
#include <windows.h>

// "Access violation at address 0040100A in module 'x.exe'. Write of address 00000000." for an
// access violation whose record can be read; empty for anything else.
std::string AccessViolationMessage(const EXCEPTION_RECORD* record);

// The same text from its parts; `module` is the file name of the module that holds the
// faulting address, empty when none does.
std::string FormatAccessViolation(const void* address, const std::string& module, bool write,
                                  const void* accessed);
