#include "dialog_windows.h"

namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kReplyTimeoutMs = 5000;
// The message text of a message box sits in the static control with this id.
constexpr int kMessageTextId = 0xFFFF;

struct DialogSearch {
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK TakeDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<DialogSearch*>(context);
    if (!HasClass(window, "#32770") || !IsWindowVisible(window))
        return TRUE;
    if (!search->caption->empty() && TextOf(window) != *search->caption)
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

bool HasClass(HWND window, const char* name) {
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    return lstrcmpiA(cls, name) == 0;
}

HWND FindDialog(const std::string& caption) {
    DialogSearch search{&caption, nullptr};
    EnumWindows(TakeDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(const std::string& caption, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND dialog = FindDialog(caption))
            return dialog;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
        Sleep(kPollMs);
    }
}

bool WaitUntilGone(HWND dialog, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(dialog) && IsWindowVisible(dialog)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

// WM_GETTEXT is marshalled across processes; the kept text is not there for every control.
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

std::string MessageText(HWND dialog) {
    HWND text = GetDlgItem(dialog, kMessageTextId);
    if (text && HasClass(text, "Static"))
        return TextOf(text);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (HasClass(child, "Edit") && (GetWindowLongA(child, GWL_STYLE) & ES_READONLY) &&
            IsWindowVisible(child) && !TextOf(child).empty())
            return TextOf(child);
    }
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!HasClass(child, "Static"))
            continue;
        std::string shown = TextOf(child);
        if (!shown.empty())
            return shown;
    }
    return {};
}

HWND ControlWithText(HWND dialog, const std::string& text) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (TextOf(child) == text)
            return child;
    return nullptr;
}

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

HWND FocusedControl(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}
