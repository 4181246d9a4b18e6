#include "tables/login_dialog.h"
#include "resources/table_dialog_ids.h"
#include "runtime/application.h"
#include <algorithm>
#include <memory>

namespace {

// The engine keeps user names and passwords of at most this many characters.
constexpr int kMaxLoginText = 31;

RECT ClientRectOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int TextWidth(HWND control, const std::string& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

} // namespace

TLoginDialog::TLoginDialog(TComponent* owner, std::string databaseName, std::string userName)
    : TModalDialog(owner, IDD_LOGIN), databaseName_(std::move(databaseName)),
      userName_(std::move(userName)) {}

void TLoginDialog::InitDialog() {
    SetItemText(IDC_LOGIN_DATABASE, databaseName_);
    NarrowDatabaseLabel();
    SetItemText(IDC_LOGIN_USER, userName_);
    for (int edit : {IDC_LOGIN_USER, IDC_LOGIN_PASSWORD})
        SendMessageA(Item(edit), EM_LIMITTEXT, kMaxLoginText, 0);
    SendMessageA(Item(IDC_LOGIN_PASSWORD), EM_SETPASSWORDCHAR, '*', 0);
    FocusItem(userName_.empty() ? IDC_LOGIN_USER : IDC_LOGIN_PASSWORD);
}

void TLoginDialog::Command(int id, int code) {
    if (code != BN_CLICKED)
        return;
    if (id == IDOK) {
        userName_ = ItemText(IDC_LOGIN_USER);
        password_ = ItemText(IDC_LOGIN_PASSWORD);
        Close(IDOK);
    } else if (id == IDCANCEL) {
        Close(IDCANCEL);
    }
}

// As wide as the database name, but no wider than the panel leaves room for, keeping the
// panel's left margin on the right too.
void TLoginDialog::NarrowDatabaseLabel() {
    HWND label = Item(IDC_LOGIN_DATABASE);
    const RECT panel = ClientRectOf(Item(IDC_LOGIN_PANEL));
    const RECT caption = ClientRectOf(Item(IDC_LOGIN_DATABASE_LABEL));
    const RECT bounds = ClientRectOf(label);
    const int room = panel.right - (caption.left - panel.left) - bounds.left;
    const int width = std::min(TextWidth(label, databaseName_), room);
    SetWindowPos(label, nullptr, 0, 0, std::max(width, 0), bounds.bottom - bounds.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ShowLoginDialog(const std::string& databaseName, std::string& userName,
                     std::string& password) {
    auto dialog = std::make_unique<TLoginDialog>(Application, databaseName, userName);
    if (!dialog->Execute())
        return false;
    userName = dialog->UserName();
    password = dialog->Password();
    return true;
}
