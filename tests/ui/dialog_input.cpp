#include "dialog_input.h"

namespace {

constexpr UINT kHandledTimeoutMs = 3000;

void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kHandledTimeoutMs, &result);
}

// Asked of the control itself: the text kept by the system is not an edit control's.
int TextLength(HWND control) {
    DWORD_PTR length = 0;
    SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kHandledTimeoutMs, &length);
    return int(length);
}

} // namespace

void TypeText(HWND control, const std::string& text) {
    for (char c : text)
        Send(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void EraseText(HWND edit) {
    for (int left = TextLength(edit); left > 0; --left)
        Send(edit, WM_CHAR, VK_BACK, 1);
}

void PressKey(HWND control, UINT virtualKey) {
    const LPARAM scan = LPARAM(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(control, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageA(control, WM_KEYUP, virtualKey, scan | 0xC0000001);
}

void Click(HWND dialog, HWND button) {
    Send(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
         reinterpret_cast<LPARAM>(button));
}

void ClickAt(HWND dialog, POINT point) {
    const LPARAM where = MAKELPARAM(point.x, point.y);
    Send(dialog, WM_MOUSEMOVE, 0, where);
    Send(dialog, WM_LBUTTONDOWN, MK_LBUTTON, where);
    Send(dialog, WM_LBUTTONUP, 0, where);
}

void Focus(HWND dialog, HWND control) {
    Send(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}
