// Waits for a dialog box (window class "#32770") to appear on the desktop, prints its caption
// and its message text on one line each, and closes it with its default button, as a user
// would. Line breaks inside the message are printed as "\n".
//   dialog_answer <seconds>
// Exit code: 0 when a dialog was read and closed, 1 when none appeared in time, 2 when it
// would not close or the command line is wrong.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <windows.h>

namespace {

// The message text of a message box sits in the static control with this id.
constexpr int kMessageTextId = 0xFFFF;
constexpr UINT kReplyTimeoutMs = 5000;

bool HasClass(HWND window, const char* name) {
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    return lstrcmpiA(cls, name) == 0;
}

BOOL CALLBACK TakeVisibleDialog(HWND window, LPARAM found) {
    if (!HasClass(window, "#32770") || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND FindDialog() {
    HWND found = nullptr;
    EnumWindows(TakeVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The text the system keeps for the window, read without a message; failing that, asked of the
// window itself (WM_GETTEXT is marshalled across processes).
std::string TextOf(HWND window) {
    char kept[1024] = {};
    if (GetWindowTextA(window, kept, sizeof kept) > 0)
        return kept;
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kReplyTimeoutMs, &length))
        return {};
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                             SMTO_NORMAL, kReplyTimeoutMs, &copied))
        return {};
    text.resize(copied);
    return text;
}

// The message box's text control, else the first static control that shows text (an icon's
// static control has none).
std::string MessageText(HWND dialog) {
    HWND text = GetDlgItem(dialog, kMessageTextId);
    if (text && HasClass(text, "Static"))
        return TextOf(text);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!HasClass(child, "Static"))
            continue;
        std::string shown = TextOf(child);
        if (!shown.empty())
            return shown;
    }
    return {};
}

std::string OneLine(const std::string& text) {
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        line += text[i] == '\r' || text[i] == '\n' ? std::string("\\n") : std::string(1, text[i]);
    }
    return line;
}

// The default button's id, else OK's, else the first button's.
HWND DefaultButton(HWND dialog) {
    DWORD_PTR reply = 0;
    if (SendMessageTimeoutA(dialog, DM_GETDEFID, 0, 0, SMTO_NORMAL, kReplyTimeoutMs, &reply) &&
        HIWORD(reply) == DC_HASDEFID) {
        if (HWND button = GetDlgItem(dialog, LOWORD(reply)))
            return button;
    }
    if (HWND ok = GetDlgItem(dialog, IDOK))
        return ok;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (HasClass(child, "Button"))
            return child;
    return nullptr;
}

bool WaitUntilGone(HWND dialog, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(dialog) && IsWindowVisible(dialog)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::atof(argv[1]) <= 0) {
        std::fprintf(stderr, "usage: dialog_answer <seconds>\n");
        return 2;
    }
    const DWORD timeoutMs = DWORD(std::atof(argv[1]) * 1000);
    const DWORD start = GetTickCount();
    HWND dialog = nullptr;
    while (!(dialog = FindDialog())) {
        if (GetTickCount() - start >= timeoutMs)
            return 1;
        Sleep(100);
    }
    // Printed before the dialog is closed: whoever waits for its owner may rely on it.
    std::printf("%s\n%s\n", OneLine(TextOf(dialog)).c_str(), OneLine(MessageText(dialog)).c_str());
    std::fflush(stdout);

    HWND button = DefaultButton(dialog);
    if (!button) {
        std::fprintf(stderr, "dialog_answer: the dialog has no button\n");
        return 2;
    }
    // What a click on the button sends its dialog.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    if (!WaitUntilGone(dialog, 10000)) {
        std::fprintf(stderr, "dialog_answer: the dialog did not close\n");
        return 2;
    }
    return 0;
}
