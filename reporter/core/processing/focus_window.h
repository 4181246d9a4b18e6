// The window that had the keyboard focus when the exception happened, for the report.
#pragma once
#include <string>
#include <windows.h>

struct TFocusWindow {
    std::string ClassName;
    std::string Text; // starred for password edits; empty for multi-line edits
};

// The focus window of `threadId`'s input queue; empty when it has none.
TFocusWindow FocusWindowOf(DWORD threadId);
