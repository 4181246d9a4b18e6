#include "tests/reporter/support/hand_over_lines.h"
#include "reporter/core/options/reporter_module.h"
#include "reporter/core/processing/notifications.h"
#include "runtime/module_names.h"
#include <cstdio>

namespace {

void SayHandedOver(TVessarExceptionRecord& record, bool handled) {
    std::fprintf(stderr, "Vessarion: handed over %s at %08X, %s, thread %lu, %s, to %s: %s\n",
                 record.ExceptionObject->ClassName().c_str(),
                 unsigned(uintptr_t(record.ExceptionAddress)), handled ? "handled" : "unhandled",
                 record.ExceptionThreadID, record.OSExceptionRecord ? "system" : "thrown",
                 ModuleFileName(ReporterModuleHandle()).c_str(),
                 record.ExceptionObject->Message().c_str());
    std::fflush(stderr);
}

} // namespace

void ListenToHandOvers() {
    GlobalLogHandlers().OnException = [](TVessarExceptionRecord& record, bool&) {
        SayHandedOver(record, false);
    };
    GlobalLogHandlers().OnHandledException = [](TVessarExceptionRecord& record, bool&) {
        SayHandedOver(record, true);
    };
}
