#include "tests/reporter/support/test_window.h"

HWND CreateTestWindow(const char* className, const char* caption) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                           200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}
