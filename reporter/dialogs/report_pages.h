// The pages of the detailed dialog: which exist for the options, which tab shows which, and the
// text of their tabs and information lines.
#pragma once
#include <cstdint>
#include <vector>

enum class TReportPage { General, CallStack, Modules, Processes, Assembler, Cpu };

// The pages shown, in tab order: modules and processes only with LogFlags 0x10, assembler and
// CPU only with 0x20.
std::vector<TReportPage> ShownPages(uint8_t logFlags);
// The page the option FirstTab names; General when that page is not shown.
TReportPage FirstPage(int firstTab, uint8_t logFlags);
// The tab of a shown page.
int TabOfPage(TReportPage page, uint8_t logFlags);

int TabCaptionText(TReportPage page);
int PageTitleText(TReportPage page);
// The page's template name.
const char* PageTemplate(TReportPage page);
bool IsTextPage(TReportPage page);
