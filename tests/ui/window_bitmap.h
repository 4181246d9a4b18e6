// A picture of a window as the screen shows it, saved as a 24-bit BMP file (the test scripts
// turn it into PNG).
#pragma once
#include <string>
#include <windows.h>

// False when the screen could not be read or the file not written.
bool SaveWindowBitmap(HWND window, const std::string& path);
