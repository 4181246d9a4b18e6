#include "reporter/diagnostics/debug_formats/procedure_text.h"

std::string ShownProcedureName(std::string name) {
    if (name.starts_with("@"))
        name[0] = '_';
    return name;
}

std::vector<std::string> DottedParts(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t dot = text.find('.'); dot != std::string::npos && parts.size() < 2;
         dot = text.find('.', start)) {
        parts.push_back(text.substr(start, dot - start));
        start = dot + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}
