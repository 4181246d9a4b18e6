// The window that had the keyboard focus when the exception happened, and the form it belongs
// to, for the report. Read by the thread that owns them: the thread that processes the exception
// would wait for a window whose thread waits for it.
#pragma once
#include <string>
#include <windows.h>

struct TFocusWindow {
    std::string FormClassName; // the focus window's top-level window
    std::string FormText;
    std::string ClassName;
    std::string Text; // starred for password edits; empty for multi-line edits
};

// The focus window of `threadId`'s input queue; empty when it has none.
TFocusWindow FocusWindowOf(DWORD threadId);
