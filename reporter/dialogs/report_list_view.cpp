#include "reporter/dialogs/report_list_view.h"
#include "reporter/core/options/ini_file_name.h"
#include "reporter/dialogs/dialog_drawing.h"
#include "reporter/dialogs/source_jump.h"

namespace {

constexpr char kColumnsSection[] = "Columns";
constexpr int kIconSize = 16;
constexpr COLORREF kIconMask = RGB(255, 0, 255);
// Colours of the rows (0x00BBGGRR).
constexpr COLORREF kSelectedFill = 0xF1DACC, kSelectedFrame = 0xC56A31;
constexpr COLORREF kHeaderFrame = 0xE2B598, kHeaderLine = 0xE0A47B, kGridLine = 0xC2CBCE;
constexpr COLORREF kWhite = RGB(255, 255, 255);
// The fold sign's place in a header row, and where the header's text starts.
constexpr int kSignOffset = 2, kHeaderTextLeft = 16;
constexpr int kCellMargin = 4;

HIMAGELIST ListIcons() {
    HIMAGELIST icons = ImageList_Create(kIconSize, kIconSize, ILC_COLOR24 | ILC_MASK, 4, 0);
    for (const char* name : {"KF_DLL", "KF_BPL", "KF_VCL", "KF_PAS"}) {
        HBITMAP bitmap = LoadReporterPicture(name);
        ImageList_AddMasked(icons, bitmap, kIconMask);
        DeleteObject(bitmap);
    }
    return icons;
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Frame(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
}

void BottomLine(HDC dc, const RECT& r, COLORREF colour) {
    Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, colour);
}

void Text(HDC dc, const std::string& text, RECT r, UINT format) {
    DrawTextA(dc, text.c_str(), int(text.size()), &r,
              format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

} // namespace

TReportListView::TReportListView(HWND view, TListContent content, const TDialogFonts& fonts)
    : view_(view), content_(std::move(content)), folded_(content_.Rows.size(), false) {
    SendMessageA(view_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.List), FALSE);
    SendMessageA(view_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SendMessageA(view_, LVM_SETBKCOLOR, 0, kWhite);
    icons_ = ListIcons();
    SendMessageA(view_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons_));
    plus_ = LoadReporterPicture("KF_PLUS");
    minus_ = LoadReporterPicture("KF_MINUS");
    AddColumns();
    Refill();
}

TReportListView::~TReportListView() {
    if (icons_)
        ImageList_Destroy(icons_);
    for (HBITMAP sign : {plus_, minus_})
        if (sign)
            DeleteObject(sign);
}

void TReportListView::AddColumns() {
    const std::string file = IniFileName();
    for (size_t i = 0; i < content_.Columns.size(); ++i) {
        TListColumn& c = content_.Columns[i];
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = c.RightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = int(GetPrivateProfileIntA(kColumnsSection, c.WidthKey.c_str(), c.DefaultWidth,
                                              file.c_str()));
        column.pszText = c.Title.data();
        SendMessageA(view_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

// The shown rows as items, each pointing at its row; the cells' texts are drawn from the rows.
void TReportListView::Refill() {
    SendMessageA(view_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(view_, LVM_DELETEALLITEMS, 0, 0);
    int index = 0;
    for (size_t row : VisibleRows(content_.Rows, folded_)) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index++;
        item.lParam = LPARAM(row);
        item.pszText = content_.Rows[row].Cells[0].data();
        SendMessageA(view_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(view_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(view_, nullptr, TRUE);
}

const TListRow* TReportListView::RowOfItem(int item) const {
    LVITEMA query{};
    query.mask = LVIF_PARAM;
    query.iItem = item;
    if (item < 0 || !SendMessageA(view_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)))
        return nullptr;
    const size_t row = size_t(query.lParam);
    return row < content_.Rows.size() ? &content_.Rows[row] : nullptr;
}

void TReportListView::Draw(const DRAWITEMSTRUCT& item) {
    const TListRow* row = RowOfItem(int(item.itemID));
    if (!row)
        return;
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    const bool selected = item.itemState & ODS_SELECTED;
    Fill(dc, r, selected ? kSelectedFill : kWhite);
    if (selected)
        Frame(dc, r, kSelectedFrame);
    else if (row->Header)
        Frame(dc, r, kHeaderFrame), BottomLine(dc, r, kHeaderLine);
    else if (!row->Spacer)
        BottomLine(dc, r, kGridLine);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    if (row->Header)
        DrawHeader(dc, r, *row, folded_[size_t(row - content_.Rows.data())]);
    else if (!row->Spacer)
        DrawCells(dc, r, *row);
}

void TReportListView::DrawHeader(HDC dc, const RECT& r, const TListRow& row, bool folded) {
    DrawPicture(dc, folded ? plus_ : minus_, r.left + kSignOffset, r.top + kSignOffset);
    Text(dc, row.Cells[0], {r.left + kHeaderTextLeft, r.top, r.right - kCellMargin, r.bottom},
         DT_LEFT);
}

void TReportListView::DrawCells(HDC dc, const RECT& r, const TListRow& row) {
    int left = r.left;
    for (size_t i = 0; i < content_.Columns.size() && i < row.Cells.size(); ++i) {
        const int width = int(SendMessageA(view_, LVM_GETCOLUMNWIDTH, i, 0));
        RECT cell{left + kCellMargin, r.top, left + width - kCellMargin, r.bottom};
        if (i == 0) {
            ImageList_Draw(icons_, row.Icon, dc, cell.left,
                           r.top + (r.bottom - r.top - kIconSize) / 2, ILD_TRANSPARENT);
            cell.left += kIconSize + kCellMargin;
        }
        Text(dc, row.Cells[i], cell, content_.Columns[i].RightAligned ? DT_RIGHT : DT_LEFT);
        left += width;
    }
}

void TReportListView::Clicked(int item) {
    const TListRow* row = RowOfItem(item);
    if (!row || !row->Header)
        return;
    const size_t index = size_t(row - content_.Rows.data());
    folded_[index] = !folded_[index];
    Refill();
}

void TReportListView::Activated(int item) {
    const TListRow* row = RowOfItem(item);
    if (row && content_.SourceRows && HasSourceLine(*row))
        SendSourceJump(*row);
}

void TReportListView::SaveColumnWidths() {
    const std::string file = IniFileName();
    for (size_t i = 0; i < content_.Columns.size(); ++i) {
        const auto width = SendMessageA(view_, LVM_GETCOLUMNWIDTH, i, 0);
        WritePrivateProfileStringA(kColumnsSection, content_.Columns[i].WidthKey.c_str(),
                                   std::to_string(width).c_str(), file.c_str());
    }
}
