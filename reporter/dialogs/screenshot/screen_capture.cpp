#include "reporter/dialogs/screenshot/screen_capture.h"
#include "reporter/dialogs/screenshot/png_encoder.h"
#include <algorithm>
#include <vector>

namespace {

constexpr COLORREF kFocusFrame = RGB(255, 0, 0);
constexpr int kCursorSize = 32;
constexpr int kSystemPaletteSize = 256;

struct TCapture {
    HWND Window = nullptr; // whose device context was copied; null for the screen
    HDC WindowContext = nullptr;
    HDC MemoryContext = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ PreviousBitmap = nullptr;
    HPALETTE Palette = nullptr;
    int Width = 0;
    int Height = 0;
};

// One at a time: exceptions are processed one after the other.
TCapture capture;

bool OwnWindow(HWND window) {
    DWORD process = 0;
    return window && GetWindowThreadProcessId(window, &process) && process == GetCurrentProcessId();
}

BOOL CALLBACK AddVisibleWindow(HWND window, LPARAM area) {
    RECT bounds{};
    if (OwnWindow(window) && IsWindowVisible(window) && GetWindowRect(window, &bounds)) {
        RECT& united = *reinterpret_cast<RECT*>(area);
        if (IsRectEmpty(&united))
            united = bounds;
        else
            UnionRect(&united, &united, &bounds);
    }
    return TRUE;
}

// The part of the screens the program's visible windows cover; empty when they cover none.
RECT ProgramArea() {
    RECT area{};
    EnumWindows(AddVisibleWindow, reinterpret_cast<LPARAM>(&area));
    const RECT screens{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                       GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT shown{};
    IntersectRect(&shown, &area, &screens);
    return shown;
}

void SelectSystemPalette(HDC screen) {
    if ((GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) == 0)
        return;
    std::vector<uint8_t> storage(sizeof(LOGPALETTE) + kSystemPaletteSize * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = kSystemPaletteSize;
    GetSystemPaletteEntries(screen, 0, kSystemPaletteSize, palette->palPalEntry);
    capture.Palette = CreatePalette(palette);
    if (capture.Palette) {
        SelectPalette(capture.MemoryContext, capture.Palette, FALSE);
        RealizePalette(capture.MemoryContext);
    }
}

// Twice, the second frame one pixel inside the first.
void FrameFocus(HWND focus, const RECT& area) {
    RECT frame{};
    if (!OwnWindow(focus) || !IsWindowVisible(focus) || !GetWindowRect(focus, &frame))
        return;
    OffsetRect(&frame, -area.left, -area.top);
    HBRUSH red = CreateSolidBrush(kFocusFrame);
    FrameRect(capture.MemoryContext, &frame, red);
    InflateRect(&frame, -1, -1);
    FrameRect(capture.MemoryContext, &frame, red);
    DeleteObject(red);
}

void DrawCursor(const TCaptureRequest& request, const RECT& area) {
    ICONINFO info{};
    if (!request.Cursor || !GetIconInfo(request.Cursor, &info))
        return;
    DrawIconEx(capture.MemoryContext, request.CursorPosition.x - int(info.xHotspot) - area.left,
               request.CursorPosition.y - int(info.yHotspot) - area.top, request.Cursor,
               kCursorSize, kCursorSize, 0, nullptr, DI_NORMAL);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
}

// The window to picture alone and its rectangle, or null and the program's area.
HWND PicturedWindow(const TCaptureRequest& request, RECT& area) {
    if (request.ActiveWindowOnly) {
        HWND foreground = GetForegroundWindow();
        if (OwnWindow(foreground) && GetWindowRect(foreground, &area))
            return foreground;
    }
    area = ProgramArea();
    return nullptr;
}

// The picture as 24-bit rows, the bottom row first, each rounded up to 4 bytes.
std::vector<uint8_t> TrueColourRows(int& stride) {
    stride = (capture.Width * 3 + 3) & ~3;
    std::vector<uint8_t> rows(size_t(stride) * size_t(capture.Height));
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = capture.Width;
    format.bmiHeader.biHeight = capture.Height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    // The bitmap may not be selected into a context while its bits are read.
    SelectObject(capture.MemoryContext, capture.PreviousBitmap);
    const int read = GetDIBits(capture.MemoryContext, capture.Bitmap, 0, UINT(capture.Height),
                               rows.data(), &format, DIB_RGB_COLORS);
    SelectObject(capture.MemoryContext, capture.Bitmap);
    if (read != capture.Height)
        rows.clear();
    return rows;
}

} // namespace

bool CaptureScreen(const TCaptureRequest& request) {
    ReleaseScreenshot();
    RECT area{};
    HWND window = PicturedWindow(request, area);
    if (IsRectEmpty(&area))
        return false;
    capture.Window = window;
    capture.WindowContext = window ? GetWindowDC(window) : GetDC(nullptr);
    if (!capture.WindowContext)
        return false;
    capture.Width = std::max<int>(1, area.right - area.left);
    capture.Height = std::max<int>(1, area.bottom - area.top);
    capture.MemoryContext = CreateCompatibleDC(capture.WindowContext);
    capture.Bitmap = CreateCompatibleBitmap(capture.WindowContext, capture.Width, capture.Height);
    if (!capture.MemoryContext || !capture.Bitmap) {
        ReleaseScreenshot();
        return false;
    }
    capture.PreviousBitmap = SelectObject(capture.MemoryContext, capture.Bitmap);
    SelectSystemPalette(capture.WindowContext);
    // A window's own context starts at its corner; the screen's at the screen's.
    const POINT source = window ? POINT{0, 0} : POINT{area.left, area.top};
    BitBlt(capture.MemoryContext, 0, 0, capture.Width, capture.Height, capture.WindowContext,
           source.x, source.y, SRCCOPY);
    FrameFocus(request.FocusWindow, area);
    DrawCursor(request, area);
    return true;
}

bool ScreenshotTaken() {
    return capture.Bitmap != nullptr;
}

void SaveScreenshotPng(const std::string& fileName) {
    if (fileName.empty() || !ScreenshotTaken())
        return;
    int stride = 0;
    const std::vector<uint8_t> rows = TrueColourRows(stride);
    if (rows.empty())
        return;
    const std::string png =
        EncodePng(QuantizeOctree(rows.data(), capture.Width, capture.Height, stride));
    HANDLE file = CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    const bool whole = !png.empty() &&
                       WriteFile(file, png.data(), DWORD(png.size()), &written, nullptr) &&
                       written == png.size();
    CloseHandle(file);
    // A cut file is no picture: better none than a damaged one in the archive.
    if (!whole)
        DeleteFileA(fileName.c_str());
}

void ReleaseScreenshot() {
    if (capture.MemoryContext && capture.PreviousBitmap)
        SelectObject(capture.MemoryContext, capture.PreviousBitmap);
    if (capture.Bitmap)
        DeleteObject(capture.Bitmap);
    if (capture.Palette)
        DeleteObject(capture.Palette);
    if (capture.MemoryContext)
        DeleteDC(capture.MemoryContext);
    if (capture.WindowContext)
        ReleaseDC(capture.Window, capture.WindowContext);
    capture = TCapture{};
}
