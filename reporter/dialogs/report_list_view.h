// A list page's view: the report's rows drawn by the page itself (colours of their own, thread
// headers with a fold sign), folding and unfolding a thread's block, the jump from a call-stack
// row to its source, and the column widths kept in the state file.
#pragma once
#include "reporter/dialogs/dialog_fonts.h"
#include "reporter/dialogs/page_lists.h"
#include <commctrl.h>
#include <windows.h>

class TReportListView {
  public:
    // `view` is a report-style list view with the owner-draw style.
    TReportListView(HWND view, TListContent content, const TDialogFonts& fonts);
    ~TReportListView();
    TReportListView(const TReportListView&) = delete;
    TReportListView& operator=(const TReportListView&) = delete;

    void Draw(const DRAWITEMSTRUCT& item);
    // A click on a header row folds or unfolds its block.
    void Clicked(int item);
    // A double click on a call-stack row with a line sends the jump to its source.
    void Activated(int item);
    void SaveColumnWidths();

  private:
    void AddColumns();
    void Refill();
    void DrawHeader(HDC dc, const RECT& row, const TListRow& content, bool folded);
    void DrawCells(HDC dc, const RECT& row, const TListRow& content);
    const TListRow* RowOfItem(int item) const;

    HWND view_;
    TListContent content_;
    std::vector<bool> folded_;
    HIMAGELIST icons_ = nullptr;
    HBITMAP plus_ = nullptr;
    HBITMAP minus_ = nullptr;
};
