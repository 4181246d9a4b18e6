#include "runtime/text.h"

std::string Trim(const std::string& text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}
