#include "reporter/core/report/log_text.h"
#include "reporter/core/report/report_text.h"

namespace {

// The end of a report's last line and at least three empty lines.
constexpr char kSeparator[] = "\r\n\r\n\r\n\r\n";
constexpr size_t kSeparatorSize = sizeof kSeparator - 1;
// The last line's end belongs to the report, and so do the three empty lines Add puts after it:
// a report read back is the text that was added, and written again it keeps its separators.
constexpr size_t kKeptOfSeparator = 2 + sizeof kReportEnd - 1;
constexpr char kTableStart[] = "-\r\n|";

// Empty lines before a report belong to none; kept, they would pile up with every save.
size_t SkipLineEnds(const std::string& text, size_t at) {
    while (text.compare(at, 2, kCrLf) == 0)
        at += 2;
    return at;
}

} // namespace

std::vector<std::string> SplitLogText(std::string text) {
    text = WithCrLf(text);
    // A report cut short still ends in a separator.
    if (!text.ends_with(kSeparator))
        text += kSeparator;
    std::vector<std::string> reports;
    size_t start = SkipLineEnds(text, 0);
    for (size_t at = text.find(kSeparator, start); at != std::string::npos;
         at = text.find(kSeparator, start)) {
        std::string piece = text.substr(start, at + kKeptOfSeparator - start);
        if (piece.find(kTableStart) != std::string::npos)
            reports.push_back(std::move(piece));
        start = SkipLineEnds(text, at + kSeparatorSize);
    }
    return reports;
}

std::string JoinLogText(const std::vector<std::string>& reports) {
    size_t size = 0;
    for (const std::string& report : reports)
        size += report.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& report : reports)
        text.append(report).append(kCrLf);
    if (text.ends_with(std::string(kSeparator) + kCrLf))
        text.resize(text.size() - 2);
    return text;
}

bool ReadsBackAlike(const std::string& report) {
    const std::vector<std::string> read = SplitLogText(report + kCrLf);
    return read.size() == 1 && read[0] == report;
}
