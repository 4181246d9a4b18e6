// Drives the dialogs of another program as a user would, through window messages: waits for a
// dialog by its caption, types into its focused control, presses its keys and buttons, reads
// its controls and saves pictures of it. Each step is done in turn; progress goes to standard
// error, what a step reads to standard output.
#include "dialog_input.h"
#include "dialog_windows.h"
#include "window_bitmap.h"
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: ui_driver [--shots <folder>] <seconds> <step>...\n"
    "Each step waits at most <seconds>.\n"
    "  wait:<caption>     a visible dialog with this caption becomes the current one\n"
    "  type:<text>        typed into the current dialog's focused control, key by key\n"
    "  erase              backspace until the focused edit is empty\n"
    "  key:enter|escape   pressed in the focused control\n"
    "  press:<text>       a click on the current dialog's button with this text; it must be\n"
    "                     enabled\n"
    "  toggle:<text>      a click on the check box with this text, which changes its state\n"
    "  tab:<n>            the n-th tab (from 0) of the dialog's tab control is selected\n"
    "  focus:<n>          the n-th visible edit (from 0) of the dialog gets the focus\n"
    "  clickbeside:<text> a left click just right of the control with this text (a link the\n"
    "                     dialog draws beside its label)\n"
    "  rows               prints the number of rows of the shown list page\n"
    "  row:<n>            a click on the n-th row (from 0) of the shown list page\n"
    "  open:<n>           a double click on the n-th row of the shown list page\n"
    "  close              a close request to the dialog, as a program or a timer sends it\n"
    "  page               prints the text of the selected page's view, line breaks as \\n\n"
    "  read               prints the dialog and its controls, one line each (tab-separated)\n"
    "  shot:<name>        saves the dialog's picture as <folder>\\<name>.bmp\n"
    "  gone               waits until the current dialog has closed\n"
    "  answer[:<caption>] waits for a dialog (any without a caption), prints its caption and\n"
    "                     message on one line each, line breaks as \\n, and closes it with its\n"
    "                     default button\n"
    "Exit code: 0 when every step was done, 1 when a dialog did not come or go in time, 2 when\n"
    "a step could not be done or the command line is wrong.\n";

enum ExitCode { kDone = 0, kTimedOut = 1, kFailed = 2 };

// The controls of a report page: its information line and the view of the section.
constexpr int kPageTitleId = 102;
constexpr int kPageViewId = 103;

// Windows need a moment to show what they were told before a picture is taken.
constexpr DWORD kSettleMs = 300;
constexpr UINT kReplyMs = 5000;

struct Driver {
    DWORD timeoutMs;
    std::string shots;
    HWND dialog = nullptr;
};

std::string OneLine(const std::string& text) {
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        line += text[i] == '\r' || text[i] == '\n' ? std::string("\\n") : std::string(1, text[i]);
    }
    return line;
}

RECT ClientRectOf(HWND control, HWND dialog) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// What an edit allows and shows: its length limit and its password character.
std::string EditFields(HWND control) {
    if (!HasClass(control, "Edit"))
        return "-\t-";
    const auto mask = char(SendMessageA(control, EM_GETPASSWORDCHAR, 0, 0));
    return std::to_string(SendMessageA(control, EM_GETLIMITTEXT, 0, 0)) + "\t" +
           (mask ? std::string(1, mask) : std::string("-"));
}

const char* CheckState(HWND control) {
    if (!HasClass(control, "Button"))
        return "-";
    DWORD_PTR state = 0;
    SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_NORMAL, kReplyMs, &state);
    return state == BST_CHECKED ? "checked" : "unchecked";
}

// "dialog", caption, client size, window rectangle, screen size, default button,
// topmost|-; then per control "control", text, class, enabled|disabled, focused|-, rectangle in
// the client area, length limit and password character (edits only), visible|hidden,
// checked|unchecked (buttons; - for others).
void PrintDialog(HWND dialog) {
    RECT client{}, window{};
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &window);
    HWND defaultButton = DefaultButton(dialog);
    std::printf(
        "dialog\t%s\tclient %ldx%ld\twindow %ld,%ld,%ld,%ld\tscreen %dx%d\tdefault %s\t%s\n",
        OneLine(TextOf(dialog)).c_str(), client.right, client.bottom, window.left, window.top,
        window.right, window.bottom, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
        defaultButton ? OneLine(TextOf(defaultButton)).c_str() : "-",
        GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST ? "topmost" : "-");
    HWND focused = FocusedControl(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        const RECT r = ClientRectOf(child, dialog);
        std::printf("control\t%s\t%s\t%s\t%s\t%ld,%ld,%ld,%ld\t%s\t%s\t%s\n",
                    OneLine(TextOf(child)).c_str(), cls,
                    IsWindowEnabled(child) ? "enabled" : "disabled",
                    child == focused ? "focused" : "-", r.left, r.top, r.right, r.bottom,
                    EditFields(child).c_str(), IsWindowVisible(child) ? "visible" : "hidden",
                    CheckState(child));
    }
}

