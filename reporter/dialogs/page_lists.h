// What the dialog's list pages show: their columns, with the state file's keys for the widths,
// and their rows with icons; a header row starts each thread's block on the call-stack page.
#pragma once
#include "reporter/core/options/module_options.h"
#include "reporter/core/report/report_data.h"
#include <string>
#include <vector>

// The list icons, in the order of the image list.
enum TListIcon { kIconLibrary = 0, kIconPackage = 1, kIconProgram = 2, kIconSource = 3 };

struct TListColumn {
    std::string Title;
    // The state file's key of the column's width.
    std::string WidthKey;
    int DefaultWidth = 0;
    bool RightAligned = false;
};

struct TListRow {
    std::vector<std::string> Cells;
    int Icon = kIconLibrary;
    // A thread's header row (its text in the first cell), or the empty row before one.
    bool Header = false;
    bool Spacer = false;
    // A call-stack entry's module build time (days since 1899), for the jump to its source.
    double ModuleTimeStamp = 0;
};

// The rows shown when the header rows in `folded` (indexes into `rows`) are folded: a folded
// header hides the rows below it up to the next header or the empty row before one.
std::vector<size_t> VisibleRows(const std::vector<TListRow>& rows, const std::vector<bool>& folded);

struct TListContent {
    std::vector<TListColumn> Columns;
    std::vector<TListRow> Rows;
    // The rows are call-stack entries that can jump to their source.
    bool SourceRows = false;
};

TListContent CallStackList(const TVessarModuleOptions& options, const TReportData& data);
TListContent ModulesList(const TVessarModuleOptions& options, const TReportData& data);
TListContent ProcessesList(const TVessarModuleOptions& options, const TReportData& data);

// A version a.b.c.d as "a.b.x"; a version with fewer than two dots as it is.
std::string ShortVersion(const std::string& version);
