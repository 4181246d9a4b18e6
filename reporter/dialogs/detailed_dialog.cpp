#include "reporter/dialogs/detailed_dialog.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/processing/dialog_state.h"
#include "reporter/core/processing/processing_state.h"
#include "reporter/dialogs/detailed_layout.h"
#include "reporter/dialogs/dialog_drawing.h"
#include "reporter/dialogs/dialog_fonts.h"
#include "reporter/dialogs/dialog_geometry.h"
#include "reporter/dialogs/dialog_placement.h"
#include "reporter/dialogs/dialog_timers.h"
#include "reporter/dialogs/own_look.h"
#include "reporter/dialogs/page_window.h"
#include "reporter/dialogs/report_pages.h"
#include "reporter/dialogs/reporter_dialog.h"
#include "reporter_dialog_ids.h"
#include "runtime/text.h"
#include <algorithm>
#include <commctrl.h>
#include <memory>
#include <shellapi.h>

namespace {

constexpr int kTerminateAction = 1;
constexpr int kMinimumButtonWidth = 75;
constexpr int kCompactMinimumWidth = 340;
constexpr int kCompactWrapWidth = 640;
constexpr COLORREF kLinkColour = RGB(0, 0, 128);
constexpr int kLinkHeight = 13;

class TDetailedDialog : public TReporterDialog {
  public:
    explicit TDetailedDialog(const TErrorDialogInput& input)
        : TReporterDialog("KF_DIALOG"), in_(input), flags_(input.Options.Stored().DialogFlags),
          ownLook_(flags_ & DialogFlag::OwnLook) {}
    ~TDetailedDialog() override;

  protected:
    void Init() override;
    void Command(int id, int code) override;
    bool Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void Closing() override;

  private:
    void DecideOffers();
    void SetCaptions();
    void SetUpTabs();
    void ShowPage(TReportPage page);
    void SetDetailed(bool detailed);
    void EnterCompactMode();
    void EnterDetailedMode();
    void LayOutControls();
    void RememberGeometry();
    void Paint();
    void OpenSupportPage();
    int ButtonWidth() const;
    std::string DetailsCaption() const;
    bool TerminateShown() const;
    void Finish(bool cancelled);

    const TErrorDialogInput& in_;
    const uint16_t flags_;
    const bool ownLook_;
    TBottomOffers offers_;
    int bottomArea_ = 0;
    bool detailed_ = false;
    bool repeated_ = false;
    bool sendWanted_ = true;
    TDialogFonts fonts_;
    HBRUSH background_ = nullptr;
    HBITMAP picture_ = nullptr;
    TDialogGeometry geometry_;
    std::unique_ptr<TPageWindow> page_;
    RECT linkRect_{};
};

TDetailedDialog::~TDetailedDialog() {
    FreeDialogFonts(fonts_);
    if (background_)
        DeleteObject(background_);
    if (picture_)
        DeleteObject(picture_);
}

void TDetailedDialog::DecideOffers() {
    const TVessarStoredOptions& o = in_.Options.Stored();
    offers_.Send =
        (o.MailMethod || o.WebMethod) && !in_.SendingBlocked && (flags_ & DialogFlag::OfferSend);
    offers_.Screenshot = (o.SendFlags & SendFlag::AttachScreenshot) && offers_.Send &&
                         (flags_ & DialogFlag::OfferScreenshot);
    offers_.Copy = flags_ & DialogFlag::OfferCopy;
    offers_.SupportLink = !Trim(o.SupportPage).empty();
    bottomArea_ = BottomAreaHeight(offers_);
}

bool TDetailedDialog::TerminateShown() const {
    const TVessarStoredOptions& o = in_.Options.Stored();
    return o.TerminateButtonAction != 0 && in_.ExceptionCount > o.TerminateButtonAfter;
}

int TDetailedDialog::ButtonWidth() const {
    int widest = kMinimumButtonWidth;
    for (int text : {kTextButtonOk, kTextButtonTerminate, kTextButtonRestart, kTextButtonHelp})
        widest = std::max<int>(
            widest, TextSize(Handle(), fonts_.Dialog, in_.Options.Text(text) + "O", 0).cx);
    return widest;
}

std::string TDetailedDialog::DetailsCaption() const {
    const std::string details = in_.Options.Text(kTextButtonDetails);
    return detailed_ ? "<< " + details : details + " >>";
}

void TDetailedDialog::Init() {
    const TVessarModuleOptions& options = in_.Options;
    TDialogState& state = DialogState();
    repeated_ = state.Repeated;
    state.Repeated = true;
    sendWanted_ = state.SendReport;
    if (flags_ & DialogFlag::TopMost)
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The own look paints its frame round the template's small caption.
    if (!ownLook_)
        SetWindowLongA(Handle(), GWL_EXSTYLE,
                       GetWindowLongA(Handle(), GWL_EXSTYLE) & ~LONG(WS_EX_TOOLWINDOW));
    DecideOffers();
    picture_ = LoadReporterPicture("KF_ERROR");
    background_ = CreateSolidBrush(ownLook_ ? kOwnLookBackground : GetSysColor(COLOR_BTNFACE));
    fonts_ = MakeDialogFonts();
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Dialog), FALSE);
    SetCaptions();
    ShowItem(IDC_KF_LINE, false);
    ShowItem(IDC_KF_HELP, flags_ & DialogFlag::ShowHelp);
    ShowItem(IDC_KF_TERMINATE, TerminateShown());
    ShowItem(IDC_KF_DETAILS, !repeated_ && (flags_ & DialogFlag::ShowDetails));
    Check(IDC_KF_SEND, sendWanted_ && (flags_ & DialogFlag::SendChecked));
    Check(IDC_KF_SCREENSHOT, flags_ & DialogFlag::ScreenshotChecked);
    EnableWindow(Item(IDC_KF_SCREENSHOT), Checked(IDC_KF_SEND));
    ShowItem(IDC_KF_SEND, offers_.Send);
    ShowItem(IDC_KF_SCREENSHOT, offers_.Screenshot);
    Check(IDC_KF_COPY, false);
    ShowItem(IDC_KF_COPY, offers_.Copy);
    SetUpTabs();
    SetDetailed(repeated_ || (flags_ & DialogFlag::StartDetailed));
    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_KF_OK)), TRUE);
    StartIdleClose(Handle(), options.Stored().DialogAutoCloseSeconds);
    StartKeepInFront(Handle());
}

