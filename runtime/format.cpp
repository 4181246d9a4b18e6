#include "runtime/format.h"
#include <cstdarg>
#include <vector>

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::vector<char> text(length > 0 ? size_t(length) + 1 : 1);
    if (length > 0)
        std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
    return std::string(text.data(), length > 0 ? size_t(length) : 0);
}
