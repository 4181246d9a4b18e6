// The window that had the keyboard focus when the exception happened, and the foreground form,
// for the report. Read by the thread that owns the focus window: the thread that processes the
// exception would wait for a window whose thread waits for it. Texts come on one line: every run
// of control characters is one space.
#pragma once
#include <string>
#include <windows.h>

struct TFocusWindow {
    std::string FormClassName; // the foreground window, whichever thread has the focus
    std::string FormText;
    std::string ClassName;
    std::string Text; // starred for password edits; empty for multi-line edits
};

// The foreground window and the focus window of `threadId`'s input queue; each empty when there
// is none.
TFocusWindow FocusWindowOf(DWORD threadId);

// `text` with every run of characters below 32 replaced by one space.
std::string FoldControlCharacters(const std::string& text);
