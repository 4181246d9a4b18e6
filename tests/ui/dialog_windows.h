// Dialogs on the desktop as a user sees them: found by caption, their controls read.
#pragma once
#include <string>
#include <windows.h>

// The first visible dialog box (window class "#32770") with this caption, of any process;
// any visible dialog when caption is empty. Null when there is none.
HWND FindDialog(const std::string& caption);
// Polls for it until timeoutMs have passed.
HWND WaitForDialog(const std::string& caption, DWORD timeoutMs);
// True once the dialog is closed or hidden, false when it still shows after timeoutMs.
bool WaitUntilGone(HWND dialog, DWORD timeoutMs);

bool HasClass(HWND window, const char* name);
// The window's text, read without a message, else asked of the window itself.
std::string TextOf(HWND window);
// A message box's text; else the first read-only edit of the dialog that shows text (the
// message of the crash reporter's classic dialog); else its first static control that does.
std::string MessageText(HWND dialog);
// The control of the dialog whose text is exactly this one ("&OK"); null when none is.
HWND ControlWithText(HWND dialog, const std::string& text);
// The default button, else OK, else the first button.
HWND DefaultButton(HWND dialog);
// The control that has the keyboard focus in the dialog's thread.
HWND FocusedControl(HWND dialog);
