#include "window_bitmap.h"
#include <fstream>
#include <vector>

namespace {

constexpr WORD kBitsPerPixel = 24;

// The rows of a BMP start on 4-byte boundaries.
DWORD RowBytes(LONG width) {
    return DWORD((width * kBitsPerPixel / 8 + 3) & ~3);
}

// Bottom-up rows of the screen's pixels inside rect.
std::vector<char> ScreenPixels(const RECT& rect, BITMAPINFOHEADER& header) {
    header = {};
    header.biSize = sizeof header;
    header.biWidth = rect.right - rect.left;
    header.biHeight = rect.bottom - rect.top;
    header.biPlanes = 1;
    header.biBitCount = kBitsPerPixel;
    header.biCompression = BI_RGB;
    std::vector<char> pixels(size_t(RowBytes(header.biWidth)) * size_t(header.biHeight));
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, header.biWidth, header.biHeight);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const bool copied =
        BitBlt(memory, 0, 0, header.biWidth, header.biHeight, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    const bool read =
        copied && GetDIBits(memory, bitmap, 0, UINT(header.biHeight), pixels.data(),
                            reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) != 0;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!read)
        pixels.clear();
    return pixels;
}

} // namespace

bool SaveWindowBitmap(HWND window, const std::string& path) {
    RECT rect{};
    if (!GetWindowRect(window, &rect) || rect.right <= rect.left || rect.bottom <= rect.top)
        return false;
    BITMAPINFOHEADER header;
    std::vector<char> pixels = ScreenPixels(rect, header);
    if (pixels.empty())
        return false;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = DWORD(file.bfOffBits + pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(pixels.data(), std::streamsize(pixels.size()));
    return bool(out);
}
