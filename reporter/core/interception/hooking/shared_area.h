// The Windows 9x family maps memory at or above 2 GB into every process: patching code or
// import tables there would change all processes.
#pragma once

bool IsWindows9xFamily();

// Raises ESharedArea, naming the module that holds `address`, when patching it would reach
// other processes.
void RefuseSharedArea(const void* address);
