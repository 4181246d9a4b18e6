#include "reporter/core/hooking/unit_step.h"
#include "runtime/exception.h"
#include "runtime/format.h"

void RunUnitStep(const char* step, void (*body)()) {
    try {
        body();
    } catch (const std::exception& e) {
        const std::string message = *e.what() ? e.what() : "General internal error.";
        throw Exception(
            Format("Critical error at: \"%s\"\r\nError: \"%s\".", step, message.c_str()));
    }
}
