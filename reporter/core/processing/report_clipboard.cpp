#include "reporter/core/processing/report_clipboard.h"
#include "runtime/exception.h"
#include <cstring>
#include <windows.h>

namespace {

// The text in memory the clipboard can take over; null when there is none to be had.
HGLOBAL TextMemory(const std::string& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory)
        return nullptr;
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    return memory;
}

} // namespace

void CopyReportToClipboard(const std::string& report) {
    if (!OpenClipboard(nullptr))
        throw Exception("The clipboard could not be opened.");
    HGLOBAL memory = TextMemory(report);
    const bool copied = memory && EmptyClipboard() && SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    if (!copied) {
        if (memory)
            GlobalFree(memory);
        throw Exception("The report could not be put on the clipboard.");
    }
}
