// Drives the dialogs of another program as a user would, through window messages: waits for a
// dialog by its caption, types into its focused control, presses its keys and buttons, reads
// its controls and saves pictures of it. Each step is done in turn; progress goes to standard
// error, what a step reads to standard output.
#include "dialog_input.h"
#include "dialog_windows.h"
#include "window_bitmap.h"
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
    "  read               prints the dialog and its controls, one line each (tab-separated)\n"
    "  shot:<name>        saves the dialog's picture as <folder>\\<name>.bmp\n"
    "  gone               waits until the current dialog has closed\n"
    "  answer[:<caption>] waits for a dialog (any without a caption), prints its caption and\n"
    "                     message on one line each, line breaks as \\n, and closes it with its\n"
    "                     default button\n"
    "Exit code: 0 when every step was done, 1 when a dialog did not come or go in time, 2 when\n"
    "a step could not be done or the command line is wrong.\n";

enum ExitCode { kDone = 0, kTimedOut = 1, kFailed = 2 };

// Windows need a moment to show what they were told before a picture is taken.
constexpr DWORD kSettleMs = 300;

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

// "dialog", caption, client size, window rectangle, screen size, default button; then per
// control "control", text, class, enabled|disabled, focused|-, rectangle in the client area,
// length limit and password character (edits only).
void PrintDialog(HWND dialog) {
    RECT client{}, window{};
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &window);
    HWND defaultButton = DefaultButton(dialog);
    std::printf("dialog\t%s\tclient %ldx%ld\twindow %ld,%ld,%ld,%ld\tscreen %dx%d\tdefault %s\n",
                OneLine(TextOf(dialog)).c_str(), client.right, client.bottom, window.left,
                window.top, window.right, window.bottom, GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN),
                defaultButton ? OneLine(TextOf(defaultButton)).c_str() : "-");
    HWND focused = FocusedControl(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        const RECT r = ClientRectOf(child, dialog);
        std::printf(
            "control\t%s\t%s\t%s\t%s\t%ld,%ld,%ld,%ld\t%s\n", OneLine(TextOf(child)).c_str(), cls,
            IsWindowEnabled(child) ? "enabled" : "disabled", child == focused ? "focused" : "-",
            r.left, r.top, r.right, r.bottom, EditFields(child).c_str());
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
