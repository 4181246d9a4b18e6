#include "reporter/core/processing/internal_error.h"
#include "reporter/base/binary_file.h"
#include "reporter/base/file_access.h"
#include "reporter/base/path_names.h"
#include "reporter/core/interception/raise_state.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/options/reporter_version.h"
#include "reporter/core/options/system_folders.h"
#include "reporter/core/processing/debugger_output.h"
#include "reporter/core/processing/internal_error_facts.h"
#include "reporter/core/processing/support_mail.h"
#include "runtime/format.h"
#include "runtime/module_names.h"
#include "runtime/type_name.h"
#include <typeinfo>
#include <windows.h>

namespace {

constexpr char kSupportAddress[] = "support@vessarion-reports.example";
constexpr ptrdiff_t kRaiseCallSize = 5;
// The socket client's failures are delivery's to report, as warnings. Its class is named here,
// not included: the crash reporter's core does not depend on the socket client.
constexpr char kSocketFailureClass[] = "EVessarSocketError";

bool Unreported(const std::exception* failure) {
    return failure && (dynamic_cast<const EAbort*>(failure) ||
                       UnqualifiedTypeName(typeid(*failure)) == kSocketFailureClass);
}

// At shut-down the options may be gone before the last step that can fail.
bool InDevelopmentEnvironment() {
    try {
        return HostIsDevelopmentEnvironment();
    } catch (const std::exception&) {
        return false;
    }
}

bool DeveloperCanLook() {
    return IsDebuggerPresent() || InDevelopmentEnvironment();
}

const void* RaisingCall(const void* address, bool raisedByRuntime) {
    return raisedByRuntime && address ? static_cast<const uint8_t*>(address) - kRaiseCallSize
                                      : address;
}

std::string InternalErrorFileName() {
    return WritableLocation(WithExtension(ModulePath(nullptr), ".log"), ExecutableFilesFolder());
}

bool SaveText(const std::string& fileName, const std::string& text) {
    try {
        WriteNewFile(fileName, std::vector<uint8_t>(text.begin(), text.end()));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void OfferToMail(const std::string& message, const std::string& fileName) {
    const std::string question = Format("Error: '%s'\r\n\r\nThis is an internal Vessarion bug.\r\n"
                                        "Do you want to send the bug information to Vessarion "
                                        "author?",
                                        message.c_str());
    if (MessageBoxA(nullptr, question.c_str(), "Probably internal bug", MB_YESNO | MB_ICONERROR) !=
        IDYES)
        return;
    const std::string subject = Format("Vessarion %s critical bug.", kReporterVersion);
    if (SendFileByMapi(kSupportAddress, subject, subject, fileName))
        return;
    const std::string manually = Format(
        "Cannot connect with your email client.\r\nSend manually the \"%s\" file to the %s email "
        "address, after click on OK button to close this box.",
        fileName.c_str(), kSupportAddress);
    MessageBoxA(nullptr, manually.c_str(), "Information", MB_OK | MB_ICONINFORMATION);
}

void Report(const std::string& section, const std::exception* failure, const void* address,
            const std::string& processedClass) {
    const std::string message = InternalFailureMessage(failure);
    WriteDebuggerOutput(Format("[ERROR] - Section: %s - Address: %08X - Message: \"%s\"",
                               section.c_str(), unsigned(reinterpret_cast<uintptr_t>(address)),
                               message.c_str()));
    const std::string fileName = InternalErrorFileName();
    const std::string text =
        InternalErrorText(GatherInternalErrorFacts(section, failure, address, processedClass));
    if (SaveText(fileName, text))
        OfferToMail(message, fileName);
}

} // namespace

void ReportInternalError(const std::string& section, const std::exception* failure,
                         const void* address, bool raisedByRuntime,
                         const std::string& processedClass) {
    try {
        if (!Unreported(failure) && DeveloperCanLook())
            Report(section, failure, RaisingCall(address, raisedByRuntime), processedClass);
    } catch (...) {
        // The last resort has no one left to tell.
    }
}

void ReportInternalErrorAtLastRaise(const std::string& section, const std::exception* failure) {
    ReportInternalError(section, failure, LastRaise().Address, true, "");
}
