#include "reporter/core/report/report_fields.h"
#include "reporter/core/report/log_item.h"
#include "reporter/core/report/report_layout.h"
#include "reporter/core/report/report_text.h"
#include <optional>
#include <vector>

namespace {

// The highest field number looked for when a field is added to its group.
constexpr int kMaxFieldNo = 19;

std::optional<TLineRange> FindGeneralField(const std::vector<std::string>& lines,
                                           const std::string& key) {
    return FindField(lines, key, GeneralPartEnd(lines));
}

// The field of `group` that comes last in the text.
std::optional<TLineRange> LastFieldOfGroup(const std::vector<std::string>& lines,
                                           const std::string& group) {
    std::optional<TLineRange> last;
    for (int field = 1; field <= kMaxFieldNo; ++field) {
        const auto found = FindGeneralField(lines, group + "." + std::to_string(field));
        if (found && (!last || found->End > last->End))
            last = found;
    }
    return last;
}

std::vector<std::string> FieldLines(const std::string& start, const std::string& value) {
    std::vector<std::string> lines = FieldValueLines(value);
    lines[0].insert(0, start);
    return lines;
}

void ReplaceValue(std::vector<std::string>& lines, TLineRange field, const std::string& value) {
    const std::string& line = lines[field.First];
    const std::vector<std::string> replacement =
        FieldLines(line.substr(0, line.find(": ") + 2), value);
    lines.erase(lines.begin() + ptrdiff_t(field.First), lines.begin() + ptrdiff_t(field.End));
    lines.insert(lines.begin() + ptrdiff_t(field.First), replacement.begin(), replacement.end());
}

void InsertField(std::vector<std::string>& lines, const std::string& key, const std::string& value,
                 const std::string& label) {
    const size_t dot = key.find('.');
    if (dot == std::string::npos)
        return;
    const auto last = LastFieldOfGroup(lines, key.substr(0, dot));
    if (!last)
        return;
    const size_t column = lines[last->First].find(": ");
    const std::vector<std::string> inserted =
        FieldLines(PaddedRight("  " + key + " " + label, column) + ": ", value);
    lines.insert(lines.begin() + ptrdiff_t(last->End), inserted.begin(), inserted.end());
}

} // namespace

std::string ReportFieldValue(const std::string& report, const std::string& key) {
    const std::vector<std::string> lines = SplitLines(report);
    const auto field = FindGeneralField(lines, key);
    return field ? FieldValueText(lines, *field) : std::string();
}

bool HasFieldValue(const std::string& report, const std::string& key, const std::string& value) {
    const std::vector<std::string> lines = SplitLines(report);
    const auto field = FindGeneralField(lines, key);
    return field && StoredValueLines(lines, *field) == FieldValueLines(value);
}

std::string WithFieldValue(const std::string& report, const std::string& key,
                           const std::string& value, const std::string& label) {
    std::vector<std::string> lines = SplitLines(report);
    if (const auto field = FindGeneralField(lines, key))
        ReplaceValue(lines, *field, value);
    else
        InsertField(lines, key, value, label);
    return JoinLines(lines);
}
