#include "tables/engine_text.h"

namespace {

std::wstring Wide(const std::string& text, UINT codePage) {
    int length = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& text, UINT codePage) {
    int length = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string narrow(size_t(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), narrow.data(), length, nullptr,
                        nullptr);
    return narrow;
}

UINT ActualCodePage(UINT codePage) {
    if (codePage == CP_ACP)
        return GetACP();
    return codePage == CP_OEMCP ? GetOEMCP() : codePage;
}

// Unchanged within one code page, where a round trip could only spoil bytes that are no text.
std::string Converted(const std::string& text, UINT from, UINT to) {
    if (text.empty() || ActualCodePage(from) == ActualCodePage(to))
        return text;
    return Narrow(Wide(text, from), to);
}

} // namespace

std::string EngineText(const std::string& text, size_t maxBytes, UINT textCodePage,
                       UINT engineCodePage) {
    std::string engineText = Converted(text, textCodePage, engineCodePage);
    size_t end = 0;
    while (end < engineText.size()) {
        size_t next = end + (IsDBCSLeadByteEx(engineCodePage, BYTE(engineText[end])) ? 2 : 1);
        if (next > maxBytes || next > engineText.size())
            break;
        end = next;
    }
    return engineText.substr(0, end);
}
