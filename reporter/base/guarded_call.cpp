#include "reporter/base/guarded_call.h"
#include <exception>

namespace {

// The record the system finds through fs:[0]; it lives on the guarded call's stack, as the
// system requires.
struct TGuardFrame {
    EXCEPTION_REGISTRATION_RECORD Registration; // first: the frame's address is its address
    void* Resume[5];                            // where the call resumes after a fault
    TSystemFault* Fault;
};

// Errors only: a debugger's breakpoint or single step, debug output and other warnings and
// notes go on to whoever expects them.
bool IsError(const EXCEPTION_RECORD& record) {
    constexpr DWORD kSeverityError = 3;
    return (record.ExceptionCode >> 30) == kSeverityError &&
           !(record.ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND));
}

// The system's own unwind: the one in the import table is replaced to keep stacks of the
// program's exceptions, and this is none. The system's unwind does not keep the caller's
// registers, so they are kept here.
void UnwindTo(void* frame, EXCEPTION_RECORD* record) {
    static void* const unwind =
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlUnwind"));
    asm volatile("pushl %%ebp\n\t"
                 "pushl %%ebx\n\t"
                 "pushl %%esi\n\t"
                 "pushl %%edi\n\t"
                 "pushl $0\n\t"
                 "pushl %2\n\t"
                 "pushl $0\n\t"
                 "pushl %1\n\t"
                 "call *%0\n\t"
                 "popl %%edi\n\t"
                 "popl %%esi\n\t"
                 "popl %%ebx\n\t"
                 "popl %%ebp"
                 :
                 : "a"(unwind), "c"(frame), "d"(record)
                 : "memory", "cc");
}

// Inner frames that left the error alone are unwound, then the guarded call resumes with the
// fault.
EXCEPTION_DISPOSITION NTAPI EndGuardedCall(EXCEPTION_RECORD* record, void* frame, CONTEXT* context,
                                           void*) {
    if (!IsError(*record))
        return ExceptionContinueSearch;
    auto* guard = static_cast<TGuardFrame*>(frame);
    guard->Fault->Record = *record;
    guard->Fault->Context = *context;
    UnwindTo(frame, record);
    __builtin_longjmp(guard->Resume, 1);
}

EXCEPTION_REGISTRATION_RECORD* InnermostFrame() {
    EXCEPTION_REGISTRATION_RECORD* frame;
    asm volatile("movl %%fs:0, %0" : "=r"(frame));
    return frame;
}

void SetInnermostFrame(EXCEPTION_REGISTRATION_RECORD* frame) {
    asm volatile("movl %0, %%fs:0" : : "r"(frame) : "memory");
}

// A C++ exception must not leave while the frame is registered: it is kept and thrown again.
[[gnu::noinline]] void RunKeepingThrow(const std::function<void()>& procedure,
                                       std::exception_ptr& thrown) {
    try {
        procedure();
    } catch (...) {
        thrown = std::current_exception();
    }
}

} // namespace

bool CallGuarded(const std::function<void()>& procedure, TSystemFault& fault) {
    TGuardFrame guard{};
    guard.Fault = &fault;
    guard.Registration.Handler = EndGuardedCall;
    guard.Registration.Next = InnermostFrame();
    std::exception_ptr thrown;
    volatile bool returned = false;
    if (__builtin_setjmp(guard.Resume) == 0) {
        SetInnermostFrame(&guard.Registration);
        RunKeepingThrow(procedure, thrown);
        returned = true;
    }
    SetInnermostFrame(guard.Registration.Next);
    if (thrown)
        std::rethrow_exception(thrown);
    return returned;
}

bool CallSwallowingAll(const std::function<void()>& procedure) {
    try {
        TSystemFault fault;
        return CallGuarded(procedure, fault);
    } catch (...) {
        return false;
    }
}
