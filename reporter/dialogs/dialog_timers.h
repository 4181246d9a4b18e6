// The timers every dialog of the crash reporter runs while it is up, as thread timers of its
// window: the idle close, which sends the window a close request after the options' number of
// seconds without input, and the keep-in-front timer, which brings the dialog back when another
// window of this process takes the foreground.
#pragma once
#include <windows.h>

// Nothing happens for `seconds` 0 or less.
void StartIdleClose(HWND dialog, int seconds);
// Whether a WM_CLOSE with `lParam` came from the idle close rather than from the user.
bool IsIdleCloseRequest(LPARAM lParam);
// Input or a command: the idle count starts again.
void TouchIdleClose();
void StopIdleClose(HWND dialog);

void StartKeepInFront(HWND dialog);
void StopKeepInFront(HWND dialog);

// Whether `message` is the input that touches the idle close: a key, a mouse click, a click on
// the frame.
bool IsUserInput(UINT message);
