#include "reporter/core/report/system_info/html_text.h"
#include <utility>

namespace {

std::string ReplacedEvery(const std::string& text, const std::string& from, const std::string& to) {
    std::string result;
    size_t start = 0;
    for (size_t found; (found = text.find(from, start)) != std::string::npos;
         start = found + from.size())
        result += text.substr(start, found - start) + to;
    return result + text.substr(start);
}

} // namespace

std::string HtmlEscaped(const std::string& text) {
    // "&" goes first, so that the entities written later are not escaped again.
    const std::pair<const char*, const char*> replacements[] = {
        {"&", "&amp;"}, {"\"", "&quot;"},       {"'", "&#039;"},      {"<", "&lt;"},
        {">", "&gt;"},  {"  ", "&nbsp;&nbsp;"}, {"\r\n", "<br>\r\n"},
    };
    std::string escaped = text;
    for (const auto& [from, to] : replacements)
        escaped = ReplacedEvery(escaped, from, to);
    return escaped;
}
