// The report's picture of a 1280 x 1024 screen full of the program's windows (text, lists and
// gradients): capture, then the PNG file (rows read, reduced to 256 colours, encoded, written);
// the reduction and the encoding also timed alone on the same picture. Best of three passes.
#include "reporter/dialogs/screenshot/octree_quantizer.h"
#include "reporter/dialogs/screenshot/png_encoder.h"
#include "reporter/dialogs/screenshot/screen_capture.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>
#include <windows.h>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void PaintContent(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    const int seed = int(GetWindowLongPtrA(window, GWLP_USERDATA));
    for (int y = 0; y < client.bottom; y += 4) {
        RECT band{0, y, client.right, y + 4};
        HBRUSH brush = CreateSolidBrush(RGB((y + seed * 40) % 256, 180 - y % 120, 90 + seed * 30));
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
    SetBkMode(dc, TRANSPARENT);
    char line[120];
    for (int row = 0; row * 16 < client.bottom; ++row) {
        const int length = std::snprintf(line, sizeof line,
                                         "%08X  ProfileUpgrade.exe  profile_tables.cpp  "
                                         "TProfileTables.Open  line %d",
                                         0x401000 + row * 37 + seed, row * 7 + seed);
        TextOutA(dc, 8, row * 16, line, length);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintContent(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

void OpenWindows() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ScreenshotBench";
    RegisterClassA(&windowClass);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    for (int i = 0; i < 4; ++i) {
        HWND window = CreateWindowExA(0, "ScreenshotBench", "bench", WS_POPUP | WS_VISIBLE,
                                      (i % 2) * width / 2, (i / 2) * height / 2, width / 2,
                                      height / 2, nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, i);
        InvalidateRect(window, nullptr, TRUE);
    }
    const DWORD end = GetTickCount() + 1500;
    MSG message;
    while (GetTickCount() < end) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        Sleep(10);
    }
}

// The screen as bottom-up 24-bit rows, as the capture hands them to the reduction.
std::vector<uint8_t> ScreenRows(int width, int height, int& stride) {
    stride = (width * 3 + 3) & ~3;
    std::vector<uint8_t> rows(size_t(stride) * size_t(height));
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(memory, bitmap, 0, UINT(height), rows.data(), &format, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return rows;
}

} // namespace

int main() {
    OpenWindows();
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    const std::string file = std::string(folder) + "screenshot_bench.png";
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    int stride = 0;
    const std::vector<uint8_t> rows = ScreenRows(width, height, stride);
    double capture = 1e30, save = 1e30, reduce = 1e30, encode = 1e30;
    size_t colours = 0, pngSize = 0;
    for (int pass = 0; pass < 3; ++pass) {
        Clock::time_point start = Clock::now();
        CaptureScreen({});
        capture = std::min(capture, MillisecondsSince(start));
        start = Clock::now();
        SaveScreenshotPng(file);
        save = std::min(save, MillisecondsSince(start));
        ReleaseScreenshot();
        start = Clock::now();
        const TPalettedPicture picture = QuantizeOctree(rows.data(), width, height, stride);
        reduce = std::min(reduce, MillisecondsSince(start));
        start = Clock::now();
        pngSize = EncodePng(picture).size();
        encode = std::min(encode, MillisecondsSince(start));
        colours = picture.Palette.size();
    }
    DeleteFileA(file.c_str());
    std::printf("screenshot of %d x %d: %.0f ms from capture to PNG file (best of 3), PNG %zu "
                "bytes, %zu colours\n",
                width, height, capture + save, pngSize, colours);
    std::printf("  phase: capture (copy, focus frame, cursor)      %6.0f ms\n", capture);
    std::printf("  phase: PNG file (rows, reduction, encoding)     %6.0f ms\n", save);
    std::printf("    of which reduction to 256 colours             %6.0f ms\n", reduce);
    std::printf("    of which PNG encoding (deflate level 9)       %6.0f ms\n", encode);
    return 0;
}
