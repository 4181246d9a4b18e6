#include "reporter/core/options/variable_expansion.h"
#include "runtime/text.h"
#include <windows.h>

namespace {

bool IsNameChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// The calls below report the size they need, terminator included, when given no buffer.
template <typename Fill> std::string ReadSystemString(Fill fill) {
    int size = fill(nullptr, 0);
    if (size <= 0)
        return {};
    std::string value(static_cast<size_t>(size), '\0');
    int written = fill(value.data(), size);
    value.resize(written > 0 ? static_cast<size_t>(written) : 0);
    if (!value.empty() && value.back() == '\0')
        value.pop_back();
    return value;
}

std::string EnvironmentVariable(const std::string& name) {
    return ReadSystemString([&](char* buffer, int size) {
        return int(GetEnvironmentVariableA(name.c_str(), buffer, DWORD(size)));
    });
}

std::string CurrentShortDate() {
    return ReadSystemString([](char* buffer, int size) {
        return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, size);
    });
}

std::string CurrentTime() {
    return ReadSystemString([](char* buffer, int size) {
        return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, size);
    });
}

std::string CurrentDirectory() {
    return ReadSystemString(
        [](char* buffer, int size) { return int(GetCurrentDirectoryA(DWORD(size), buffer)); });
}

std::string BuiltInVariable(const std::string& name) {
    if (AnsiSameText(name, "date"))
        return CurrentShortDate();
    if (AnsiSameText(name, "time"))
        return CurrentTime();
    if (AnsiSameText(name, "cd"))
        return CurrentDirectory();
    return {};
}

std::string VariableValue(const std::string& name) {
    std::string value = EnvironmentVariable(name);
    return value.empty() ? BuiltInVariable(name) : value;
}

// The position of the "%" that closes a reference opened at `start`, or npos.
size_t ReferenceEnd(const std::string& text, size_t start) {
    size_t end = start + 1;
    while (end < text.size() && IsNameChar(text[end]))
        ++end;
    bool hasName = end > start + 1;
    return hasName && end < text.size() && text[end] == '%' ? end : std::string::npos;
}

} // namespace

std::string ExpandVariables(const std::string& text) {
    std::string result;
    size_t position = 0;
    while (position < text.size()) {
        size_t end = text[position] == '%' ? ReferenceEnd(text, position) : std::string::npos;
        if (end == std::string::npos) {
            result += text[position++];
            continue;
        }
        result += VariableValue(text.substr(position + 1, end - position - 1));
        position = end + 1;
    }
    return result;
}
