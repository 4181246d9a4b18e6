// Warnings: failures the crash reporter meets while it presents, saves or sends a report, and
// goes on after. The last one is kept for the report and the sending code.
#pragma once
#include <exception>
#include <string>

enum TVessarLogErrorCode {
    eeNone,
    eeShowError,
    eeLogError,
    eeEmailMAPIError,
    eeEmailShellError,
    eeEmailSMTPError,
    eeWebHTTPError,
    eeWebHTTPSError,
    eeWebFTPError,
    eeWebTrakerError,
};

struct TVessarWarning {
    TVessarLogErrorCode Code = eeNone;
    std::string Message;
};

// The code's name, e.g. "eeLogError".
const char* WarningCodeName(TVessarLogErrorCode code);

// The message of a failure met at `place` ("Log", "GUI", ...): "[<place>] <message>" for an
// exception object, "General '<place>' error." for anything else (null).
std::string WarningMessage(const std::string& place, const std::exception* failure);

// Keeps the warning as the last one and writes it to the debugger output with `address`, the
// address of the exception being processed. A failure of delivery (eeEmailSMTPError to
// eeWebTrakerError) is also shown in a message box when `showBox` is set.
void ReportWarning(TVessarLogErrorCode code, const std::string& message, const void* address,
                   bool showBox = false);

TVessarWarning LastWarning();
void ClearLastWarning();
