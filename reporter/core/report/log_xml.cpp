#include "reporter/core/report/log_xml.h"
#include "reporter/core/report/bug_report.h"
#include "reporter/core/report/report_fields.h"
#include "reporter/core/report/report_layout.h"
#include "reporter/core/report/report_text.h"
#include "reporter/core/report/xml_sections.h"
#include <algorithm>

namespace {

enum TSectionOrder : size_t { kCallStack, kModules, kProcesses, kAssembler, kCpu };

// The sections after the general part, in their fixed order; empty where one is missing.
class TSections {
  public:
    TSections(TReportLines lines, size_t from)
        : lines_(lines), starts_(SectionStarts(lines, from)) {}

    TReportLines operator[](size_t order) const {
        if (order >= starts_.size())
            return {};
        const size_t end = order + 1 < starts_.size() ? starts_[order + 1] : lines_.size();
        return lines_.subspan(starts_[order], end - starts_[order]);
    }

  private:
    TReportLines lines_;
    std::vector<size_t> starts_;
};

std::string Version(const std::string& header) {
    return header.starts_with(kReportHeaderName) ? header.substr(sizeof kReportHeaderName - 1)
                                                 : std::string();
}

void AddLogXml(TXMLItem& doc, const std::string& report) {
    const std::vector<std::string> lines = SplitLines(report);
    TXMLItem& log = doc.AddChild("Log");
    log.AddAttribute("Version", Version(lines[0]));
    const size_t generalEnd = GeneralPartEnd(lines);
    const size_t generalStart = std::min<size_t>(1, generalEnd);
    AddGeneralXml(log.AddChild("General"),
                  TReportLines(lines).subspan(generalStart, generalEnd - generalStart));
    const TSections sections(lines, generalEnd);
    AddCallStackXml(log.AddChild("CallStack"), sections[kCallStack]);
    AddTableXml(log.AddChild("Modules"), sections[kModules], "Module",
                {"Handle", "Name", "Description", "Version", "Size", "Modified", "Path"});
    AddTableXml(log.AddChild("Processes"), sections[kProcesses], "Process",
                {"ID", "Name", "Description", "Version", "Memory", "Priority", "Threads", "Path"});
    AddAssemblerXml(log.AddChild("Assembler"), sections[kAssembler]);
    AddCpuXml(log.AddChild("CPU"), sections[kCpu]);
    log.AddChild("HoToReproduce")
        .AddAttribute("Text", ReportFieldValue(report, std::to_string(kReproduceGroup) + ".1"));
}

} // namespace

std::string LogXml(const std::vector<std::string>& reports) {
    TXMLItem doc("Doc");
    for (const std::string& report : reports)
        AddLogXml(doc, report);
    return doc.AsText();
}
