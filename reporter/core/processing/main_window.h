// The window freeze detection watches: the application's main window as the user sees it.
#pragma once
#include <windows.h>

// The first top-level window of this process, in the system's order, that is visible, has a
// width and a height, is no tool window (unless it also asks for a taskbar button) and is
// owned by nothing, the desktop or the application window (class "TApplication"). A tool
// window other than the application window does not count as owner: its own owner does. Null
// while there is none.
HWND FindMainWindow();
