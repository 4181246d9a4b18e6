#include "reporter/dialogs/page_window.h"
#include "reporter/core/report/report_sections.h"
#include "reporter/dialogs/report_rtf.h"
#include "reporter/dialogs/reporter_dialog.h"
#include "reporter_dialog_ids.h"
#include "runtime/exception.h"
#include <commctrl.h>
#include <richedit.h>

namespace {

// A list page draws its view's rows and hears its clicks.
INT_PTR CALLBACK PageProcedure(HWND page, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(page, DWLP_USER, lParam);
        return TRUE;
    }
    auto* list = reinterpret_cast<TReportListView*>(GetWindowLongPtrA(page, DWLP_USER));
    if (!list)
        return FALSE;
    if (message == WM_DRAWITEM) {
        list->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    if (message != WM_NOTIFY || reinterpret_cast<NMHDR*>(lParam)->idFrom != IDC_KF_PAGE_VIEW)
        return FALSE;
    const auto* activation = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
    if (activation->hdr.code == NM_CLICK)
        list->Clicked(activation->iItem);
    else if (activation->hdr.code == NM_DBLCLK)
        list->Activated(activation->iItem);
    return FALSE;
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
    if (list_)
        list_->SaveColumnWidths();
    DestroyWindow(window_);
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
    list_ = std::make_unique<TReportListView>(GetDlgItem(window_, IDC_KF_PAGE_VIEW),
                                              ListOf(page_, input), fonts);
    SetWindowLongPtrA(window_, DWLP_USER, reinterpret_cast<LONG_PTR>(list_.get()));
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
