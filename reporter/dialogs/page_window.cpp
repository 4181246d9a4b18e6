#include "reporter/dialogs/page_window.h"
#include "reporter/core/options/ini_file_name.h"
#include "reporter/core/report/report_sections.h"
#include "reporter/dialogs/report_rtf.h"
#include "reporter/dialogs/reporter_dialog.h"
#include "reporter_dialog_ids.h"
#include "runtime/exception.h"
#include <commctrl.h>
#include <richedit.h>

namespace {

constexpr char kColumnsSection[] = "Columns";
constexpr int kIconSize = 16;
constexpr COLORREF kIconMask = RGB(255, 0, 255);

INT_PTR CALLBACK PageProcedure(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

struct TStreamSource {
    const std::string* Text;
    size_t Offset;
};

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
    auto* source = reinterpret_cast<TStreamSource*>(cookie);
    const size_t left = source->Text->size() - source->Offset;
    const size_t count = std::min(left, size_t(size));
    std::copy_n(source->Text->data() + source->Offset, count, buffer);
    source->Offset += count;
    *read = LONG(count);
    return 0;
}

int PixelWidth(HFONT font, const std::string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

std::string SectionRtf(TReportPage page, const TErrorDialogInput& in, const TRtfFont& font) {
    switch (page) {
    case TReportPage::Assembler:
        return AssemblerSectionRtf(AssemblerSection(in.Options, in.Data), font);
    case TReportPage::Cpu:
        return CpuSectionRtf(CpuSection(in.Options, in.Data), font);
    default:
        return GeneralSectionRtf(GeneralSection(in.Options, in.Data), font);
    }
}

TListContent ListOf(TReportPage page, const TErrorDialogInput& in) {
    switch (page) {
    case TReportPage::Modules:
        return ModulesList(in.Options, in.Data);
    case TReportPage::Processes:
        return ProcessesList(in.Options, in.Data);
    default:
        return CallStackList(in.Options, in.Data);
    }
}

HIMAGELIST ListIcons() {
    HIMAGELIST icons = ImageList_Create(kIconSize, kIconSize, ILC_COLOR24 | ILC_MASK, 4, 0);
    for (const char* name : {"KF_DLL", "KF_BPL", "KF_VCL", "KF_PAS"}) {
        auto bitmap = static_cast<HBITMAP>(
            LoadImageA(ReporterResources(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ImageList_AddMasked(icons, bitmap, kIconMask);
        DeleteObject(bitmap);
    }
    return icons;
}

} // namespace

TPageWindow::TPageWindow(TReportPage page, HWND tabs, const TErrorDialogInput& input,
                         const TDialogFonts& fonts)
    : page_(page), tabs_(tabs) {
    window_ = CreateDialogParamA(ReporterResources(), PageTemplate(page), tabs, PageProcedure, 0);
    if (!window_)
        throw Exception("The page \"" + std::string(PageTemplate(page)) + "\" could not be made.");
    SendDlgItemMessageA(window_, IDC_KF_PAGE_TITLE, WM_SETFONT,
                        reinterpret_cast<WPARAM>(fonts.Dialog), FALSE);
    SetDlgItemTextA(window_, IDC_KF_PAGE_TITLE, input.Options.Text(PageTitleText(page)).c_str());
    if (IsTextPage(page))
        FillText(input, fonts);
    else
        FillList(input, fonts);
    Fit();
    Show(IsWindowVisible(tabs));
}

TPageWindow::~TPageWindow() {
    if (!IsTextPage(page_))
        SaveColumnWidths();
    DestroyWindow(window_);
    if (icons_)
        ImageList_Destroy(icons_);
}

void TPageWindow::FillText(const TErrorDialogInput& input, const TDialogFonts& fonts) {
    HWND view = GetDlgItem(window_, IDC_KF_PAGE_VIEW);
    SendMessageA(view, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Text), FALSE);
    SendMessageA(view, EM_SETBKGNDCOLOR, 0, RGB(255, 255, 255));
    const TRtfFont font{fonts.Charset, fonts.TextFace, fonts.Size,
                        PixelWidth(fonts.Text, std::string(21, '-'))};
    const std::string rtf = SectionRtf(page_, input, font);
    TStreamSource source{&rtf, 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadRtf};
    SendMessageA(view, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

void TPageWindow::FillList(const TErrorDialogInput& input, const TDialogFonts& fonts) {
    HWND view = GetDlgItem(window_, IDC_KF_PAGE_VIEW);
    SendMessageA(view, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.List), FALSE);
    SendMessageA(view, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SendMessageA(view, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(view, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(view, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
    icons_ = ListIcons();
    SendMessageA(view, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(icons_));
    list_ = ListOf(page_, input);
    const std::string file = IniFileName();
    for (size_t i = 0; i < list_.Columns.size(); ++i) {
        TListColumn& c = list_.Columns[i];
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = c.RightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = int(GetPrivateProfileIntA(kColumnsSection, c.WidthKey.c_str(), c.DefaultWidth,
                                              file.c_str()));
        column.pszText = c.Title.data();
        SendMessageA(view, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    int index = 0;
    for (TListRow& row : list_.Rows) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | (row.Header || row.Spacer ? 0 : LVIF_IMAGE);
        item.iItem = index;
        item.iImage = row.Icon;
        item.pszText = row.Cells[0].data();
        SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (size_t cell = 1; cell < row.Cells.size(); ++cell) {
            item.mask = LVIF_TEXT;
            item.iSubItem = int(cell);
            item.pszText = row.Cells[cell].data();
            SendMessageA(view, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
        }
        ++index;
    }
}

void TPageWindow::SaveColumnWidths() {
    HWND view = GetDlgItem(window_, IDC_KF_PAGE_VIEW);
    const std::string file = IniFileName();
    for (size_t i = 0; i < list_.Columns.size(); ++i) {
        const auto width = SendMessageA(view, LVM_GETCOLUMNWIDTH, i, 0);
        WritePrivateProfileStringA(kColumnsSection, list_.Columns[i].WidthKey.c_str(),
                                   std::to_string(width).c_str(), file.c_str());
    }
}

void TPageWindow::Show(bool shown) {
    ShowWindow(window_, shown ? SW_SHOW : SW_HIDE);
}

// The tab's display area, one pixel up and three left; the view below the information line.
void TPageWindow::Fit() {
    RECT area{};
    GetClientRect(tabs_, &area);
    SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    area.left -= 3;
    area.top -= 1;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    SetWindowPos(window_, nullptr, area.left, area.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(window_, IDC_KF_PAGE_TITLE), nullptr, 3, 3, width - 8, 14,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(GetDlgItem(window_, IDC_KF_PAGE_VIEW), nullptr, 3, 20, width - 8, height - 24,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
