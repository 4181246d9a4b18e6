#include "reporter/dialogs/classic_dialog.h"
#include "reporter/core/options/ini_file_name.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/processing/dialog_state.h"
#include "reporter/core/processing/processing_state.h"
#include "reporter/core/report/report_fields.h"
#include "reporter/dialogs/classic_layout.h"
#include "reporter/dialogs/dialog_drawing.h"
#include "reporter/dialogs/dialog_fonts.h"
#include "reporter/dialogs/dialog_placement.h"
#include "reporter/dialogs/dialog_timers.h"
#include "reporter/dialogs/reporter_dialog.h"
#include "reporter_dialog_ids.h"
#include "runtime/text.h"

namespace {

constexpr int kTerminateAction = 1;
constexpr int kMailClientOnly = 1;
constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr char kUserSection[] = "User";
constexpr char kEmailKey[] = "Email";
constexpr char kEmailField[] = "3.3";
constexpr int kReadBuffer = 2048;

std::string WithoutAmpersands(std::string text) {
    std::erase(text, '&');
    return text;
}

std::string SavedEmail() {
    char value[kReadBuffer] = "";
    GetPrivateProfileStringA(kUserSection, kEmailKey, "", value, sizeof value,
                             IniFileName().c_str());
    return value;
}

// How the dialog is left: what the button or request asked for.
struct TClosing {
    int Kind = kNoDialog;
    bool Send = false;
    bool Cancelled = false;
    // No one is there to be told that the address is not valid: it is dropped.
    bool Unattended = false;
};

class TClassicDialog : public TReporterDialog {
  public:
    explicit TClassicDialog(const TErrorDialogInput& input)
        : TReporterDialog("KF_MS_DIALOG"), in_(input), flags_(input.Options.Stored().DialogFlags) {}
    ~TClassicDialog() override;

  protected:
    void Init() override;
    void Command(int id, int code) override;
    bool Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void Closing() override;

  private:
    void DecideRows();
    void SetTexts();
    void SetFonts();
    TClassicMeasures Measure() const;
    void LayOut();
    void Paint();
    bool KeepEmail(bool unattended);
    void Finish(const TClosing& closing);

    const TErrorDialogInput& in_;
    const uint16_t flags_;
    bool sendOffered_ = false;
    TClassicRows rows_;
    TDialogFonts fonts_;
    HBITMAP picture_ = nullptr;
    HBRUSH white_ = nullptr;
    RECT linkRect_{};
    // The invalid-address message is up: further close requests wait for it.
    bool askingEmail_ = false;
};

TClassicDialog::~TClassicDialog() {
    FreeDialogFonts(fonts_);
    if (picture_)
        DeleteObject(picture_);
    if (white_)
        DeleteObject(white_);
}

void TClassicDialog::DecideRows() {
    const TVessarStoredOptions& o = in_.Options.Stored();
    sendOffered_ =
        (o.MailMethod || o.WebMethod) && !in_.SendingBlocked && (flags_ & DialogFlag::OfferSend);
    rows_.Terminate = o.TerminateButtonAction != 0 && in_.ExceptionCount > o.TerminateButtonAfter;
    rows_.SendTexts = sendOffered_;
    rows_.Link = flags_ & DialogFlag::ShowDetails;
    rows_.Reproduce = o.LogFlags & LogFlag::ReproduceSection;
    rows_.Email = sendOffered_ && (o.MailMethod != kMailClientOnly || o.WebMethod);
    rows_.Help = flags_ & DialogFlag::ShowHelp;
    rows_.Send = sendOffered_;
}

void TClassicDialog::SetTexts() {
    const TVessarModuleOptions& o = in_.Options;
    SetWindowTextA(Handle(), o.Text(kTextErrorOccurred).c_str());
    SetItemText(IDC_MS_HEADER, o.Text(kTextClassicProblem));
    SetItemText(IDC_MS_MESSAGE, in_.Message);
    SetItemText(IDC_MS_TERMINATE,
                o.Text(o.Stored().TerminateButtonAction == kTerminateAction ? kTextClassicTerminate
                                                                            : kTextClassicRestart));
    SetItemText(IDC_MS_TELL_US, o.Text(kTextClassicTellUs));
    SetItemText(IDC_MS_REPORT_CREATED, o.Text(kTextClassicReportCreated));
    SetItemText(IDC_MS_SEE_DATA, o.Text(kTextClassicSeeData) + " ");
    SetItemText(IDC_MS_WHAT_DOING, o.Text(kTextClassicWhatDoing));
    SetItemText(IDC_MS_REPRODUCE, o.ReproduceText());
    SetItemText(IDC_MS_EMAIL_LABEL, o.Text(kTextClassicEmailAddress) + " ");
    SetItemText(IDC_MS_EMAIL, SavedEmail());
    SetItemText(IDC_MS_HELP, o.Text(kTextButtonHelp));
    SetItemText(IDC_MS_SEND, o.Text(kTextClassicSendReport));
    const bool askToSend = sendOffered_ && DialogState().SendReport;
    SetItemText(IDC_MS_DONT_SEND, o.Text(askToSend ? kTextClassicDontSend : kTextButtonOk));
}

void TClassicDialog::SetFonts() {
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Dialog), FALSE);
    SendMessageA(Item(IDC_MS_HEADER), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Bold), FALSE);
    SendMessageA(Item(IDC_MS_TELL_US), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Bold), FALSE);
    SendMessageA(Item(IDC_MS_REPRODUCE), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Text), FALSE);
}

