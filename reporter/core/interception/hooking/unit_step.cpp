#include "reporter/core/interception/hooking/unit_step.h"
#include "runtime/exception.h"
#include "runtime/format.h"
#include <atomic>
#include <cstdint>

namespace {

std::atomic<TInternalErrorHandler> internalErrorHandler{nullptr};

} // namespace

void SetInternalErrorHandler(TInternalErrorHandler handler) {
    internalErrorHandler = handler;
}

void RunUnitStep(const char* step, void (*body)()) {
    try {
        body();
    } catch (const std::exception& e) {
        if (TInternalErrorHandler handler = internalErrorHandler) {
            handler(Format("%s (Address: %08X)", step, unsigned(reinterpret_cast<uintptr_t>(body)))
                        .c_str());
            throw EAbort();
        }
        const std::string message = *e.what() ? e.what() : "General internal error.";
        throw Exception(
            Format("Critical error at: \"%s\"\r\nError: \"%s\".", step, message.c_str()));
    }
}
