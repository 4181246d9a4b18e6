#include "reporter/core/report/log_item.h"
#include "reporter/core/report/report_layout.h"
#include "reporter/core/report/report_text.h"
#include "runtime/text.h"
#include <algorithm>

namespace {

// Stands for the title's underline until the group's width is known.
constexpr char kUnderlinePlaceholder[] = "-";
constexpr char kFieldColon[] = ": ";

std::string ReplacedEvery(std::string text, const std::string& part, const std::string& by) {
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + by.size()))
        text.replace(at, part.size(), by);
    return text;
}

// A group without fields has no line two below its title, or a blank one there.
bool IsEmptyGroup(const std::vector<std::string>& lines, size_t title) {
    return title + 2 >= lines.size() || lines[title + 2].empty();
}

// Removes each empty group with the blank line that parts it from its neighbour.
void DropEmptyGroups(std::vector<std::string>& lines) {
    for (size_t i = 0; i < lines.size();) {
        if (!IsTitleLine(lines[i]) || !IsEmptyGroup(lines, i)) {
            ++i;
            continue;
        }
        if (i + 2 < lines.size())
            lines.erase(lines.begin() + ptrdiff_t(i), lines.begin() + ptrdiff_t(i + 3));
        else if (i > 0 && lines[i - 1].empty())
            lines.erase(lines.begin() + ptrdiff_t(i - 1), lines.end());
        else
            lines.erase(lines.begin() + ptrdiff_t(i), lines.end());
    }
}

// Only field lines hold ": " (continuation lines have it replaced).
void LayOutGroup(std::vector<std::string>& lines, size_t title, size_t end) {
    size_t column = 0;
    for (size_t i = title + 2; i < end; ++i)
        if (const size_t colon = lines[i].find(kFieldColon); colon != std::string::npos)
            column = std::max(column, colon);
    size_t width = 0;
    for (size_t i = title + 2; i < end; ++i) {
        const size_t colon = lines[i].find(kFieldColon);
        if (colon == std::string::npos)
            continue;
        lines[i].insert(colon, column - colon, ' ');
        width = std::max(width, lines[i].size());
    }
    lines[title + 1] = std::string(width, '-');
}

} // namespace

std::vector<std::string> FieldValueLines(const std::string& value) {
    if (value.find_first_of("\r\n") == std::string::npos)
        return {value};
    std::vector<std::string> lines = SplitLines(ReplacedEvery(WithCrLf(value), ": ", ":_"));
    for (size_t i = 0; i < lines.size(); ++i) {
        if (Trim(lines[i]).empty())
            lines[i] = ".";
        if (i > 0)
            lines[i].insert(0, " ");
    }
    return lines;
}

void TLogItem::AddGroup(const std::string& title) {
    ++groupNo_;
    itemNo_ = 0;
    if (!body_.empty())
        body_ += "\r\n\r\n";
    body_ += title + ":" + kCrLf + kUnderlinePlaceholder;
}

void TLogItem::AddField(const std::string& label, const std::string& value, bool include) {
    ++itemNo_;
    if (!include)
        return;
    body_ += kCrLf;
    body_ += "  " + std::to_string(groupNo_) + "." + std::to_string(itemNo_) + " " + label +
             kFieldColon + JoinLines(FieldValueLines(value));
}

std::string TLogItem::Render() const {
    std::vector<std::string> lines = SplitLines(body_);
    DropEmptyGroups(lines);
    for (size_t i = 0; i < lines.size(); ++i)
        if (IsTitleLine(lines[i]))
            LayOutGroup(lines, i, GroupEnd(lines, i));
    return JoinLines(lines);
}