TClassicMeasures TClassicDialog::Measure() const {
    const TVessarModuleOptions& o = in_.Options;
    auto height = [this](HFONT font, const std::string& text, int width) {
        return int(TextSize(Handle(), font, text, width).cy);
    };
    auto width = [this](HFONT font, const std::string& text) {
        return int(TextSize(Handle(), font, text, 0).cx);
    };
    const int line = height(fonts_.Dialog, "Ag", 0);
    TClassicMeasures m;
    m.Header = height(fonts_.Bold, o.Text(kTextClassicProblem), 356);
    // The read-only edit keeps a margin at each side.
    m.Message = height(fonts_.Dialog, in_.Message, 397 - 8) + 4;
    m.Terminate = line + 4;
    m.TellUs = height(fonts_.Bold, o.Text(kTextClassicTellUs), 397);
    m.ReportCreated = height(fonts_.Dialog, o.Text(kTextClassicReportCreated), 397);
    m.SeeData = line;
    m.SeeDataWidth = width(fonts_.Dialog, o.Text(kTextClassicSeeData) + " ");
    m.LinkWidth = width(fonts_.Underlined, o.Text(kTextClassicClickHere));
    m.WhatDoing = height(fonts_.Dialog, o.Text(kTextClassicWhatDoing), 397);
    m.FixedLine = height(fonts_.Text, "Ag", 0);
    m.EmailLabel = line;
    m.EmailLabelWidth = width(fonts_.Dialog, o.Text(kTextClassicEmailAddress) + " ");
    m.ButtonHeight = line + 4 * GetSystemMetrics(SM_CYBORDER) + 6;
    m.SendWidth =
        ClassicButtonWidth(width(fonts_.Dialog, WithoutAmpersands(ItemText(IDC_MS_SEND))));
    m.DontSendWidth =
        ClassicButtonWidth(width(fonts_.Dialog, WithoutAmpersands(ItemText(IDC_MS_DONT_SEND))));
    m.HelpWidth =
        ClassicButtonWidth(width(fonts_.Dialog, WithoutAmpersands(ItemText(IDC_MS_HELP))));
    return m;
}

void TClassicDialog::LayOut() {
    const TClassicLayout l = LayOutClassic(rows_, Measure());
    const std::pair<int, const RECT*> placed[] = {{IDC_MS_HEADER, &l.Header},
                                                  {IDC_MS_MESSAGE, &l.Message},
                                                  {IDC_MS_TERMINATE, &l.Terminate},
                                                  {IDC_MS_TELL_US, &l.TellUs},
                                                  {IDC_MS_REPORT_CREATED, &l.ReportCreated},
                                                  {IDC_MS_SEE_DATA, &l.SeeData},
                                                  {IDC_MS_WHAT_DOING, &l.WhatDoing},
                                                  {IDC_MS_REPRODUCE, &l.Reproduce},
                                                  {IDC_MS_EMAIL_LABEL, &l.EmailLabel},
                                                  {IDC_MS_EMAIL, &l.Email},
                                                  {IDC_MS_HELP, &l.Help},
                                                  {IDC_MS_SEND, &l.Send},
                                                  {IDC_MS_DONT_SEND, &l.DontSend}};
    for (const auto& [id, rect] : placed)
        Place(Item(id), *rect);
    ShowItem(IDC_MS_TERMINATE, rows_.Terminate);
    ShowItem(IDC_MS_TELL_US, rows_.SendTexts);
    ShowItem(IDC_MS_REPORT_CREATED, rows_.SendTexts);
    ShowItem(IDC_MS_SEE_DATA, rows_.Link);
    ShowItem(IDC_MS_WHAT_DOING, rows_.Reproduce);
    ShowItem(IDC_MS_REPRODUCE, rows_.Reproduce);
    ShowItem(IDC_MS_EMAIL_LABEL, rows_.Email);
    ShowItem(IDC_MS_EMAIL, rows_.Email);
    ShowItem(IDC_MS_HELP, rows_.Help);
    ShowItem(IDC_MS_SEND, rows_.Send);
    EnableWindow(Item(IDC_MS_SEND), rows_.Send);
    linkRect_ = rows_.Link ? l.Link : RECT{};
    RECT window{0, 0, kClassicWindowWidth, 0};
    RECT client{0, 0, 0, l.ClientHeight};
    AdjustWindowRectEx(&client, DWORD(GetWindowLongA(Handle(), GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongA(Handle(), GWL_EXSTYLE)));
    window.bottom = client.bottom - client.top;
    SetWindowPos(Handle(), nullptr, 0, 0, window.right, window.bottom,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    CentreWindow(Handle(), ActiveMonitorWorkArea());
}

void TClassicDialog::Init() {
    DialogState().Repeated = true;
    if (flags_ & DialogFlag::TopMost)
        SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    fonts_ = MakeDialogFonts();
    picture_ = LoadReporterPicture("KF_ERROR");
    white_ = CreateSolidBrush(RGB(255, 255, 255));
    DecideRows();
    SetTexts();
    SetFonts();
    Check(IDC_MS_TERMINATE, false);
    LayOut();
    const int focus = sendOffered_ ? IDC_MS_SEND : IDC_MS_DONT_SEND;
    SendMessageA(Handle(), DM_SETDEFID, WPARAM(focus), 0);
    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(focus)), TRUE);
    StartIdleClose(Handle(), in_.Options.Stored().DialogAutoCloseSeconds);
    StartKeepInFront(Handle());
}

