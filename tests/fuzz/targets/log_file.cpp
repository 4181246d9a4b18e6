// A log file's text as the crash reporter reads it back: its reports, their fields (read,
// counted up, added), the whole log joined again and its XML form.
#include "reporter/core/report/log_text.h"
#include "reporter/core/report/log_xml.h"
#include "reporter/core/report/report_fields.h"
#include <cstdlib>

namespace {

// Fields the crash reporter reads and changes: error ID, count, application version; and keys
// of a field, a group and a form that no report has.
constexpr const char* kKeys[] = {"2.7", "2.8", "1.3", "2.19", "9.1", "x."};

void UseFields(const std::string& report) {
    for (const char* key : kKeys) {
        const std::string value = ReportFieldValue(report, key);
        HasFieldValue(report, key, value);
        const std::string changed = WithFieldValue(report, key, value + "1\r\nx", "Count");
        ReportFieldValue(changed, key);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> reports =
        SplitLogText(std::string(reinterpret_cast<const char*>(data), size));
    for (const std::string& report : reports)
        UseFields(report);
    // The log written again must read as the same reports.
    if (SplitLogText(JoinLogText(reports)) != reports)
        std::abort();
    LogXml(reports);
    return 0;
}
