#include "reporter/core/report/system_info/system_groups.h"
#include <cstdlib>

namespace {

constexpr int kLocaleTextSize = 1024;

// What the locale enumeration looks for; its callback takes no argument of ours.
struct TLanguageSearch {
    LANGID Wanted = 0;
    bool Wide = false;
    std::string Found;
};
thread_local TLanguageSearch* languageSearch = nullptr;

std::string LocaleText(LCID locale, LCTYPE type, bool wide) {
    if (!wide) {
        char text[kLocaleTextSize] = {};
        return GetLocaleInfoA(locale, type, text, kLocaleTextSize) ? text : std::string();
    }
    wchar_t text[kLocaleTextSize] = {};
    char narrow[kLocaleTextSize] = {};
    if (!GetLocaleInfoW(locale, type, text, kLocaleTextSize) ||
        !WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, kLocaleTextSize, nullptr, nullptr))
        return {};
    return narrow;
}

// A locale is named by eight hexadecimal digits; the language is the last four.
LANGID LanguageOf(const std::string& localeName) {
    const std::string digits =
        localeName.size() > 4 ? localeName.substr(localeName.size() - 4) : localeName;
    return LANGID(std::strtoul(digits.c_str(), nullptr, 16));
}

// Returns FALSE to stop the enumeration at the system's language.
BOOL Visit(const std::string& localeName) {
    const LANGID language = LanguageOf(localeName);
    const bool wide = languageSearch->Wide;
    if (language != languageSearch->Wanted ||
        LocaleText(language, LOCALE_SABBREVLANGNAME, wide).empty())
        return TRUE;
    languageSearch->Found = LocaleText(language, LOCALE_SENGLANGUAGE, wide);
    return FALSE;
}

BOOL CALLBACK VisitNarrow(LPSTR name) {
    try {
        return Visit(name);
    } catch (...) {
        return FALSE; // nothing may leave a system callback
    }
}

BOOL CALLBACK VisitWide(LPWSTR name) {
    try {
        char narrow[16] = {};
        WideCharToMultiByte(CP_ACP, 0, name, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
        return Visit(narrow);
    } catch (...) {
        return FALSE;
    }
}

// The system's default language among the installed locales, by its English name.
std::string SystemLanguage(const TWindowsVersion& version) {
    TLanguageSearch search;
    search.Wanted = GetSystemDefaultLangID();
    search.Wide = version.IsNT();
    languageSearch = &search;
    if (search.Wide)
        EnumSystemLocalesW(VisitWide, LCID_INSTALLED);
    else
        EnumSystemLocalesA(VisitNarrow, LCID_INSTALLED);
    languageSearch = nullptr;
    return search.Found;
}

std::string Charset() {
    char text[6] = {};
    UINT codePage =
        GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, text, sizeof text)
            ? UINT(std::strtoul(text, nullptr, 10))
            : GetACP();
    CHARSETINFO info{};
    if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(uintptr_t(codePage)), &info,
                              TCI_SRCCODEPAGE))
        return {};
    return std::to_string(info.ciCharset);
}

} // namespace

void AddOperatingSystemFields(TReportFields& fields, const TWindowsVersion& version) {
    fields["6.1"] = WindowsTypeName(version);
    fields["6.2"] = WindowsBuildText(version);
    fields["6.3"] = version.ServicePack;
    fields["6.4"] = SystemLanguage(version);
    fields["6.5"] = Charset();
}
