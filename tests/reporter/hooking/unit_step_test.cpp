// A failing start-up or shut-down step of the crash reporter names itself.
#include "reporter/core/interception/hooking/unit_step.h"
#include "runtime/exception.h"
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

std::string Failure(void (*body)()) {
    try {
        RunUnitStep("ExceptionLog.Init", body);
    } catch (const Exception& e) {
        return e.Message();
    }
    return "";
}

TEST(UnitStep, NamesTheStepAndTheError) {
    EXPECT_EQ(Failure([] { throw Exception("Cannot hook the procedure \"__cxa_throw\"."); }),
              "Critical error at: \"ExceptionLog.Init\"\r\nError: \"Cannot hook the procedure "
              "\"__cxa_throw\".\".");
    EXPECT_EQ(Failure([] { throw std::runtime_error(""); }),
              "Critical error at: \"ExceptionLog.Init\"\r\nError: \"General internal error.\".");
    EXPECT_EQ(Failure([] {}), "");
}

std::string reported;

TEST(UnitStep, GoesToTheInternalErrorHandlerOnceOneIsInstalled) {
    void (*body)() = [] { throw Exception("no room"); };
    SetInternalErrorHandler([](const char* text) { reported = text; });
    EXPECT_THROW(RunUnitStep("ExceptionLog.Done", body), EAbort);
    SetInternalErrorHandler(nullptr);
    char expected[64];
    std::snprintf(expected, sizeof expected, "ExceptionLog.Done (Address: %08X)",
                  unsigned(reinterpret_cast<uintptr_t>(body)));
    EXPECT_EQ(reported, expected);
}

} // namespace
