#include "reporter/core/processing/warnings.h"
#include "reporter/core/processing/debugger_output.h"
#include "runtime/format.h"
#include <mutex>
#include <windows.h>

namespace {

constexpr const char* kCodeNames[] = {
    "eeNone",           "eeShowError",       "eeLogError",
    "eeEmailMAPIError", "eeEmailShellError", "eeEmailSMTPError",
    "eeWebHTTPError",   "eeWebHTTPSError",   "eeWebFTPError",
    "eeWebTrakerError",
};

// Warnings come from the processing thread and from a background delivery.
std::mutex& WarningLock() {
    static std::mutex lock;
    return lock;
}

TVessarWarning& Last() {
    static TVessarWarning warning;
    return warning;
}

bool IsDeliveryFailure(TVessarLogErrorCode code) {
    return code >= eeEmailSMTPError && code <= eeWebTrakerError;
}

} // namespace

const char* WarningCodeName(TVessarLogErrorCode code) {
    return kCodeNames[code];
}

std::string WarningMessage(const std::string& place, const std::exception* failure) {
    return failure ? Format("[%s] %s", place.c_str(), failure->what())
                   : Format("General '%s' error.", place.c_str());
}

void ReportWarning(TVessarLogErrorCode code, const std::string& message, const void* address,
                   bool showBox) {
    {
        std::lock_guard<std::mutex> hold(WarningLock());
        Last() = {code, message};
    }
    WriteDebuggerOutput(Format("[WARNING] - Code: %s - Address: %08X - Message: \"%s\"",
                               WarningCodeName(code),
                               unsigned(reinterpret_cast<uintptr_t>(address)), message.c_str()));
    if (showBox && IsDeliveryFailure(code))
        MessageBoxA(nullptr, message.c_str(), "Error.", MB_OK | MB_ICONERROR);
}

TVessarWarning LastWarning() {
    std::lock_guard<std::mutex> hold(WarningLock());
    return Last();
}

void ClearLastWarning() {
    std::lock_guard<std::mutex> hold(WarningLock());
    Last() = {};
}