void TClassicDialog::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    HGDIOBJ oldBrush = SelectObject(dc, white_);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, 0, 0, kClassicBandWidth, kClassicBandHeight);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DrawPicture(dc, picture_, kClassicPictureLeft, kClassicPictureTop);
    if (rows_.Link)
        DrawLink(dc, fonts_.Underlined, kLinkColour, linkRect_,
                 in_.Options.Text(kTextClassicClickHere), DT_LEFT);
    EndPaint(Handle(), &ps);
}

// The address typed is kept when it looks like one. A person is told when it does not and the
// dialog stays; without a person (the idle close, a cancel) it is dropped and the dialog goes.
bool TClassicDialog::KeepEmail(bool unattended) {
    if (!rows_.Email)
        return true;
    const std::string address = Trim(ItemText(IDC_MS_EMAIL));
    if (address.empty())
        return true;
    if (!IsAcceptableEmail(address)) {
        if (unattended)
            return true;
        askingEmail_ = true;
        MessageBoxA(Handle(), in_.Options.Text(kTextInvalidEmail).c_str(),
                    in_.Options.Text(kTextError).c_str(), MB_OK | MB_ICONERROR);
        askingEmail_ = false;
        return false;
    }
    WritePrivateProfileStringA(kUserSection, kEmailKey, address.c_str(), IniFileName().c_str());
    if (in_.Report.find(std::string("\r\n  ") + kEmailField + " ") != std::string::npos)
        in_.Report = WithFieldValue(in_.Report, kEmailField, address,
                                    in_.Options.Text(kTextGeneralUserEmail));
    return true;
}

void TClassicDialog::Finish(const TClosing& closing) {
    if (askingEmail_ || !KeepEmail(closing.Unattended || closing.Cancelled))
        return;
    if (rows_.Reproduce)
        in_.Options.SetReproduceText(Trim(ItemText(IDC_MS_REPRODUCE)));
    ProcessingState().TerminateRequested =
        (ProcessingState().TerminateRequested || Checked(IDC_MS_TERMINATE)) && !closing.Cancelled;
    TDialogState& state = DialogState();
    state.Kind = closing.Kind;
    state.SendReport = closing.Send;
    state.Cancelled = closing.Cancelled;
    End();
}

void TClassicDialog::Command(int id, int code) {
    if (code != BN_CLICKED)
        return;
    const bool sending = DialogState().SendReport;
    switch (id) {
    case IDC_MS_SEND:
        Finish({.Send = true});
        break;
    case IDC_MS_DONT_SEND:
        // "OK" without an offer keeps the default decision.
        Finish({.Send = sending && !sendOffered_});
        break;
    case IDC_MS_HELP:
        if (in_.HelpClicked && in_.HelpClicked())
            Finish({.Send = sending});
        break;
    case IDCANCEL:
        Finish({.Send = false, .Cancelled = true});
        break;
    }
}

bool TClassicDialog::Message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_PAINT:
        Paint();
        result = TRUE;
        return true;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) != Item(IDC_MS_HEADER))
            return false;
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        result = reinterpret_cast<INT_PTR>(white_);
        return true;
    case WM_CLOSE:
        // Handled here: the system's own handling would cancel.
        Finish({.Send = DialogState().SendReport, .Unattended = IsIdleCloseRequest(lParam)});
        result = TRUE;
        return true;
    case WM_SETCURSOR:
        if (rows_.Link && SetLinkCursor(Handle(), wParam, linkRect_)) {
            result = TRUE;
            return true;
        }
        return false;
    case WM_LBUTTONUP:
        if (rows_.Link && OnLink(lParam, linkRect_))
            Finish({.Kind = kDetailedDialog, .Send = DialogState().SendReport});
        return true;
    }
    return false;
}

void TClassicDialog::Closing() {
    StopIdleClose(Handle());
    StopKeepInFront(Handle());
}

} // namespace

void ShowClassicDialog(const TErrorDialogInput& input) {
    TClassicDialog dialog(input);
    dialog.Run();
}
