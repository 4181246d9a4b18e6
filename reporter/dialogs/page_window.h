// One page of the detailed dialog, a child of its tab control: the report's general, assembler
// or CPU section as rich text, or the call stack, modules or processes as a list.
#pragma once
#include "reporter/core/processing/error_dialog_input.h"
#include "reporter/dialogs/dialog_fonts.h"
#include "reporter/dialogs/report_list_view.h"
#include "reporter/dialogs/report_pages.h"
#include <memory>
#include <windows.h>

class TPageWindow {
  public:
    // Raises when the page's window could not be made.
    TPageWindow(TReportPage page, HWND tabs, const TErrorDialogInput& input,
                const TDialogFonts& fonts);
    // A list page writes its column widths back.
    ~TPageWindow();
    TPageWindow(const TPageWindow&) = delete;
    TPageWindow& operator=(const TPageWindow&) = delete;

    void Show(bool shown);
    // Takes the tab control's display area.
    void Fit();

  private:
    void FillText(const TErrorDialogInput& input, const TDialogFonts& fonts);
    void FillList(const TErrorDialogInput& input, const TDialogFonts& fonts);

    TReportPage page_;
    HWND tabs_;
    HWND window_ = nullptr;
    std::unique_ptr<TReportListView> list_;
};