void TDetailedDialog::SetCaptions() {
    const TVessarModuleOptions& o = in_.Options;
    SetWindowTextA(Handle(), o.Text(kTextErrorOccurred).c_str());
    SetItemText(IDC_KF_OK, o.Text(kTextButtonOk));
    SetItemText(IDC_KF_TERMINATE,
                o.Text(o.Stored().TerminateButtonAction == kTerminateAction ? kTextButtonTerminate
                                                                            : kTextButtonRestart));
    SetItemText(IDC_KF_HELP, o.Text(kTextButtonHelp));
    SetItemText(IDC_KF_SEND, o.Text(kTextCheckSendError));
    SetItemText(IDC_KF_SCREENSHOT, o.Text(kTextCheckAttachScreenshot));
    SetItemText(IDC_KF_COPY, o.Text(kTextButtonCopyToClipboard));
}

void TDetailedDialog::SetUpTabs() {
    HWND tabs = Item(IDC_KF_TABS);
    const uint8_t logFlags = in_.Options.Stored().LogFlags;
    int index = 0;
    for (TReportPage page : ShownPages(logFlags)) {
        std::string caption = in_.Options.Text(TabCaptionText(page));
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageA(tabs, TCM_INSERTITEMA, index++, reinterpret_cast<LPARAM>(&item));
    }
    const TReportPage first = FirstPage(in_.Options.Stored().FirstTab, logFlags);
    SendMessageA(tabs, TCM_SETCURSEL, TabOfPage(first, logFlags), 0);
    ShowPage(first);
}

void TDetailedDialog::ShowPage(TReportPage page) {
    page_.reset();
    page_ = std::make_unique<TPageWindow>(page, Item(IDC_KF_TABS), in_, fonts_);
}

void TDetailedDialog::SetDetailed(bool detailed) {
    if (detailed_ && !detailed)
        RememberGeometry(), SaveDialogGeometry(geometry_);
    detailed_ = detailed;
    SetItemText(IDC_KF_DETAILS, DetailsCaption());
    if (detailed)
        EnterDetailedMode();
    else
        EnterCompactMode();
}

