// Where the crash reporter's dialogs come up: centred on the desktop's work area, or on the
// work area of the monitor that shows the active window.
#pragma once
#include <windows.h>

RECT DesktopWorkArea();
// The work area of the active window's monitor; the desktop's when there is no active window.
RECT ActiveMonitorWorkArea();
// The window moved, its size kept, to the middle of `area`.
void CentreWindow(HWND window, const RECT& area);
// Whether the rectangle lies wholly inside `area`.
bool Inside(const RECT& rect, const RECT& area);
