// One page of the detailed dialog, a child of its tab control: the report's general, assembler
// or CPU section as rich text, or the call stack, modules or processes as a list whose column
// widths are kept in the state file.
#pragma once
#include "reporter/dialogs/dialog_fonts.h"
#include "reporter/dialogs/error_dialog_input.h"
#include "reporter/dialogs/page_lists.h"
#include "reporter/dialogs/report_pages.h"
#include <commctrl.h>
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
    void SaveColumnWidths();

    TReportPage page_;
    HWND tabs_;
    HWND window_ = nullptr;
    HIMAGELIST icons_ = nullptr;
    TListContent list_;
};
