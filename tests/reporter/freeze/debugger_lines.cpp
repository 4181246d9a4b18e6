#include "debugger_lines.h"
#include "reporter/core/processing/debugger_output.h"

namespace {

std::vector<std::string>& Collected() {
    static std::vector<std::string> lines;
    return lines;
}

void Collect(const std::string& line) {
    Collected().push_back(line);
}

} // namespace

TDebuggerLines::TDebuggerLines() {
    Collected().clear();
    SetDebuggerOutput(Collect);
}

TDebuggerLines::~TDebuggerLines() {
    SetDebuggerOutput(nullptr);
}

const std::vector<std::string>& TDebuggerLines::Lines() const {
    return Collected();
}