void TDetailedDialog::EnterDetailedMode() {
    LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    SetWindowLongA(Handle(), GWL_STYLE, style | WS_THICKFRAME | WS_MAXIMIZEBOX);
    SetItemText(IDC_KF_MESSAGE, in_.Options.Text(kTextIntroduction));
    geometry_ = LoadDialogGeometry(bottomArea_);
    const RECT& b = geometry_.Bounds;
    SetWindowPos(Handle(), nullptr, b.left, b.top, b.right - b.left, b.bottom - b.top + bottomArea_,
                 SWP_NOZORDER | SWP_FRAMECHANGED);
    ShowItem(IDC_KF_TABS, true);
    if (page_)
        page_->Show(true);
    if (geometry_.State == kWindowMaximised)
        ShowWindow(Handle(), SW_MAXIMIZE);
    LayOutControls();
}

void TDetailedDialog::EnterCompactMode() {
    if (IsZoomed(Handle()))
        ShowWindow(Handle(), SW_RESTORE);
    LONG style = GetWindowLongA(Handle(), GWL_STYLE);
    SetWindowLongA(Handle(), GWL_STYLE, style & ~LONG(WS_THICKFRAME | WS_MAXIMIZEBOX));
    SetItemText(IDC_KF_MESSAGE, in_.Message);
    ShowItem(IDC_KF_TABS, false);
    if (page_)
        page_->Show(false);
    const int frameWidth = GetSystemMetrics(SM_CXDLGFRAME);
    const int frameHeight = GetSystemMetrics(SM_CYDLGFRAME);
    const int wrap = kCompactWrapWidth - (2 * frameWidth + 58);
    const std::string checks = in_.Options.Text(kTextCheckSendError) + "    " +
                               in_.Options.Text(kTextButtonCopyToClipboard);
    const int widest = std::max(TextSize(Handle(), fonts_.Dialog, in_.Message, 0).cx,
                                TextSize(Handle(), fonts_.Dialog, checks, 0).cx) +
                       16;
    const int textWidth = std::min(widest, wrap);
    const SIZE text = TextSize(Handle(), fonts_.Dialog, in_.Message, textWidth);
    const int width = std::max(textWidth + 2 * frameWidth + 58, kCompactMinimumWidth);
    const int height = std::max(0, int(text.cy) - 39) + 2 * frameHeight +
                       GetSystemMetrics(SM_CYCAPTION) + 86 + bottomArea_;
    SetWindowPos(Handle(), nullptr, 0, 0, width, height,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_FRAMECHANGED);
    CentreWindow(Handle(), DesktopWorkArea());
    LayOutControls();
}

void TDetailedDialog::LayOutControls() {
    RECT client{};
    GetClientRect(Handle(), &client);
    const bool helpShown = flags_ & DialogFlag::ShowHelp;
    const TDetailedLayout l = LayOut({client.right, client.bottom, bottomArea_, ButtonWidth(),
                                      TerminateShown(), helpShown, offers_.Screenshot});
    Place(Item(IDC_KF_TABS), l.Tabs);
    RECT text = l.Text;
    if (!detailed_)
        text.bottom = l.Ok.top - 8;
    Place(Item(IDC_KF_MESSAGE), text);
    Place(Item(IDC_KF_TERMINATE), l.Terminate);
    Place(Item(IDC_KF_HELP), l.Help);
    Place(Item(IDC_KF_OK), l.Ok);
    Place(Item(IDC_KF_DETAILS), l.Details);
    Place(Item(IDC_KF_SEND), l.Send);
    Place(Item(IDC_KF_COPY), l.Copy);
    Place(Item(IDC_KF_SCREENSHOT), l.Screenshot);
    if (offers_.SupportLink) {
        const int width =
            TextSize(Handle(), fonts_.UnderlinedBold, in_.Options.Text(kTextLinkSupportPage), 0).cx;
        linkRect_ = {l.LinkRight - width, l.LinkTop, l.LinkRight, l.LinkTop + kLinkHeight};
    }
    if (page_ && detailed_)
        page_->Fit();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TDetailedDialog::RememberGeometry() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Handle(), &placement);
    if (geometry_.State == kWindowNormal) {
        GetWindowRect(Handle(), &geometry_.Bounds);
        geometry_.Bounds.bottom -= bottomArea_;
    }
}

void TDetailedDialog::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    DrawPicture(dc, picture_, 8, 8);
    if (offers_.SupportLink)
        DrawLink(dc, fonts_.UnderlinedBold, kLinkColour, linkRect_,
                 in_.Options.Text(kTextLinkSupportPage), DT_RIGHT);
    EndPaint(Handle(), &ps);
}

