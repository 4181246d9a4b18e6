#include "reporter/core/interception/raise_imports.h"
#include "reporter/core/interception/delegation.h"
#include "reporter/core/interception/raise_state.h"
#include "runtime/os_exceptions.h"
#include <windows.h>

namespace {

// Faults worth a stack snapshot: access violation and the others up to the stack buffer
// overrun, as their handlers unwind them.
constexpr DWORD kFirstUnwoundFault = 0xC0000005;
constexpr DWORD kLastUnwoundFault = 0xC000013A;

using RaiseExceptionProc = decltype(&RaiseException);
using RtlUnwindProc = void(WINAPI*)(void*, void*, EXCEPTION_RECORD*, void*);
RaiseExceptionProc originalRaiseException = nullptr;
RtlUnwindProc originalRtlUnwind = nullptr;

void WINAPI RaiseExceptionHook(DWORD code, DWORD flags, DWORD count, const ULONG_PTR* arguments) {
    EXCEPTION_RECORD record{};
    record.ExceptionCode = code;
    record.NumberParameters = count;
    if (!IsThreadNamingException(record)) {
        void** frame = static_cast<void**>(__builtin_frame_address(0));
        RecordRaise(TRaiseKind::System, __builtin_return_address(0), frame + 2, frame[0]);
    }
    originalRaiseException(code, flags, count, arguments);
}

void WINAPI RtlUnwindHook(void* targetFrame, void* targetIp, EXCEPTION_RECORD* record,
                          void* returnValue) {
    if (record && record->ExceptionCode >= kFirstUnwoundFault &&
        record->ExceptionCode <= kLastUnwoundFault)
        KeepUnwoundStack(record->ExceptionAddress, __builtin_frame_address(0));
    originalRtlUnwind(targetFrame, targetIp, record, returnValue);
}

} // namespace

void HookRaiseImports() {
    ReplaceKernelImport("RaiseException", &RaiseExceptionHook, originalRaiseException);
    ReplaceKernelImport("RtlUnwind", &RtlUnwindHook, originalRtlUnwind);
}
