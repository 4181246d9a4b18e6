#include "reporter/core/processing/focus_window.h"
#include <algorithm>
#include <cstring>

namespace {

bool IsEditClass(const std::string& className) {
    return _stricmp(className.c_str(), "Edit") == 0 || _stricmp(className.c_str(), "TEdit") == 0;
}

bool IsMemoClass(const std::string& className) {
    return _stricmp(className.c_str(), "TMemo") == 0 ||
           _stricmp(className.c_str(), "RichEdit20A") == 0 ||
           _stricmp(className.c_str(), "TRichEdit") == 0;
}

std::string WindowClassName(HWND window) {
    char name[257] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string ControlText(HWND window) {
    char text[1024] = {};
    // A message rather than GetWindowText: another thread's edit still answers.
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 100, &copied))
        return {};
    return std::string(text, std::min<size_t>(copied, sizeof text - 1));
}

// The text the system keeps for the window: no message reaches its thread, which may be the one
// that failed or one that hangs.
std::string FormText(HWND window) {
    char text[257] = {};
    const LRESULT copied =
        DefWindowProcA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return std::string(text, std::clamp<size_t>(size_t(copied), 0, sizeof text - 1));
}

void ReadForegroundForm(TFocusWindow& focus) {
    HWND form = GetForegroundWindow();
    if (!form)
        return;
    focus.FormClassName = WindowClassName(form);
    focus.FormText = FoldControlCharacters(FormText(form));
}

} // namespace

std::string FoldControlCharacters(const std::string& text) {
    std::string folded;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool control = static_cast<unsigned char>(text[i]) < 32;
        if (!control)
            folded += text[i];
        else if (i == 0 || static_cast<unsigned char>(text[i - 1]) >= 32)
            folded += ' ';
    }
    return folded;
}

TFocusWindow FocusWindowOf(DWORD threadId) {
    TFocusWindow focus;
    ReadForegroundForm(focus);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId, &info) || !info.hwndFocus)
        return focus;
    focus.ClassName = WindowClassName(info.hwndFocus);
    const LONG style = GetWindowLongA(info.hwndFocus, GWL_STYLE);
    const bool edit = IsEditClass(focus.ClassName);
    if (IsWindowUnicode(info.hwndFocus) || IsMemoClass(focus.ClassName) ||
        (edit && (style & ES_MULTILINE)))
        return focus;
    focus.Text = ControlText(info.hwndFocus);
    if (edit && (style & ES_PASSWORD))
        focus.Text.assign(focus.Text.size(), '*');
    else
        focus.Text = FoldControlCharacters(focus.Text);
    return focus;
}
