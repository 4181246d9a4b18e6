// What the crash reporter writes to the debugger output, collected instead while this lives.
#pragma once
#include <string>
#include <vector>

class TDebuggerLines {
  public:
    TDebuggerLines();
    ~TDebuggerLines();
    TDebuggerLines(const TDebuggerLines&) = delete;
    TDebuggerLines& operator=(const TDebuggerLines&) = delete;

    const std::vector<std::string>& Lines() const;
};
