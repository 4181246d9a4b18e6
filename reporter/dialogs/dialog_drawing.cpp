#include "reporter/dialogs/dialog_drawing.h"
#include "reporter/dialogs/reporter_dialog.h"

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

} // namespace

SIZE TextSize(HWND window, HFONT font, const std::string& text, int wrapWidth) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, wrapWidth, 0};
    DrawTextA(dc, text.c_str(), int(text.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return {r.right - r.left, r.bottom - r.top};
}

void Place(HWND control, const RECT& r) {
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HBITMAP LoadReporterPicture(const char* name) {
    return static_cast<HBITMAP>(
        LoadImageA(ReporterResources(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void DrawPicture(HDC dc, HBITMAP picture, int x, int y) {
    if (!picture)
        return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, picture);
    BITMAP bm{};
    GetObjectA(picture, sizeof bm, &bm);
    TransparentBlt(dc, x, y, bm.bmWidth, bm.bmHeight, memory, 0, 0, bm.bmWidth, bm.bmHeight,
                   kTransparent);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void DrawLink(HDC dc, HFONT font, COLORREF colour, const RECT& rect, const std::string& text,
              UINT format) {
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    RECT r = rect;
    DrawTextA(dc, text.c_str(), int(text.size()), &r, format | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

bool SetLinkCursor(HWND dialog, WPARAM wParam, const RECT& link) {
    if (reinterpret_cast<HWND>(wParam) != dialog)
        return false;
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(dialog, &p);
    if (!PtInRect(&link, p))
        return false;
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
    return true;
}

bool OnLink(LPARAM lParam, const RECT& link) {
    const POINT p{short(LOWORD(lParam)), short(HIWORD(lParam))};
    return PtInRect(&link, p);
}
