#include "reporter/base/run_time_library.h"
#include "reporter/core/options/computer_name.h"
#include "reporter/core/report/report_dates.h"
#include "reporter/core/report/system_info/computer_text.h"
#include "reporter/core/report/system_info/registry_values.h"
#include "reporter/core/report/system_info/system_groups.h"
#include "runtime/format.h"
#include "runtime/module_names.h"
#include <algorithm>

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;
const char* const kProcessorKey = "\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

struct TPhysicalMemory {
    uint64_t Total = 0;
    uint64_t Available = 0;
};

// The older call counts in 32 bits only: it is the fallback for systems without the newer one.
TPhysicalMemory ReportedPhysicalMemory() {
    TRunTimeLibrary kernel("kernel32.dll");
    auto statusEx = kernel.Function<decltype(GlobalMemoryStatusEx)>("GlobalMemoryStatusEx");
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (statusEx && statusEx(&status))
        return {status.ullTotalPhys, status.ullAvailPhys};
    MEMORYSTATUS old{};
    old.dwLength = sizeof old;
    GlobalMemoryStatus(&old);
    return {old.dwTotalPhys, old.dwAvailPhys};
}

// Some systems cap the total a 32-bit process is told but not what is free (Wine: 3,625 Mb of
// 24 Gb total, 21 Gb free); a report never shows more free memory than there is.
TPhysicalMemory PhysicalMemory() {
    TPhysicalMemory memory = ReportedPhysicalMemory();
    memory.Available = std::min(memory.Available, memory.Total);
    return memory;
}

void AddDiskFields(TReportFields& fields) {
    TRunTimeLibrary kernel("kernel32.dll");
    auto freeSpace = kernel.Function<decltype(GetDiskFreeSpaceExA)>("GetDiskFreeSpaceExA");
    const std::string root = DriveRootOf(ModulePath(nullptr));
    ULARGE_INTEGER available{}, total{}, free{};
    const bool known =
        freeSpace && !root.empty() && freeSpace(root.c_str(), &available, &total, &free);
    fields["5.4"] = known ? GigabytesText(total.QuadPart) : std::string();
    fields["5.5"] = known ? GigabytesText(available.QuadPart) : std::string();
}

// The 32-bit count wraps after 49.7 days; the 64-bit one exists from Windows Vista on.
uint64_t MillisecondsSinceStart() {
    TRunTimeLibrary kernel("kernel32.dll");
    auto tickCount64 = kernel.Function<decltype(GetTickCount64)>("GetTickCount64");
    return tickCount64 ? tickCount64() : GetTickCount();
}

std::string Processor() {
    auto value = [](const char* name) {
        return ReadRegistryString(HKEY_LOCAL_MACHINE, kProcessorKey, name);
    };
    return ProcessorText(value("ProcessorNameString"), value("VendorIdentifier"),
                         value("Identifier"));
}

void AddDisplayFields(TReportFields& fields) {
    HDC screen = GetDC(nullptr);
    fields["5.8"] = screen ? Format("%d x %d, %d bit", GetSystemMetrics(SM_CXSCREEN),
                                    GetSystemMetrics(SM_CYSCREEN), GetDeviceCaps(screen, BITSPIXEL))
                           : std::string();
    fields["5.9"] = screen ? std::to_string(GetDeviceCaps(screen, LOGPIXELSY)) : std::string();
    if (screen)
        ReleaseDC(nullptr, screen);
}

} // namespace

void AddFixedComputerFields(TReportFields& fields) {
    fields["5.1"] = SystemComputerName();
    fields["5.2"] = MegabytesText(PhysicalMemory().Total);
    fields["5.7"] = Processor();
    AddDisplayFields(fields);
}

void AddChangingComputerFields(TReportFields& fields) {
    fields["5.3"] = MegabytesText(PhysicalMemory().Available);
    AddDiskFields(fields);
    fields["5.6"] = FormatDuration(double(MillisecondsSinceStart()) / kMillisecondsPerDay);
}