void TDetailedDialog::OpenSupportPage() {
    SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShellExecuteA(Handle(), "open", Trim(in_.Options.Stored().SupportPage).c_str(), nullptr,
                  nullptr, SW_SHOWMAXIMIZED);
}

void TDetailedDialog::Command(int id, int code) {
    if (code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_KF_OK:
        DialogState().Kind = kNoDialog;
        End();
        break;
    case IDC_KF_TERMINATE:
        ProcessingState().TerminateRequested = true;
        DialogState().Kind = kNoDialog;
        End();
        break;
    case IDC_KF_HELP:
        if (in_.HelpClicked && in_.HelpClicked()) {
            DialogState().Kind = kNoDialog;
            End();
        }
        break;
    case IDC_KF_DETAILS:
        SetDetailed(!detailed_);
        break;
    case IDC_KF_SEND:
        EnableWindow(Item(IDC_KF_SCREENSHOT), Checked(IDC_KF_SEND));
        break;
    case IDCANCEL:
        Finish(true);
        break;
    }
}

// Esc and the close box cancel; the close request of the idle close ends as OK does.
void TDetailedDialog::Finish(bool cancelled) {
    TDialogState& state = DialogState();
    if (cancelled) {
        state.SendReport = false;
        state.Cancelled = true;
        state.AttachScreenshot = false;
    }
    state.Kind = kNoDialog;
    End();
}

bool TDetailedDialog::Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (ownLook_ && OwnLookMessage(Handle(), message, wParam, fonts_.Caption,
                                   in_.Options.Text(kTextErrorOccurred), result))
        return true;
    switch (message) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (!ownLook_)
            return false;
        SetBkColor(reinterpret_cast<HDC>(wParam), kOwnLookBackground);
        result = reinterpret_cast<INT_PTR>(background_);
        return true;
    case WM_PAINT:
        Paint();
        result = TRUE;
        return true;
    case WM_SIZE:
        if (wParam == SIZE_MAXIMIZED)
            geometry_.State = kWindowMaximised;
        else if (wParam == SIZE_MINIMIZED)
            geometry_.State = kWindowMinimised;
        else if (detailed_)
            geometry_.State = kWindowNormal;
        if (wParam != SIZE_MINIMIZED)
            LayOutControls();
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE)
            return false;
        Finish(true);
        result = TRUE;
        return true;
    case WM_CLOSE:
        // Handled here: the system's own handling would cancel.
        Finish(false);
        result = TRUE;
        return true;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->idFrom == IDC_KF_TABS &&
            reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE) {
            TouchIdleClose();
            const int tab = int(SendMessageA(Item(IDC_KF_TABS), TCM_GETCURSEL, 0, 0));
            ShowPage(ShownPages(in_.Options.Stored().LogFlags)[size_t(tab)]);
            return true;
        }
        return false;
    case WM_SETCURSOR:
        if (offers_.SupportLink && SetLinkCursor(Handle(), wParam, linkRect_)) {
            result = TRUE;
            return true;
        }
        return false;
    case WM_LBUTTONUP:
        if (offers_.SupportLink && OnLink(lParam, linkRect_))
            OpenSupportPage();
        return true;
    }
    return false;
}

// The choices reach the processing and the options; the pages' column widths are saved by
// the page itself.
void TDetailedDialog::Closing() {
    TDialogState& state = DialogState();
    StopIdleClose(Handle());
    StopKeepInFront(Handle());
    if (!state.Cancelled) {
        state.SendReport = sendWanted_ && offers_.Send && Checked(IDC_KF_SEND);
        state.AttachScreenshot = offers_.Screenshot && Checked(IDC_KF_SCREENSHOT);
    }
    state.CopyToClipboard = offers_.Copy && Checked(IDC_KF_COPY);
    uint16_t flags = in_.Options.Stored().DialogFlags;
    flags = uint16_t((flags & ~(DialogFlag::SendChecked | DialogFlag::ScreenshotChecked)) |
                     (Checked(IDC_KF_SEND) ? DialogFlag::SendChecked : 0) |
                     (Checked(IDC_KF_SCREENSHOT) ? DialogFlag::ScreenshotChecked : 0));
    in_.Options.SetDialogFlags(flags);
    page_.reset();
    if (detailed_) {
        RememberGeometry();
        SaveDialogGeometry(geometry_);
    }
}

} // namespace

void ShowDetailedDialog(const TErrorDialogInput& input) {
    TDetailedDialog dialog(input);
    dialog.Run();
}
