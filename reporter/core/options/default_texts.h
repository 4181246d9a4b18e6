// The wording the crash reporter shows and writes until the application's options replace it.
#pragma once
#include <array>
#include <string>

// Every label and message of the crash reporter is one of these texts, addressed by index; code
// names them (texts.def).
enum TTextId : int {
#define CUSTOM_TEXT(Index, Name, Default) kText##Name = Index,
#include "reporter/core/options/texts.def"
};
constexpr int kTextCount = 158;

std::array<std::string, kTextCount> DefaultTexts();

// The page that renders a report as HTML; "<%HTML_TAG%>" marks where the report goes.
extern const char* const kDefaultHtmlTemplate;