// The picture once the dialog has painted what it was last told.
bool Shot(const Driver& d, const std::string& name) {
    RedrawWindow(d.dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(kSettleMs);
    return SaveWindowBitmap(d.dialog, d.shots + "\\" + name + ".bmp");
}

int Answer(const Driver& d, const std::string& caption) {
    HWND box = WaitForDialog(caption, d.timeoutMs);
    if (!box)
        return kTimedOut;
    // Printed before the box is closed: whoever waits for its owner may rely on it.
    std::printf("%s\n%s\n", OneLine(TextOf(box)).c_str(), OneLine(MessageText(box)).c_str());
    std::fflush(stdout);
    HWND button = DefaultButton(box);
    if (!button) {
        std::fprintf(stderr, "ui_driver: the dialog has no button\n");
        return kFailed;
    }
    Click(box, button);
    return WaitUntilGone(box, d.timeoutMs) ? kDone : kTimedOut;
}

int Press(const Driver& d, const std::string& text) {
    HWND button = ControlWithText(d.dialog, text);
    if (!button || !IsWindowEnabled(button)) {
        std::fprintf(stderr, "ui_driver: no enabled button \"%s\"\n", text.c_str());
        return kFailed;
    }
    Click(d.dialog, button);
    return kDone;
}

// A click as the mouse gives it: a check box changes its state and tells its dialog.
int Toggle(const Driver& d, const std::string& text) {
    HWND box = ControlWithText(d.dialog, text);
    if (!box || !IsWindowEnabled(box)) {
        std::fprintf(stderr, "ui_driver: no enabled check box \"%s\"\n", text.c_str());
        return kFailed;
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutA(box, BM_CLICK, 0, 0, SMTO_NORMAL, kReplyMs, &result);
    return kDone;
}

HWND TabControl(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (HasClass(child, "SysTabControl32"))
            return child;
    return nullptr;
}

// The focus moved to the tab, as the keyboard does: the tab control selects it and tells the
// dialog.
int SelectTab(const Driver& d, const std::string& number) {
    HWND tabs = TabControl(d.dialog);
    if (!tabs) {
        std::fprintf(stderr, "ui_driver: the dialog has no tabs\n");
        return kFailed;
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutA(tabs, TCM_SETCURFOCUS, std::atoi(number.c_str()), 0, SMTO_NORMAL, kReplyMs,
                        &result);
    return kDone;
}

// The page shown: a child of the tab control.
HWND ShownPage(const Driver& d) {
    HWND tabs = TabControl(d.dialog);
    for (HWND page = tabs ? GetWindow(tabs, GW_CHILD) : nullptr; page;
         page = GetWindow(page, GW_HWNDNEXT))
        if (IsWindowVisible(page))
            return page;
    std::fprintf(stderr, "ui_driver: no page shown\n");
    return nullptr;
}

int PrintPage(const Driver& d) {
    HWND page = ShownPage(d);
    if (!page)
        return kFailed;
    std::printf("page\t%s\n%s\n", OneLine(TextOf(GetDlgItem(page, kPageTitleId))).c_str(),
                OneLine(TextOf(GetDlgItem(page, kPageViewId))).c_str());
    return kDone;
}

int PrintRows(const Driver& d) {
    HWND page = ShownPage(d);
    if (!page)
        return kFailed;
    DWORD_PTR count = 0;
    SendMessageTimeoutA(GetDlgItem(page, kPageViewId), LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL,
                        kReplyMs, &count);
    std::printf("rows\t%lu\n", static_cast<unsigned long>(count));
    return kDone;
}

// A click (or a double click) on the n-th row of the shown list page. The rows' places are
// worked out from the list's header and its rows per page: a list's item rectangles cannot be
// asked for from another process.
int ClickRow(const Driver& d, const std::string& number, bool twice) {
    HWND page = ShownPage(d);
    HWND view = page ? GetDlgItem(page, kPageViewId) : nullptr;
    if (!view)
        return kFailed;
    RECT header{}, client{};
    GetWindowRect(reinterpret_cast<HWND>(SendMessageA(view, LVM_GETHEADER, 0, 0)), &header);
    MapWindowPoints(nullptr, view, reinterpret_cast<POINT*>(&header), 2);
    GetClientRect(view, &client);
    DWORD_PTR perPage = 0;
    SendMessageTimeoutA(view, LVM_GETCOUNTPERPAGE, 0, 0, SMTO_NORMAL, kReplyMs, &perPage);
    const int rowHeight = perPage ? int(client.bottom - header.bottom) / int(perPage + 1) : 14;
    const int y = header.bottom + std::atoi(number.c_str()) * rowHeight + rowHeight / 2;
    // A list may follow a pressed button in a loop of its own until it finds the release in its
    // queue: the release is posted first, then the press and the release are handed over and
    // answered once handled (a list clicks once, on the first release it handles).
    const LPARAM where = MAKELPARAM(30, y);
    DWORD_PTR result = 0;
    PostMessageA(view, WM_LBUTTONUP, 0, where);
    SendMessageTimeoutA(view, twice ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, where,
                        SMTO_NORMAL, kReplyMs, &result);
    SendMessageTimeoutA(view, WM_LBUTTONUP, 0, where, SMTO_NORMAL, kReplyMs, &result);
    return kDone;
}

int FocusEdit(const Driver& d, const std::string& arg) {
    int left = std::atoi(arg.c_str());
    for (HWND c = GetWindow(d.dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!HasClass(c, "Edit") || !IsWindowVisible(c) || left-- > 0)
            continue;
        Focus(d.dialog, c);
        return kDone;
    }
    std::fprintf(stderr, "ui_driver: no visible edit %s\n", arg.c_str());
    return kFailed;
}

int ClickBeside(const Driver& d, const std::string& text) {
    HWND label = ControlWithText(d.dialog, text);
    if (!label || !IsWindowVisible(label)) {
        std::fprintf(stderr, "ui_driver: no visible control \"%s\"\n", text.c_str());
        return kFailed;
    }
    RECT r{};
    GetWindowRect(label, &r);
    MapWindowPoints(nullptr, d.dialog, reinterpret_cast<POINT*>(&r), 2);
    ClickAt(d.dialog, {r.right + 4, (r.top + r.bottom) / 2});
    return kDone;
}

int PressNamedKey(const Driver& d, const std::string& name) {
    const UINT key = name == "enter" ? VK_RETURN : name == "escape" ? VK_ESCAPE : 0;
    if (!key) {
        std::fprintf(stderr, "ui_driver: no key \"%s\"\n", name.c_str());
        return kFailed;
    }
    PressKey(FocusedControl(d.dialog), key);
    return kDone;
}

int Step(Driver& d, const std::string& step) {
    const size_t colon = step.find(':');
    const std::string name = step.substr(0, colon);
    const std::string arg = colon == std::string::npos ? "" : step.substr(colon + 1);
    if (name == "answer")
        return Answer(d, arg);
    if (name == "wait") {
        d.dialog = WaitForDialog(arg, d.timeoutMs);
        return d.dialog ? kDone : kTimedOut;
    }
    if (!d.dialog || !IsWindow(d.dialog)) {
        std::fprintf(stderr, "ui_driver: %s: no current dialog\n", step.c_str());
        return kFailed;
    }
    if (name == "type")
        TypeText(FocusedControl(d.dialog), arg);
    else if (name == "erase")
        EraseText(FocusedControl(d.dialog));
    else if (name == "key")
        return PressNamedKey(d, arg);
    else if (name == "press")
        return Press(d, arg);
    else if (name == "toggle")
        return Toggle(d, arg);
    else if (name == "tab")
        return SelectTab(d, arg);
    else if (name == "focus")
        return FocusEdit(d, arg);
    else if (name == "clickbeside")
        return ClickBeside(d, arg);
    else if (name == "rows")
        return PrintRows(d);
    else if (name == "row" || name == "open")
        return ClickRow(d, arg, name == "open");
    else if (name == "close")
        PostMessageA(d.dialog, WM_CLOSE, 0, 0);
    else if (name == "page")
        return PrintPage(d);
    else if (name == "read")
        PrintDialog(d.dialog);
    else if (name == "gone")
        return WaitUntilGone(d.dialog, d.timeoutMs) ? kDone : kTimedOut;
    else if (name == "shot" && d.shots.empty())
        std::fprintf(stderr, "ui_driver: no --shots folder; no picture taken\n");
    else if (name == "shot")
        return Shot(d, arg) ? kDone : kFailed;
    else {
        std::fprintf(stderr, "ui_driver: cannot do \"%s\"\n%s", step.c_str(), kUsage);
        return kFailed;
    }
    return kDone;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    Driver d{};
    if (args.size() >= 2 && args[0] == "--shots") {
        d.shots = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty() || std::atof(args[0].c_str()) <= 0) {
        std::fputs(kUsage, stderr);
        return kFailed;
    }
    d.timeoutMs = DWORD(std::atof(args[0].c_str()) * 1000);
    for (size_t i = 1; i < args.size(); ++i) {
        const int result = Step(d, args[i]);
        std::fflush(stdout);
        if (result != kDone) {
            std::fprintf(stderr, "ui_driver: %s: %s\n", args[i].c_str(),
                         result == kTimedOut ? "timed out" : "failed");
            return result;
        }
        std::fprintf(stderr, "ui_driver: done %s\n", args[i].c_str());
    }
    return kDone;
}
