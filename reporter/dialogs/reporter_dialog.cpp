#include "reporter/dialogs/reporter_dialog.h"
#include "reporter/core/processing/dialog_state.h"
#include "reporter/dialogs/dialog_timers.h"
#include "runtime/exception.h"

// The module this code is linked into.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr UINT_PTR kPaintTimer = 0x4B45;
// The first look comes at once; later looks, after a forced paint, at this pace.
constexpr UINT kFirstPaintLookMs = 1;
constexpr UINT kPaintLookMs = 100;
// How long a window may take to paint for the first time before it counts as not shown.
constexpr uint64_t kPaintGraceMs = 5000;

} // namespace

HINSTANCE ReporterResources() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

TReporterDialog::TReporterDialog(const char* templateName)
    : templateName_(templateName), paintWatch_(kPaintGraceMs) {}

void TReporterDialog::Run() {
    handle_ = CreateDialogParamA(ReporterResources(), templateName_, nullptr, Procedure,
                                 reinterpret_cast<LPARAM>(this));
    if (!handle_) {
        if (failure_)
            std::rethrow_exception(failure_);
        throw Exception("The dialog \"" + std::string(templateName_) + "\" could not be made.");
    }
    DialogState().Current = handle_;
    if (!ended_) {
        ShowWindow(handle_, SW_SHOW);
        SetForegroundWindow(handle_);
        paintWatch_.Start(GetTickCount64());
        SetTimer(handle_, kPaintTimer, kFirstPaintLookMs, nullptr);
        RunLoop();
    }
    DialogState().Current = nullptr;
    DestroyWindow(handle_);
    handle_ = nullptr;
    if (failure_)
        std::rethrow_exception(failure_);
}

// Input for any of the dialog's windows starts the idle count again. A quit message ends the
// loop and is posted again for the program's own loop.
void TReporterDialog::RunLoop() {
    MSG msg{};
    while (!ended_) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(int(msg.wParam));
            break;
        }
        if (IsUserInput(msg.message) && (msg.hwnd == handle_ || IsChild(handle_, msg.hwnd)))
            TouchIdleClose();
        if (!IsDialogMessageA(handle_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void TReporterDialog::End() {
    ended_ = true;
    // Wakes the loop, which may be waiting for a message.
    PostMessageA(handle_, WM_NULL, 0, 0);
}

void TReporterDialog::WatchPainting() {
    switch (paintWatch_.Check(GetTickCount64())) {
    case TPaintWatch::TVerdict::Painted:
        KillTimer(handle_, kPaintTimer);
        break;
    case TPaintWatch::TVerdict::Wait:
        RedrawWindow(handle_, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (paintWatch_.Painted())
            KillTimer(handle_, kPaintTimer);
        else
            SetTimer(handle_, kPaintTimer, kPaintLookMs, nullptr);
        break;
    case TPaintWatch::TVerdict::GiveUp:
        KillTimer(handle_, kPaintTimer);
        End();
        break;
    }
}

bool TReporterDialog::Message(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

std::string TReporterDialog::ItemText(int id) const {
    HWND item = Item(id);
    std::string text(size_t(SendMessageA(item, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
    text.resize(
        size_t(SendMessageA(item, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

void TReporterDialog::SetItemText(int id, const std::string& text) {
    SetDlgItemTextA(handle_, id, text.c_str());
}

bool TReporterDialog::Checked(int id) const {
    return IsDlgButtonChecked(handle_, id) == BST_CHECKED;
}

void TReporterDialog::Check(int id, bool checked) {
    CheckDlgButton(handle_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void TReporterDialog::ShowItem(int id, bool shown) {
    ShowWindow(Item(id), shown ? SW_SHOW : SW_HIDE);
}

INT_PTR TReporterDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = FALSE;
    switch (message) {
    case WM_INITDIALOG:
        Init();
        return FALSE; // the dialog has set the focus itself
    case WM_PAINT:
        paintWatch_.NotePainted();
        DialogState().Shown = true;
        break;
    case WM_TIMER:
        if (wParam != kPaintTimer)
            break;
        WatchPainting();
        return TRUE;
    case WM_COMMAND:
        TouchIdleClose();
        Command(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        Closing();
        break;
    }
    return Message(message, wParam, lParam, result) ? result : FALSE;
}

INT_PTR CALLBACK TReporterDialog::Procedure(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        reinterpret_cast<TReporterDialog*>(lParam)->handle_ = dialog;
    }
    auto* self = reinterpret_cast<TReporterDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self || self->failure_)
        return FALSE;
    try {
        return self->Dispatch(message, wParam, lParam);
    } catch (...) {
        self->failure_ = std::current_exception();
        self->ended_ = true;
        return FALSE;
    }
}
