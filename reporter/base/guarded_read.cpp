#include "reporter/base/guarded_read.h"
#include <cstdint>
#include <windows.h>

// The addresses the handler knows the copy by.
extern "C" const char GuardedCopyRead[] asm("vessar_guarded_copy_read");
extern "C" const char GuardedCopyFault[] asm("vessar_guarded_copy_fault");

namespace {

// A byte-by-byte copy with a single load: a fault leaves the instruction pointer on it, so the
// handler knows the fault as ours and resumes at the failure exit, where the registers saved on
// entry are still on the stack. Returns non-zero when all was copied.
[[gnu::naked, gnu::noinline, gnu::noclone]] int GuardedCopy(void*, const void*, size_t) {
    asm(R"(
        pushl %esi
        pushl %edi
        movl 12(%esp), %edi
        movl 16(%esp), %esi
        movl 20(%esp), %ecx
        movl $1, %eax
        testl %ecx, %ecx
        jz vessar_guarded_copy_end
vessar_guarded_copy_read:
        movb (%esi), %dl
        movb %dl, (%edi)
        incl %esi
        incl %edi
        decl %ecx
        jnz vessar_guarded_copy_read
vessar_guarded_copy_end:
        popl %edi
        popl %esi
        ret
vessar_guarded_copy_fault:
        xorl %eax, %eax
        jmp vessar_guarded_copy_end
)");
}

// The load can raise nothing but a memory fault, whatever code the system (or an emulator)
// gives it; only a debugger's trap that stops there is left to the debugger.
bool IsReadFault(DWORD code) {
    return code != EXCEPTION_SINGLE_STEP && code != EXCEPTION_BREAKPOINT;
}

LONG CALLBACK ResumeFaultedCopy(EXCEPTION_POINTERS* exception) {
    CONTEXT& context = *exception->ContextRecord;
    if (context.Eip != reinterpret_cast<uintptr_t>(GuardedCopyRead) ||
        !IsReadFault(exception->ExceptionRecord->ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;
    context.Eip = reinterpret_cast<uintptr_t>(GuardedCopyFault);
    return EXCEPTION_CONTINUE_EXECUTION;
}

} // namespace

// First in the chain: other handlers would take our fault for the application's.
TReadFaultGuard::TReadFaultGuard() : handler_(AddVectoredExceptionHandler(1, ResumeFaultedCopy)) {}

TReadFaultGuard::~TReadFaultGuard() {
    if (handler_)
        RemoveVectoredExceptionHandler(handler_);
}

bool GuardedRead(const void* from, void* to, size_t size) {
    return GuardedCopy(to, from, size) != 0;
}

bool ReadOwnMemory(const void* from, void* to, size_t size) {
    const TReadFaultGuard guard;
    return GuardedRead(from, to, size);
}
