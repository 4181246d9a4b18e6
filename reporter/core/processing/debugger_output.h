// Lines the crash reporter writes for a developer who watches the process in a debugger.
#pragma once
#include <string>

using TDebuggerOutput = void (*)(const std::string& line);

// Writes `line` to the system's debugger output, or to the replacement when one is set.
void WriteDebuggerOutput(const std::string& line);
// Sends the lines to `output` instead; null gives them back to the system.
void SetDebuggerOutput(TDebuggerOutput output);
