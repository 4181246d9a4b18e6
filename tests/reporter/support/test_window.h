// A visible top-level window of a class of its own (the default window procedure), for the test
// programs that need a form on the screen.
#pragma once
#include <windows.h>

HWND CreateTestWindow(const char* className, const char* caption);
