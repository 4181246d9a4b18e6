#include "reporter/diagnostics/debug_formats/td32_names.h"
#include "runtime/text.h"
#include <algorithm>

namespace {

std::string ReplacedEvery(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

std::string ReadableProcedureName(const std::string& name, const std::string& unitName) {
    if (!name.starts_with("@"))
        return name;
    std::string text = name.substr(1, name.find('$') - 1);
    if (text.ends_with("@") && name.find('$') != std::string::npos)
        text.pop_back();
    std::replace(text.begin(), text.end(), '@', '.');
    text = ReplacedEvery(text, "..", ".@");
    const std::string prefix = unitName + ".";
    if (!unitName.empty() && AnsiSameText(text.substr(0, prefix.size()), prefix))
        text.erase(0, prefix.size());
    return text;
}
