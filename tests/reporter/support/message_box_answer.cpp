#include "tests/reporter/support/message_box_answer.h"
#include <windows.h>

namespace {

constexpr DWORD kPollMs = 20;

// A box's message is its static control with text (the icon's has none).
BOOL CALLBACK TakeMessageText(HWND control, LPARAM text) {
    char className[16] = {};
    char buffer[1024] = {};
    GetClassNameA(control, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0 || GetWindowTextA(control, buffer, sizeof buffer) == 0)
        return TRUE;
    *reinterpret_cast<std::string*>(text) = buffer;
    return FALSE;
}

HWND BoxOfThisProcess(const std::string& caption) {
    HWND box = FindWindowA("#32770", caption.c_str());
    DWORD process = 0;
    GetWindowThreadProcessId(box, &process);
    return box && process == GetCurrentProcessId() ? box : nullptr;
}

} // namespace

TMessageBoxAnswer::TMessageBoxAnswer(std::string caption, int button)
    : watcher_([this, caption, button] { Watch(caption, button); }) {}

TMessageBoxAnswer::~TMessageBoxAnswer() {
    Text();
}

std::string TMessageBoxAnswer::Text() {
    stop_ = true;
    if (watcher_.joinable())
        watcher_.join();
    return text_;
}

void TMessageBoxAnswer::Watch(const std::string& caption, int button) {
    while (!stop_) {
        if (HWND box = BoxOfThisProcess(caption)) {
            EnumChildWindows(box, TakeMessageText, reinterpret_cast<LPARAM>(&text_));
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
            return;
        }
        Sleep(kPollMs);
    }
}
