#include "reporter/core/processing/debugger_output.h"
#include <atomic>
#include <windows.h>

namespace {

std::atomic<TDebuggerOutput> replacement{nullptr};

} // namespace

void WriteDebuggerOutput(const std::string& line) {
    if (TDebuggerOutput output = replacement)
        output(line);
    else
        OutputDebugStringA(line.c_str());
}

void SetDebuggerOutput(TDebuggerOutput output) {
    replacement = output;
}
