#include "reporter/core/processing/focus_window.h"
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
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    // A message rather than GetWindowText: another thread's edit still answers.
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 100, &copied))
        return {};
    return std::string(text, std::min<size_t>(copied, sizeof text - 1));
}

} // namespace

TFocusWindow FocusWindowOf(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    TFocusWindow focus;
    if (!GetGUIThreadInfo(threadId, &info) || !info.hwndFocus)
        return focus;
    HWND form = GetAncestor(info.hwndFocus, GA_ROOT);
    focus.FormClassName = WindowClassName(form);
    focus.FormText = WindowText(form);
    focus.ClassName = WindowClassName(info.hwndFocus);
    const LONG style = GetWindowLongA(info.hwndFocus, GWL_STYLE);
    const bool edit = IsEditClass(focus.ClassName);
    if (IsWindowUnicode(info.hwndFocus) || IsMemoClass(focus.ClassName) ||
        (edit && (style & ES_MULTILINE)))
        return focus;
    focus.Text = WindowText(info.hwndFocus);
    if (edit && (style & ES_PASSWORD))
        focus.Text.assign(focus.Text.size(), '*');
    return focus;
}
