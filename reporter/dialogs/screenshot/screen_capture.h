// The picture of the screen that goes with a report: taken before any dialog covers the
// program, written as a PNG file only when the report is really sent.
#pragma once
#include <string>
#include <windows.h>

struct TCaptureRequest {
    bool ActiveWindowOnly = false; // the foreground window rather than all the program's windows
    HWND FocusWindow = nullptr;    // the control that had the focus: framed in red
    HCURSOR Cursor = nullptr;      // drawn at CursorPosition less its hot spot
    POINT CursorPosition{};
};

// Takes the picture: the foreground window with ActiveWindowOnly, else the rectangle around the
// program's visible windows. Only the program's own windows are pictured: when the foreground
// window is another program's, the program's windows are taken instead, and when none of them
// is visible (or none on a screen) no picture is taken. Returns whether one was.
bool CaptureScreen(const TCaptureRequest& request);
bool ScreenshotTaken();
// Writes the picture reduced to 256 colours as a PNG file; nothing for an empty name or when no
// picture was taken; a file that cannot be written is skipped.
void SaveScreenshotPng(const std::string& fileName);
void ReleaseScreenshot();
