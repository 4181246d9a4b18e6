#include "tables/modal_dialog.h"
#include "runtime/application.h"

// The module this code is linked into, which holds the dialog templates.
extern "C" IMAGE_DOS_HEADER __ImageBase;

TModalDialog::TModalDialog(TComponent* owner, int templateId)
    : TComponent(owner), templateId_(templateId) {}

int TModalDialog::ShowModal() {
    return int(DialogBoxParamA(reinterpret_cast<HINSTANCE>(&__ImageBase),
                               MAKEINTRESOURCEA(templateId_), GetActiveWindow(), DialogProc,
                               reinterpret_cast<LPARAM>(this)));
}

std::string TModalDialog::ItemText(int id) const {
    std::string text(size_t(GetWindowTextLengthA(Item(id))) + 1, '\0');
    text.resize(size_t(GetDlgItemTextA(handle_, id, text.data(), int(text.size()))));
    return text;
}

void TModalDialog::SetItemText(int id, const std::string& text) {
    SetDlgItemTextA(handle_, id, text.c_str());
}

void TModalDialog::EnableItem(int id, bool enabled) {
    EnableWindow(Item(id), enabled);
}

// Through the dialog manager, so that the default button follows the focus.
void TModalDialog::FocusItem(int id) {
    SendMessageA(handle_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

void TModalDialog::SetClientSize(int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongA(handle_, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongA(handle_, GWL_EXSTYLE)));
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    SetWindowPos(handle_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - frameWidth) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - frameHeight) / 2, frameWidth, frameHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TModalDialog::Close(int result) {
    EndDialog(handle_, result);
}

template <typename Body> void TModalDialog::Guarded(Body body) {
    try {
        body();
    } catch (...) {
        Application->HandleException(this);
    }
}

INT_PTR CALLBACK TModalDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<TModalDialog*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self->handle_ = dialog;
        self->Guarded([self] { self->InitDialog(); });
        return FALSE; // the dialog has set the focus itself
    }
    auto* self = reinterpret_cast<TModalDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self || message != WM_COMMAND)
        return FALSE;
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    // A disabled button cannot be clicked; Enter on a disabled default button is no click.
    HWND control = reinterpret_cast<HWND>(lParam);
    if (code == BN_CLICKED && control && !IsWindowEnabled(control))
        return TRUE;
    self->Guarded([self, id, code] { self->Command(id, code); });
    return TRUE;
}
