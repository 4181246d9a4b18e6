#include "reporter/dialogs/own_look.h"
#include <algorithm>
#include <cmath>

namespace {

struct TFrameColours {
    COLORREF Caption, Outer, Border, Text;
};

constexpr TFrameColours kActive{0xC29B82, 0x404040, 0x808080, RGB(255, 255, 255)};
constexpr TFrameColours kInactive{0x979797, 0x303030, 0x606060, 0xE0E0E0};
constexpr COLORREF kTextShadow = 0x222222;

int Shaded(int channel) {
    return std::min(255, int(std::lround(channel * 0.96)));
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// The client area in the window's own coordinates.
RECT ClientInWindow(HWND window) {
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -outer.left, -outer.top);
    return client;
}

void PaintCaption(HDC dc, const RECT& caption, const TFrameColours& colours, HFONT font,
                  const std::string& text, bool active) {
    COLORREF colour = colours.Caption;
    const int steps = std::max(1, int(caption.bottom - caption.top) / 5);
    for (int i = 0; i < steps; ++i) {
        colour = ShadedCaptionColour(colour);
        RECT band{caption.left, caption.top + 2 * i, caption.right, caption.bottom - 2 * i};
        if (band.bottom > band.top)
            Fill(dc, band, colour);
    }
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    RECT r{caption.left + 4, caption.top, caption.right - 4, caption.bottom};
    const UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (active) {
        RECT shadow = r;
        OffsetRect(&shadow, 1, 0);
        SetTextColor(dc, kTextShadow);
        DrawTextA(dc, text.c_str(), int(text.size()), &shadow, format);
    }
    SetTextColor(dc, colours.Text);
    DrawTextA(dc, text.c_str(), int(text.size()), &r, format);
    SelectObject(dc, old);
}

} // namespace

COLORREF ShadedCaptionColour(COLORREF colour) {
    return RGB(Shaded(GetRValue(colour)), Shaded(GetGValue(colour)), Shaded(GetBValue(colour)));
}

void PaintOwnFrame(HWND window, HFONT captionFont, const std::string& caption, bool active) {
    const TFrameColours& colours = active ? kActive : kInactive;
    RECT outer{};
    GetWindowRect(window, &outer);
    OffsetRect(&outer, -outer.left, -outer.top);
    const RECT client = ClientInWindow(window);
    const int frame = client.left - outer.left;
    const RECT captionRect{frame, frame, outer.right - frame, client.top};
    HDC dc = GetWindowDC(window);
    // The border: everything between the outer line and the client area, the caption apart.
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    RECT border = outer;
    InflateRect(&border, -1, -1);
    Fill(dc, border, colours.Border);
    HBRUSH line = CreateSolidBrush(colours.Outer);
    FrameRect(dc, &outer, line);
    DeleteObject(line);
    PaintCaption(dc, captionRect, colours, captionFont, caption, active);
    ReleaseDC(window, dc);
}

bool OwnLookMessage(HWND window, UINT message, WPARAM wParam, HFONT captionFont,
                    const std::string& caption, INT_PTR& result) {
    switch (message) {
    case WM_NCPAINT:
        PaintOwnFrame(window, captionFont, caption, GetActiveWindow() == window);
        result = TRUE;
        return true;
    case WM_NCACTIVATE:
        PaintOwnFrame(window, captionFont, caption, wParam != FALSE);
        // Handled: the system paints no caption of its own over ours.
        SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
    default:
        return false;
    }
}
