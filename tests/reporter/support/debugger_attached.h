// Makes the process look watched by a debugger while this lives: the crash reporter then shows
// its own failures (IsDebuggerPresent reads the flag set here).
#pragma once
#include <windows.h>
#include <winternl.h>

class TDebuggerAttached {
  public:
    TDebuggerAttached() { Flag() = 1; }
    ~TDebuggerAttached() { Flag() = 0; }
    TDebuggerAttached(const TDebuggerAttached&) = delete;
    TDebuggerAttached& operator=(const TDebuggerAttached&) = delete;

  private:
    static BYTE& Flag() {
        PEB* peb;
        asm("movl %%fs:0x30, %0" : "=r"(peb)); // TEB.ProcessEnvironmentBlock
        return peb->BeingDebugged;
    }
};
