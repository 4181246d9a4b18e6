#include "reporter/dialogs/dialog_placement.h"

RECT DesktopWorkArea() {
    RECT area{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return area;
}

RECT ActiveMonitorWorkArea() {
    HWND active = GetForegroundWindow();
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!active || !GetMonitorInfoA(MonitorFromWindow(active, MONITOR_DEFAULTTONEAREST), &info))
        return DesktopWorkArea();
    return info.rcWork;
}

void CentreWindow(HWND window, const RECT& area) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Inside(const RECT& rect, const RECT& area) {
    return rect.left >= area.left && rect.top >= area.top && rect.right <= area.right &&
           rect.bottom <= area.bottom;
}
