#include "reporter/core/report/report_clock.h"
#include "reporter/core/report/system_info/application_text.h"
#include "reporter/core/report/system_info/system_groups.h"
#include "reporter/diagnostics/lists/modules_list.h"

namespace {

constexpr double kFileTimeTicksPerDay = 864000000000.0;

uint64_t Ticks(const FILETIME& time) {
    return (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The process's creation, in local time.
bool StartTime(FILETIME& local) {
    FILETIME created{}, exited{}, kernel{}, user{};
    return GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user) &&
           FileTimeToLocalFileTime(&created, &local);
}

std::string StartDate(const FILETIME& start) {
    SYSTEMTIME time{};
    return FileTimeToSystemTime(&start, &time) ? ReportDate(time) : std::string();
}

std::string UpTime(const FILETIME& start, const SYSTEMTIME& exceptionTime) {
    FILETIME end{};
    if (!SystemTimeToFileTime(&exceptionTime, &end))
        return {};
    // A clock set back while the program ran gives no negative span.
    const uint64_t span = Ticks(end) > Ticks(start) ? Ticks(end) - Ticks(start) : 0;
    return FormatDuration(double(span) / kFileTimeTicksPerDay);
}

// The program's description carries the time stamp of its crash reporter data; 0 for none.
std::string CompilationDate() {
    const TModuleRef program = ModulesList().ModuleOf(GetModuleHandleA(nullptr));
    return program ? CompilationDateText(program->KFDataTimeStamp, LocalZoneHours()) : "";
}

} // namespace

void AddApplicationFields(TReportFields& fields, const TSystemFieldsContext& context) {
    FILETIME start{};
    const bool started = StartTime(start);
    fields["1.1"] = started ? StartDate(start) : std::string();
    fields["1.4"] = CommandLineParameters(GetCommandLineA());
    fields["1.5"] = CompilationDate();
    fields["1.6"] = started ? UpTime(start, context.ExceptionTime) : std::string();
}
