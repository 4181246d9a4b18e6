#include "reporter/core/report/report_layout.h"
#include "reporter/core/report/report_text.h"
#include <algorithm>
#include <cctype>

namespace {

bool IsDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(uint8_t(c)); });
}

// A group number, ".", a field number: "2.10".
bool IsFieldKey(const std::string& key) {
    const size_t dot = key.find('.');
    return dot != std::string::npos && IsDigits(key.substr(0, dot)) &&
           IsDigits(key.substr(dot + 1));
}

// Values never hold ": " on their continuation lines, so such a line is no field line.
bool IsContinuationLine(const std::string& line) {
    return line.starts_with(" ") && !ParseFieldLine(line);
}

} // namespace

bool IsTitleLine(const std::string& line) {
    return !line.empty() && line[0] != ' ' && line.find(':') == line.size() - 1;
}

bool IsDashLine(const std::string& line) {
    return !line.empty() && line.find_first_not_of('-') == std::string::npos;
}

size_t GroupEnd(std::span<const std::string> lines, size_t title) {
    size_t end = title + 1;
    while (end < lines.size() && !lines[end].empty())
        ++end;
    return end;
}

size_t GeneralPartEnd(std::span<const std::string> lines) {
    for (size_t i = 0; i + 2 < lines.size(); ++i)
        if (IsDashLine(lines[i + 1]) && lines[i + 2].starts_with("|"))
            return i;
    return lines.size();
}

std::vector<size_t> SectionStarts(std::span<const std::string> lines, size_t from) {
    std::vector<size_t> starts;
    for (size_t i = from; i + 1 < lines.size(); ++i)
        if (IsTitleLine(lines[i]) && IsDashLine(lines[i + 1]))
            starts.push_back(i);
    return starts;
}

std::optional<TFieldLine> ParseFieldLine(const std::string& line) {
    if (!line.starts_with("  "))
        return std::nullopt;
    const size_t keyEnd = line.find(' ', 2);
    const size_t colon = line.find(": ", keyEnd);
    if (keyEnd == std::string::npos || colon == std::string::npos)
        return std::nullopt;
    TFieldLine field{line.substr(2, keyEnd - 2), line.substr(keyEnd + 1, colon - keyEnd - 1),
                     line.substr(colon + 2)};
    if (!IsFieldKey(field.Key))
        return std::nullopt;
    field.Label.erase(field.Label.find_last_not_of(' ') + 1);
    return field;
}

TLineRange FieldAt(std::span<const std::string> lines, size_t first) {
    size_t end = first + 1;
    while (end < lines.size() && IsContinuationLine(lines[end]))
        ++end;
    return {first, end};
}

std::optional<TLineRange> FindField(std::span<const std::string> lines, const std::string& key,
                                    size_t end) {
    for (size_t i = 0; i < std::min(end, lines.size()); ++i) {
        const auto field = ParseFieldLine(lines[i]);
        if (field && field->Key == key)
            return FieldAt(lines, i);
    }
    return std::nullopt;
}

std::vector<std::string> StoredValueLines(std::span<const std::string> lines, TLineRange field) {
    std::vector<std::string> value{ParseFieldLine(lines[field.First])->Value};
    value.insert(value.end(), lines.begin() + ptrdiff_t(field.First + 1),
                 lines.begin() + ptrdiff_t(field.End));
    return value;
}

std::string FieldValueText(std::span<const std::string> lines, TLineRange field) {
    std::vector<std::string> value = StoredValueLines(lines, field);
    for (size_t i = 1; i < value.size(); ++i)
        value[i].erase(0, 1);
    return JoinLines(value);
}
