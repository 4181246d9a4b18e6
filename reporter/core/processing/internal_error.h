// The crash reporter's report of its own failures. It shows only where a developer can look: in
// the development environment, or with a debugger attached; anywhere else a failure of the
// crash reporter leaves no trace.
#pragma once
#include <exception>
#include <string>

// Reports a failure met in `section` (a processing section number, or the name of the step
// that failed): `failure` is the exception object, null when the failure is none; `address`
// where it was raised (just behind the raising call when `raisedByRuntime`); `processedClass`
// the class of the exception being processed, if any. An EAbort and a socket failure are not
// reported. Otherwise: a line to the debugger output, the diagnostic text saved beside the
// program as "<program>.log" (or in the crash reporter's folder for the program), and the
// offer to mail that file to the crash reporter's support. Never raises.
void ReportInternalError(const std::string& section, const std::exception* failure,
                         const void* address, bool raisedByRuntime,
                         const std::string& processedClass);

// The same for a failure the calling thread handles now, raised where the thread raised last.
void ReportInternalErrorAtLastRaise(const std::string& section, const std::exception* failure);
