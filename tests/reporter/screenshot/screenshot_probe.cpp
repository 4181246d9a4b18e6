// Windows of known pixels pictured as a report pictures the screen, for screenshot.sh to decode:
//   screenshot_probe <case> <png file>
// Cases: quadrants (four colours, a focused edit control), gradient (more than 256 colours),
// tiny (1 x 1), odd (33 x 17), large (noise, 1000 x 900), cursor (the arrow over the quadrants),
// active (two windows, the foreground one alone), hidden (no visible window). Prints
// "window L T R B", "focus L T R B" and "cursor X Y" in screen coordinates, then "taken 0|1".
#include "reporter/dialogs/screenshot/screen_capture.h"
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct TCase {
    const char* Name;
    RECT Window;
    bool WithEdit;
    bool WithCursor;
};

const TCase kCases[] = {
    {"quadrants", {50, 60, 250, 180}, true, false}, {"gradient", {40, 40, 340, 240}, false, false},
    {"tiny", {500, 500, 501, 501}, false, false},   {"odd", {300, 300, 333, 317}, false, false},
    {"large", {10, 10, 1010, 910}, false, false},   {"cursor", {50, 60, 250, 180}, false, true},
    {"active", {50, 60, 250, 180}, false, false},   {"hidden", {50, 60, 250, 180}, false, false},
};

const TCase* current = nullptr;

COLORREF PixelColour(int x, int y, int width, int height) {
    const std::string name = current->Name;
    if (name == "gradient")
        return RGB(x * 255 / (width - 1), y * 255 / (height - 1), (x + y) % 256);
    if (name == "large") {
        unsigned seed = unsigned(x) * 2654435761u ^ unsigned(y) * 40503u;
        seed ^= seed >> 13;
        return RGB(seed & 0xFF, seed >> 8 & 0xFF, seed >> 16 & 0xFF);
    }
    if (name == "tiny" || name == "odd")
        return RGB(12, 200, 99);
    const bool right = x >= width / 2, bottom = y >= height / 2;
    return bottom ? (right ? RGB(255, 255, 0) : RGB(0, 0, 255))
                  : (right ? RGB(0, 160, 0) : RGB(200, 30, 30));
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const std::string name = current->Name;
    if (name == "gradient" || name == "large") {
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                SetPixelV(dc, x, y, PixelColour(x, y, client.right, client.bottom));
    } else {
        const int w = client.right, h = client.bottom;
        const RECT parts[] = {
            {0, 0, w / 2, h / 2}, {w / 2, 0, w, h / 2}, {0, h / 2, w / 2, h}, {w / 2, h / 2, w, h}};
        for (const RECT& part : parts) {
            HBRUSH brush = CreateSolidBrush(PixelColour(part.left, part.top, w, h));
            FillRect(dc, &part, brush);
            DeleteObject(brush);
        }
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_PAINT) {
        Paint(window);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return DefWindowProcA(window, message, w, l);
}

HWND MakeWindow(const RECT& r, bool visible) {
    return CreateWindowExA(WS_EX_TOPMOST, "ScreenshotProbe", "probe",
                           WS_POPUP | (visible ? WS_VISIBLE : 0), r.left, r.top, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void Pump(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    MSG message;
    while (GetTickCount() < end) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

void PrintRect(const char* what, HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    std::printf("%s %ld %ld %ld %ld\n", what, r.left, r.top, r.right, r.bottom);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    for (const TCase& c : kCases)
        if (std::strcmp(c.Name, argv[1]) == 0)
            current = &c;
    if (!current)
        return 2;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ScreenshotProbe";
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    RegisterClassA(&windowClass);
    const std::string name = current->Name;
    HWND window = MakeWindow(current->Window, name != "hidden");
    TCaptureRequest request;
    if (name == "active") {
        // Another window of the program, away from the first; the first is brought to the front.
        MakeWindow({400, 400, 600, 500}, true);
        SetForegroundWindow(window);
        request.ActiveWindowOnly = true;
    }
    if (current->WithEdit) {
        HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 20, 30, 80, 24, window,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
        SetFocus(edit);
        request.FocusWindow = edit;
        PrintRect("focus", edit);
    }
    Pump(1500);
    if (current->WithCursor) {
        request.Cursor = LoadCursor(nullptr, IDC_ARROW);
        request.CursorPosition = {150, 120};
        std::printf("cursor 150 120\n");
    }
    PrintRect("window", window);
    const bool taken = CaptureScreen(request);
    SaveScreenshotPng(argv[2]);
    ReleaseScreenshot();
    std::printf("taken %d\n", taken ? 1 : 0);
    return 0;
}
