#include "reporter/core/processing/suspended_thread.h"
#include "reporter/base/guarded_read.h"

namespace {

constexpr DWORD kControlAndIntegerRegisters = CONTEXT_i386 | CONTEXT_CONTROL | CONTEXT_INTEGER;

// The system's own call: the one in the import table is replaced to record the application's
// resumes, and this is none.
DWORD ResumeUntracked(HANDLE thread) {
    static const auto resume = reinterpret_cast<decltype(&ResumeThread)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "ResumeThread")));
    return resume(thread);
}

// What ntdll answers about a thread (its information class 0).
struct TThreadBasicInformation {
    LONG ExitStatus;
    const NT_TIB* Tib;
    void* ClientId[2];
    ULONG_PTR AffinityMask;
    LONG Priority;
    LONG BasePriority;
};
constexpr int kThreadBasicInformation = 0;

// Asked of the system rather than read through the thread's FS selector: Wine answers a
// selector lookup with the calling thread's block.
const NT_TIB* TibOf(HANDLE thread) {
    using QueryProc = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static const auto query = reinterpret_cast<QueryProc>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
    TThreadBasicInformation information{};
    return query && query(thread, kThreadBasicInformation, &information, sizeof information,
                          nullptr) == 0
               ? information.Tib
               : nullptr;
}

} // namespace

TSuspendedThread::TSuspendedThread(HANDLE thread)
    : thread_(thread), suspended_(SuspendThread(thread) != DWORD(-1)) {}

TSuspendedThread::~TSuspendedThread() {
    if (suspended_)
        ResumeUntracked(thread_);
}

bool TSuspendedThread::ReadContext(CONTEXT& context) const {
    context = CONTEXT{};
    context.ContextFlags = kControlAndIntegerRegisters;
    return suspended_ && GetThreadContext(thread_, &context);
}

void* TSuspendedThread::StackBase() const {
    const NT_TIB* tib = suspended_ ? TibOf(thread_) : nullptr;
    void* base = nullptr;
    return tib && ReadOwnMemory(&tib->StackBase, &base, sizeof base) ? base : nullptr;
}
