#include "reporter/dialogs/reproduce_request.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/dialogs/dialog_fonts.h"
#include "reporter/dialogs/dialog_placement.h"
#include "reporter/dialogs/dialog_timers.h"
#include "reporter/dialogs/own_look.h"
#include "reporter/dialogs/reporter_dialog.h"
#include "reporter_dialog_ids.h"
#include "runtime/text.h"

namespace {

constexpr int kMargin = 10;
constexpr int kButtonWidth = 75, kButtonHeight = 23;

class TReproduceRequest : public TReporterDialog {
  public:
    explicit TReproduceRequest(TVessarModuleOptionsEx& options)
        : TReporterDialog("KF_REQUEST"), options_(options) {}
    ~TReproduceRequest() override { FreeDialogFonts(fonts_); }

  protected:
    void Init() override;
    void Command(int id, int code) override;
    bool Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void Closing() override;

  private:
    void LayOut();
    bool OwnLook() const { return options_.Stored().DialogFlags & DialogFlag::OwnLook; }

    TVessarModuleOptionsEx& options_;
    TDialogFonts fonts_;
};

void TReproduceRequest::Init() {
    fonts_ = MakeDialogFonts();
    SetWindowTextA(Handle(), options_.Text(kTextRequestCaption).c_str());
    SetItemText(IDC_REQUEST_LABEL, options_.Text(kTextRequestSteps));
    SetItemText(IDC_REQUEST_OK, options_.Text(kTextRequestOk));
    SendMessageA(Item(IDC_REQUEST_LABEL), WM_SETFONT, WPARAM(fonts_.Dialog), FALSE);
    SendMessageA(Item(IDC_REQUEST_OK), WM_SETFONT, WPARAM(fonts_.Dialog), FALSE);
    SendMessageA(Item(IDC_REQUEST_TEXT), WM_SETFONT, WPARAM(fonts_.Text), FALSE);
    SetItemText(IDC_REQUEST_TEXT, options_.ReproduceText());
    if (OwnLook())
        SetWindowLongA(Handle(), GWL_EXSTYLE,
                       GetWindowLongA(Handle(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    if (options_.Stored().DialogFlags & DialogFlag::TopMost)
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    LayOut();
    CentreWindow(Handle(), DesktopWorkArea());
    SendMessageA(Handle(), WM_NEXTDLGCTL, WPARAM(Item(IDC_REQUEST_TEXT)), TRUE);
    StartIdleClose(Handle(), options_.Stored().DialogAutoCloseSeconds);
    StartKeepInFront(Handle());
}

// The dialog grows by what the label's wrapped text needs beyond one line; the edit takes the
// room between the label and the button.
void TReproduceRequest::LayOut() {
    RECT window{}, client{};
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    const std::string label = options_.Text(kTextRequestSteps);
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, fonts_.Dialog);
    RECT text{0, 0, int(client.right) - 27, 0};
    DrawTextA(dc, label.c_str(), int(label.size()), &text, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    const int labelHeight = text.bottom;
    const int grow = labelHeight - kMargin;
    SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left,
                 window.bottom - window.top + grow, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(Handle(), &client);
    const int width = client.right, height = client.bottom;
    SetWindowPos(Item(IDC_REQUEST_LABEL), nullptr, kMargin, kMargin, width - 2 * kMargin,
                 labelHeight, SWP_NOZORDER);
    const int buttonTop = height - kMargin - kButtonHeight;
    SetWindowPos(Item(IDC_REQUEST_TEXT), nullptr, kMargin, labelHeight + 14, width - 2 * kMargin,
                 buttonTop - kMargin - (labelHeight + 14), SWP_NOZORDER);
    SetWindowPos(Item(IDC_REQUEST_OK), nullptr, width - kMargin - kButtonWidth, buttonTop,
                 kButtonWidth, kButtonHeight, SWP_NOZORDER);
}

bool TReproduceRequest::Message(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
    return OwnLook() && OwnLookMessage(Handle(), message, wParam, fonts_.Caption,
                                       options_.Text(kTextRequestCaption), result);
}

// OK, Esc and the close box all come as the OK button's command.
void TReproduceRequest::Command(int id, int) {
    if (id == IDC_REQUEST_OK)
        End();
}

void TReproduceRequest::Closing() {
    StopIdleClose(Handle());
    StopKeepInFront(Handle());
    options_.SetReproduceText(Trim(ItemText(IDC_REQUEST_TEXT)));
}

} // namespace

void RunReproduceRequest(TVessarModuleOptionsEx& options) {
    TReproduceRequest request(options);
    request.Run();
}
