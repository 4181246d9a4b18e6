#include "reporter/core/processing/main_window.h"
#include <cstring>

namespace {

constexpr char kApplicationWindowClass[] = "TApplication";

bool IsApplicationWindow(HWND window) {
    char name[sizeof kApplicationWindowClass + 1] = {};
    return GetClassNameA(window, name, sizeof name) > 0 &&
           std::strcmp(name, kApplicationWindowClass) == 0;
}

LONG ExtendedStyle(HWND window) {
    return GetWindowLongA(window, GWL_EXSTYLE);
}

bool IsToolWindow(HWND window) {
    return (ExtendedStyle(window) & WS_EX_TOOLWINDOW) != 0;
}

HWND CountingOwner(HWND window) {
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner && IsToolWindow(owner) && !IsApplicationWindow(owner))
        owner = GetWindow(owner, GW_OWNER);
    return owner;
}

bool HasArea(HWND window) {
    RECT bounds{};
    return GetWindowRect(window, &bounds) && bounds.right > bounds.left &&
           bounds.bottom > bounds.top;
}

bool IsMainWindow(HWND window) {
    if (!IsWindowVisible(window) || !HasArea(window))
        return false;
    if (IsToolWindow(window) && !(ExtendedStyle(window) & WS_EX_APPWINDOW))
        return false;
    HWND owner = CountingOwner(window);
    return !owner || owner == GetDesktopWindow() || IsApplicationWindow(owner);
}

BOOL CALLBACK TakeFirstMainWindow(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsMainWindow(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

} // namespace

HWND FindMainWindow() {
    HWND found = nullptr;
    EnumWindows(TakeFirstMainWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}
