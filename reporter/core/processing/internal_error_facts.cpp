#include "reporter/core/processing/internal_error_facts.h"
#include "reporter/core/thread_stack.h"
#include "reporter/diagnostics/hidden_units.h"
#include "runtime/format.h"
#include "runtime/type_name.h"
#include <cstdlib>
#include <typeinfo>
#include <windows.h>

namespace {

constexpr size_t kDumpSize = 32;
constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr int64_t kFileTimeUnitsPerHour = 36000000000LL;

int64_t FileTimeOf(const SYSTEMTIME& time) {
    FILETIME file{};
    SystemTimeToFileTime(&time, &file);
    return int64_t(uint64_t(file.dwHighDateTime) << 32 | file.dwLowDateTime);
}

// Local time minus universal time now, in whole hours: "+0100", "-0500".
std::string ZoneText(const SYSTEMTIME& local, const SYSTEMTIME& universal) {
    const int64_t difference = FileTimeOf(local) - FileTimeOf(universal);
    const int hours = int((difference + (difference < 0 ? -1 : 1) * kFileTimeUnitsPerHour / 2) /
                          kFileTimeUnitsPerHour);
    return Format("%c%02d00", hours < 0 ? '-' : '+', std::abs(hours));
}

// The report's date form, e.g. "Tue, 5 Mar 2024 14:03:09 +0100".
std::string CurrentDateText() {
    SYSTEMTIME local{}, universal{};
    GetLocalTime(&local);
    GetSystemTime(&universal);
    return Format("%s, %d %s %d %02d:%02d:%02d %s", kDays[local.wDayOfWeek], local.wDay,
                  kMonths[local.wMonth - 1], local.wYear, local.wHour, local.wMinute, local.wSecond,
                  ZoneText(local, universal).c_str());
}

// The system's own version: GetVersionEx reports no version above the one the program declares
// itself made for.
std::string OperatingSystemText() {
    using GetVersionProc = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    auto rtlGetVersion = reinterpret_cast<GetVersionProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
    if (!rtlGetVersion || rtlGetVersion(&version) != 0)
        GetVersionExW(&version);
    return Format("Windows %lu.%lu build %lu", version.dwMajorVersion, version.dwMinorVersion,
                  version.dwBuildNumber);
}

std::vector<uint8_t> BytesAt(const void* address) {
    std::vector<uint8_t> bytes(kDumpSize);
    SIZE_T read = 0;
    if (!address ||
        !ReadProcessMemory(GetCurrentProcess(), address, bytes.data(), bytes.size(), &read))
        read = 0;
    bytes.resize(read);
    return bytes;
}

// The scan looks addresses up in debug information; when that fails, the modules alone do.
// The crash reporter's own units are named here: it is their failure that is reported.
std::unique_ptr<TVessarStackList> CallingThreadStack(const void* address) {
    void* errorAddress = const_cast<void*>(address);
    struct TOwnFailure {
        TOwnFailure() { SetReportingOwnFailure(true); }
        ~TOwnFailure() { SetReportingOwnFailure(false); }
    } ownFailure;
    try {
        return NewStackList(errorAddress, StackPointer(), StackBase(), kAllDetails, -1, -1, false,
                            true, GetCurrentThreadId());
    } catch (const std::exception&) {
        auto list = std::make_unique<TVessarStackList>();
        ScanStack(*list, errorAddress, StackPointer(), kAllDetails, -1, -1, false, false, true,
                  GetCurrentThreadId(), StackBase());
        return list;
    }
}

// The scan enters the error address first.
TVessarDebugInfo LocationOf(const void* address, const TVessarStackList& stack) {
    if (stack.Count() > 0 && stack[0].ErrorAddress)
        return stack[0];
    TVessarDebugInfo location;
    location.Addr = uint32_t(reinterpret_cast<uintptr_t>(address));
    return location;
}

} // namespace

std::string InternalFailureMessage(const std::exception* failure) {
    return failure && *failure->what() ? failure->what() : "General internal error.";
}

TInternalErrorFacts GatherInternalErrorFacts(const std::string& section,
                                             const std::exception* failure, const void* address,
                                             const std::string& processedClass) {
    TInternalErrorFacts facts;
    facts.Date = CurrentDateText();
    facts.OperatingSystem = OperatingSystemText();
    facts.BuildTool = "GCC " __VERSION__;
    facts.Dump = BytesAt(address);
    facts.Section = section;
    facts.ProcessedClass = processedClass;
    facts.CallStack = CallingThreadStack(address);
    facts.Location = LocationOf(address, *facts.CallStack);
    facts.FailureClass = failure ? UnqualifiedTypeName(typeid(*failure)) : "";
    facts.Message = InternalFailureMessage(failure);
    return facts;
}
