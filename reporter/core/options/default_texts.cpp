#include "reporter/core/options/default_texts.h"
#include <algorithm>
#include <iterator>

namespace {

const std::array<const char*, kTextCount> kDefaultTexts = {
#define CUSTOM_TEXT(Index, Name, Default) Default,
#include "reporter/core/options/texts.def"
};
constexpr int kIndices[] = {
#define CUSTOM_TEXT(Index, Name, Default) Index,
#include "reporter/core/options/texts.def"
};
constexpr bool InIndexOrder() {
    for (int i = 0; i < kTextCount; ++i)
        if (kIndices[i] != i)
            return false;
    return true;
}
static_assert(std::size(kIndices) == kTextCount && InIndexOrder(),
              "texts.def lists every text once, in index order");

} // namespace

std::array<std::string, kTextCount> DefaultTexts() {
    std::array<std::string, kTextCount> texts;
    std::copy(kDefaultTexts.begin(), kDefaultTexts.end(), texts.begin());
    return texts;
}

const char* const kDefaultHtmlTemplate =
    "<html>\r\n"
    "  <head>\r\n"
    "  </head>\r\n"
    "  <body TopMargin=10 LeftMargin=10>\r\n"
    "    <table width=\"100%\" border=\"0\">\r\n"
    "      <tr>\r\n"
    "        <td nowrap>\r\n"
    "          <font face=\"Lucida Console, Courier\" size=\"2\">\r\n"
    "            <%HTML_TAG%>\r\n"
    "          </font>\r\n"
    "        </td>\r\n"
    "      </tr>\r\n"
    "    </table>\r\n"
    "  </body>\r\n"
    "</html>";
