#include "reporter/dialogs/report_pages.h"
#include "reporter/core/options/default_texts.h"
#include "reporter/core/options/option_flags.h"
#include <algorithm>

std::vector<TReportPage> ShownPages(uint8_t logFlags) {
    std::vector<TReportPage> pages{TReportPage::General, TReportPage::CallStack};
    if (logFlags & LogFlag::ModulesAndProcesses)
        pages.insert(pages.end(), {TReportPage::Modules, TReportPage::Processes});
    if (logFlags & LogFlag::AssemblerAndCpu)
        pages.insert(pages.end(), {TReportPage::Assembler, TReportPage::Cpu});
    return pages;
}

TReportPage FirstPage(int firstTab, uint8_t logFlags) {
    const std::vector<TReportPage> pages = ShownPages(logFlags);
    const auto page = TReportPage(firstTab);
    if (firstTab < 0 || firstTab > int(TReportPage::Cpu) ||
        std::find(pages.begin(), pages.end(), page) == pages.end())
        return TReportPage::General;
    return page;
}

int TabOfPage(TReportPage page, uint8_t logFlags) {
    const std::vector<TReportPage> pages = ShownPages(logFlags);
    return int(std::find(pages.begin(), pages.end(), page) - pages.begin());
}

int TabCaptionText(TReportPage page) {
    return kTextTabGeneral + 2 * int(page);
}

int PageTitleText(TReportPage page) {
    return kTextTitleGeneral + 2 * int(page);
}

const char* PageTemplate(TReportPage page) {
    static const char* const names[] = {"KF_TAB_GENERAL",     "KF_TAB_CALLSTACK",
                                        "KF_TAB_MODULESLIST", "KF_TAB_PROCESSESLIST",
                                        "KF_TAB_ASSEMBLER",   "KF_TAB_CPU"};
    return names[int(page)];
}

bool IsTextPage(TReportPage page) {
    return page == TReportPage::General || page == TReportPage::Assembler ||
           page == TReportPage::Cpu;
}
