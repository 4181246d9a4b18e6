// Input to another program's dialog through window messages, as the keyboard and mouse would
// give it. Typing and clicking return once the dialog has handled them, or after a few seconds
// when the handling opens a box of its own; a key press is posted and returns at once.
#pragma once
#include <string>
#include <windows.h>

// Each character as a key stroke of its own: the control sees every change.
void TypeText(HWND control, const std::string& text);
// Backspace until the edit control is empty.
void EraseText(HWND edit);
// A key pressed and let go in the control, through the dialog's message loop (Enter, Escape).
void PressKey(HWND control, UINT virtualKey);
// What a click on the button tells its dialog.
void Click(HWND dialog, HWND button);
// A left click at a point of the dialog's client area, as the mouse gives it.
void ClickAt(HWND dialog, POINT point);
// The focus moved to the control, as the dialog's keyboard handling moves it.
void Focus(HWND dialog, HWND control);
