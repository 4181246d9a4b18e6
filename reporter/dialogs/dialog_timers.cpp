#include "reporter/dialogs/dialog_timers.h"

namespace {

constexpr UINT_PTR kIdleCloseTimer = 0x4B46;
constexpr UINT_PTR kKeepInFrontTimer = 0x4B47;
constexpr UINT kIdleTickMs = 1000;
constexpr UINT kKeepInFrontTickMs = 10;
// Marks the idle close's close request.
constexpr LPARAM kIdleCloseMark = 0x4B46;

struct TIdleClose {
    int Seconds = 0;
    int Count = 0;
};

TIdleClose idle;

void CALLBACK CountIdleSecond(HWND dialog, UINT, UINT_PTR, DWORD) {
    if (idle.Seconds > 0 && ++idle.Count >= idle.Seconds) {
        idle.Count = 0;
        PostMessageA(dialog, WM_CLOSE, 0, kIdleCloseMark);
    }
}

// The dialog itself, its controls and pages, and what it owns (its message boxes).
bool BelongsToDialog(HWND dialog, HWND window) {
    for (HWND w = window; w; w = GetWindow(w, GW_OWNER))
        if (w == dialog || IsChild(dialog, w))
            return true;
    return false;
}

void CALLBACK KeepInFront(HWND dialog, UINT, UINT_PTR, DWORD) {
    if (GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST)
        return;
    HWND foreground = GetForegroundWindow();
    if (!foreground || BelongsToDialog(dialog, foreground))
        return;
    DWORD process = 0;
    GetWindowThreadProcessId(foreground, &process);
    if (process == GetCurrentProcessId())
        SetForegroundWindow(dialog);
}

} // namespace

void StartIdleClose(HWND dialog, int seconds) {
    if (seconds <= 0)
        return;
    idle = {seconds, 0};
    SetTimer(dialog, kIdleCloseTimer, kIdleTickMs, CountIdleSecond);
}

bool IsIdleCloseRequest(LPARAM lParam) {
    return lParam == kIdleCloseMark;
}

void TouchIdleClose() {
    idle.Count = 0;
}

void StopIdleClose(HWND dialog) {
    KillTimer(dialog, kIdleCloseTimer);
    idle = {};
}

void StartKeepInFront(HWND dialog) {
    SetTimer(dialog, kKeepInFrontTimer, kKeepInFrontTickMs, KeepInFront);
}

void StopKeepInFront(HWND dialog) {
    KillTimer(dialog, kKeepInFrontTimer);
}

bool IsUserInput(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        return true;
    default:
        return false;
    }
}
