#include "reporter/core/report/bug_report.h"
#include "reporter/core/options/reporter_version.h"
#include "reporter/core/report/log_item.h"
#include "reporter/core/report/report_layout.h"
#include "reporter/core/report/report_sections.h"
#include "reporter/core/report/report_text.h"

namespace {

constexpr int kCustomDataBit = 47;
constexpr int kCustomDataTitle = 91;
constexpr int kReproduceTitle = 123;

TReportField CustomField(const std::string& line) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos)
        return {line, ""};
    return {line.substr(0, equals), line.substr(equals + 1)};
}

} // namespace

std::string BuildReport(const TVessarModuleOptions& options, const TReportData& data) {
    std::string report = std::string(kReportHeaderName) + kReporterVersion + kCrLf + kCrLf;
    if (const std::string general = GeneralSection(options, data); !general.empty())
        report += general + kCrLf + kCrLf;
    return report + CallStackSection(options, data) + ModulesSection(options, data) +
           ProcessesSection(options, data) + AssemblerSection(options, data) +
           CpuSection(options, data);
}

std::string WithSection(const std::string& report, int group, const std::string& title,
                        const std::vector<TReportField>& fields) {
    if (fields.empty())
        return report;
    TLogItem item(group - 1);
    item.AddGroup(title);
    for (const TReportField& field : fields)
        item.AddField(field.Label, field.Value);
    std::vector<std::string> lines = SplitLines(report);
    std::vector<std::string> section = SplitLines(item.Render());
    section.push_back("");
    lines.insert(lines.begin() + ptrdiff_t(GeneralPartEnd(lines)), section.begin(), section.end());
    return JoinLines(lines);
}

std::string WithCustomData(const TVessarModuleOptions& options, const std::string& report,
                           const std::vector<std::string>& lines) {
    if (lines.empty() || (options.Stored().ReportFields >> kCustomDataBit & 1) == 0)
        return report;
    std::vector<TReportField> fields;
    for (const std::string& line : lines)
        fields.push_back(CustomField(line));
    return WithSection(report, kCustomDataGroup, options.Text(kCustomDataTitle), fields);
}

std::string WithReproduceText(const TVessarModuleOptions& options, const std::string& report,
                              const std::string& text) {
    const std::string title = options.Text(kReproduceTitle);
    return WithSection(report, kReproduceGroup, title, {{title, text}});
}
