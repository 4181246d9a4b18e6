// The runtime's exception objects for system exceptions, and exceptions that nothing handles.
#include "runtime/os_exceptions.h"
#include "runtime/unhandled_exception.h"
#include <exception>
#include <gtest/gtest.h>
#include <memory>

namespace {

[[gnu::noinline]] void SomeCode() {
    asm volatile("");
}

EXCEPTION_RECORD Record(DWORD code, std::initializer_list<ULONG_PTR> arguments = {}) {
    EXCEPTION_RECORD r{};
    r.ExceptionCode = code;
    r.ExceptionAddress = reinterpret_cast<void*>(&SomeCode);
    for (ULONG_PTR a : arguments)
        r.ExceptionInformation[r.NumberParameters++] = a;
    return r;
}

TEST(OSExceptionObjects, ClassAndMessageByCode) {
    char address[16];
    std::snprintf(address, sizeof address, "%08X", unsigned(uintptr_t(&SomeCode)));
    const std::string at = std::string("Access violation at address ") + address +
                           " in module 'tables_unit_tests.exe'. ";
    const struct {
        EXCEPTION_RECORD record;
        const char* className;
        std::string message;
    } cases[] = {
        {Record(EXCEPTION_ACCESS_VIOLATION, {0, 0x10}), "EAccessViolation",
         at + "Read of address 00000010"},
        {Record(EXCEPTION_ACCESS_VIOLATION, {1, 0xDEADBEEF}), "EAccessViolation",
         at + "Write of address DEADBEEF"},
        {Record(EXCEPTION_ACCESS_VIOLATION, {8, 0x401000}), "EAccessViolation",
         at + "Execution of address 00401000"},
        {Record(EXCEPTION_STACK_OVERFLOW), "EStackOverflow", "Stack overflow"},
        {Record(EXCEPTION_INT_DIVIDE_BY_ZERO), "EDivByZero", "Division by zero"},
        {Record(EXCEPTION_FLT_OVERFLOW), "EOverflow", "Floating point overflow"},
        {Record(EXCEPTION_PRIV_INSTRUCTION), "EPrivilege", "Privileged instruction"},
        {Record(0xE0001234, {1, 2, 3}), "EExternalException", "External exception E0001234"},
    };
    EXPECT_EQ(ExceptObjProc, &CreateOSExceptionObject);
    for (const auto& c : cases) {
        std::unique_ptr<Exception> e(ExceptObjProc(&c.record, nullptr));
        EXPECT_EQ(e->ClassName(), c.className);
        EXPECT_EQ(e->Message(), c.message);
        auto* external = dynamic_cast<EExternal*>(e.get());
        ASSERT_NE(external, nullptr);
        EXPECT_EQ(external->ExceptionRecord().ExceptionCode, c.record.ExceptionCode);
    }
    std::unique_ptr<Exception> divide(ExceptObjProc(&cases[4].record, nullptr));
    EXPECT_NE(dynamic_cast<EIntError*>(divide.get()), nullptr);
}

DWORD WINAPI ThrowingThread(void*) {
    throw EAccessViolation("boom", Record(EXCEPTION_ACCESS_VIOLATION));
}

// A thread that throws without a handler ends with code 1; the program goes on.
TEST(UnhandledException, EndsTheThreadNotTheProgram) {
    HANDLE thread = CreateThread(nullptr, 0, ThrowingThread, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    EXPECT_EQ(code, 1u);
}

// Leaves a function that may not throw: no handler is looked for, terminate runs at once.
void RaiseWithoutHandler() noexcept {
    std::rethrow_exception(std::make_exception_ptr(Exception("nobody catches this")));
}

// In the main thread the program halts with exit code 1 after the report.
TEST(UnhandledExceptionDeathTest, HaltsTheProgramFromTheMainThread) {
    EXPECT_EXIT(RaiseWithoutHandler(), ::testing::ExitedWithCode(1),
                "Exception Exception in module tables_unit_tests.exe");
}

} // namespace
