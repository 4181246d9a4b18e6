#include "reporter/core/interception/os_exception_hook.h"
#include "reporter/core/interception/emulated_access_violation.h"
#include "reporter/core/interception/raise_state.h"
#include "reporter/core/interception/thread_tracking.h"
#include "runtime/os_exceptions.h"
#include <cstddef>
#include <cstring>
#include <map>
#include <mutex>

namespace {

// The processor context without the extended registers, which not every context carries.
constexpr size_t kContextBytes = offsetof(CONTEXT, ExtendedRegisters);
static_assert(kContextBytes == 204 && sizeof(EXCEPTION_RECORD) == 80, "the 32-bit layouts");

TExceptObjProc replaced = nullptr;

std::mutex& StatesLock() {
    static std::mutex lock;
    return lock;
}

std::map<DWORD, TOSExceptionState>& States() {
    static std::map<DWORD, TOSExceptionState> states;
    return states;
}

bool Readable(const void* address, size_t size) {
    MEMORY_BASIC_INFORMATION info;
    if (!address || !VirtualQuery(address, &info, sizeof info) || info.State != MEM_COMMIT ||
        (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)))
        return false;
    const auto end = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    return static_cast<const char*>(address) + size <= end;
}

// An access violation that an emulator reported as an illegal instruction is converted, kept
// and reported as the access violation it was.
Exception* ConvertAndKeep(const EXCEPTION_RECORD* record, const CONTEXT* context) {
    EXCEPTION_RECORD recognised;
    if (Readable(context, kContextBytes) &&
        RecogniseEmulatedAccessViolation(*record, *context, recognised))
        record = &recognised;
    Exception* object = replaced(record, context);
    if (IsThreadNamingException(*record))
        return object;
    NoteSystemException();
    TOSExceptionState kept{};
    std::memcpy(&kept.Record, record, sizeof kept.Record);
    if (Readable(context, kContextBytes))
        std::memcpy(&kept.Context, context, kContextBytes);
    std::lock_guard<std::mutex> hold(StatesLock());
    States()[ThreadServed()] = kept;
    return object;
}

} // namespace

void HookOSExceptionConversion() {
    replaced = ExceptObjProc;
    ExceptObjProc = ConvertAndKeep;
}

void UnhookOSExceptionConversion() {
    if (replaced)
        ExceptObjProc = replaced;
    replaced = nullptr;
    std::lock_guard<std::mutex> hold(StatesLock());
    States().clear();
}

TOSExceptionState LastOSException(DWORD threadId) {
    std::lock_guard<std::mutex> hold(StatesLock());
    auto found = States().find(threadId);
    return found == States().end() ? TOSExceptionState{} : found->second;
}
