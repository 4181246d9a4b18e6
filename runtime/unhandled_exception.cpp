#include "runtime/unhandled_exception.h"
#include "runtime/foreign_exception.h"
#include "runtime/format.h"
#include "runtime/module_names.h"
#include "runtime/program.h"
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

std::terminate_handler previousTerminate = nullptr;

[[noreturn]] void TerminateWithExceptProc() {
    try {
        if (std::exception_ptr inFlight = std::current_exception())
            std::rethrow_exception(inFlight);
        ExceptProc(nullptr);
    } catch (const Exception& e) {
        ExceptProc(&e);
    } catch (...) {
        const Exception foreign = ForeignException();
        ExceptProc(&foreign);
    }
    std::abort(); // an ExceptProc that returned
}

} // namespace

DWORD MainThreadID = 0;
TExceptProc ExceptProc = ReportUnhandledException;

void ReportUnhandledException(const Exception* object) {
    const std::string className = object ? object->ClassName() : "(not an Exception)";
    const std::string message = object ? object->Message() : "";
    std::fputs(Format("Exception %s in module %s.\r\n%s.\r\n", className.c_str(),
                      ModuleFileName(nullptr).c_str(), message.c_str())
                   .c_str(),
               stderr);
    std::fflush(stderr);
    EndAfterUnhandledException(1);
}

void EndAfterUnhandledException(int exitCode) {
    if (GetCurrentThreadId() == MainThreadID)
        Halt(exitCode);
    ExitThread(DWORD(exitCode));
}

void InstallTerminateHandler() {
    MainThreadID = GetCurrentThreadId();
    previousTerminate = std::set_terminate(TerminateWithExceptProc);
}

void RestoreTerminateHandler() {
    std::set_terminate(previousTerminate);
}
