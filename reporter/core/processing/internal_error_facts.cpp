#include "reporter/core/processing/internal_error_facts.h"
#include "reporter/base/guarded_read.h"
#include "reporter/base/thread_stack.h"
#include "reporter/base/windows_version.h"
#include "reporter/core/report/report_clock.h"
#include "reporter/diagnostics/debug_formats/hidden_units.h"
#include "reporter/diagnostics/stack/stack_scan.h"
#include "runtime/type_name.h"
#include <typeinfo>
#include <windows.h>

namespace {

constexpr size_t kDumpSize = 32;

// The bytes up to the first that cannot be read; read in the process itself, since the system's
// cross-process read may be unavailable.
std::vector<uint8_t> BytesAt(const void* address) {
    std::vector<uint8_t> bytes(kDumpSize);
    size_t read = 0;
    if (address) {
        const TReadFaultGuard guard;
        const auto* from = static_cast<const uint8_t*>(address);
        while (read < bytes.size() && GuardedRead(from + read, &bytes[read], 1))
            ++read;
    }
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
        return NewStackListWith(errorAddress, StackPointer(), StackBase(),
                                {.RunningThread = true, .ThreadId = GetCurrentThreadId()});
    } catch (const std::exception&) {
        return NewStackListWith(
            errorAddress, StackPointer(), StackBase(),
            {.Resolve = false, .RunningThread = true, .ThreadId = GetCurrentThreadId()});
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
    SYSTEMTIME now{};
    GetLocalTime(&now);
    facts.Date = ReportDate(now);
    facts.OperatingSystem = WindowsTypeName(CurrentWindowsVersion());
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
