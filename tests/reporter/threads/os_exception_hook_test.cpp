// The wrapped conversion of system exceptions keeps each thread's last record and context.
#include "reporter/core/interception/os_exception_hook.h"
#include "reporter/core/interception/thread_tracking.h"
#include "runtime/os_exceptions.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(OSExceptionConversion, KeepsTheThreadsLastRecordAndContext) {
    const TExceptObjProc runtimeOwn = ExceptObjProc;
    HookOSExceptionConversion();
    EXCEPTION_RECORD record{};
    record.ExceptionCode = EXCEPTION_INT_DIVIDE_BY_ZERO;
    record.ExceptionAddress = reinterpret_cast<void*>(0x401234);
    CONTEXT context{};
    context.Eip = 0x401234;
    std::unique_ptr<Exception> object(ExceptObjProc(&record, &context));
    EXPECT_EQ(object->ClassName(), "EDivByZero");

    // The thread-naming exception is converted but not kept.
    EXCEPTION_RECORD naming{};
    naming.ExceptionCode = 0x406D1388;
    naming.NumberParameters = 4;
    std::unique_ptr<Exception>(ExceptObjProc(&naming, nullptr));
    // One converted by a thread standing in for another is kept as that thread's.
    EXCEPTION_RECORD other{};
    other.ExceptionCode = EXCEPTION_STACK_OVERFLOW;
    StandInFor(12345);
    std::unique_ptr<Exception>(ExceptObjProc(&other, reinterpret_cast<CONTEXT*>(16)));
    StandInFor(0);

    TOSExceptionState mine = LastOSException(GetCurrentThreadId());
    EXPECT_EQ(mine.Record.ExceptionCode, DWORD(EXCEPTION_INT_DIVIDE_BY_ZERO));
    EXPECT_EQ(mine.Context.Eip, 0x401234u);
    TOSExceptionState theirs = LastOSException(12345);
    EXPECT_EQ(theirs.Record.ExceptionCode, DWORD(EXCEPTION_STACK_OVERFLOW));
    EXPECT_EQ(theirs.Context.Eip, 0u); // an unreadable context is not copied

    UnhookOSExceptionConversion();
    EXPECT_EQ(ExceptObjProc, runtimeOwn);
    EXPECT_EQ(LastOSException(GetCurrentThreadId()).Record.ExceptionCode, 0u);
}

} // namespace
