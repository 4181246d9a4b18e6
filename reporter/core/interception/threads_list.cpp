#include "reporter/core/interception/threads_list.h"
#include "reporter/base/thread_stack.h"
#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

bool Ended(HANDLE thread) {
    DWORD code = 0;
    return !GetExitCodeThread(thread, &code) || code != STILL_ACTIVE;
}

} // namespace

void CaptureCreationStack(TVessarThreadRecord& record, const void* from, uint32_t limit) {
    const uint32_t size = uint32_t(LiveStackBytes(from, limit));
    if (size == 0)
        return;
    record.CreationStack = new uint8_t[size];
    std::memcpy(record.CreationStack, from, size);
    record.CreationStackSize = size;
    record.CreatorThreadId = GetCurrentThreadId();
}

TVessarThreadsList::~TVessarThreadsList() {
    for (auto& record : records_)
        Free(record);
}

void TVessarThreadsList::Free(TVessarThreadRecord& record) {
    delete[] record.CreationStack;
    record.CreationStack = nullptr;
    if (record.Handle)
        CloseHandle(record.Handle);
    record.Handle = nullptr;
}

void TVessarThreadsList::AddMainThread() {
    TVessarThreadRecord main;
    main.ThreadId = GetCurrentThreadId();
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &main.Handle, 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
    main.StackTop = StackBase();
    Add(main);
}

void TVessarThreadsList::Add(const TVessarThreadRecord& record) {
    std::unique_lock hold(lock_);
    records_.push_back(record);
}

bool TVessarThreadsList::Remove(DWORD threadId) {
    std::unique_lock hold(lock_);
    auto found = std::find_if(records_.begin(), records_.end(),
                              [&](const auto& r) { return r.ThreadId == threadId; });
    if (found == records_.end())
        return false;
    Free(*found);
    records_.erase(found);
    return true;
}

bool TVessarThreadsList::MarkResumed(HANDLE handle, void* stackPosition) {
    const DWORD threadId = GetThreadId(handle);
    std::unique_lock hold(lock_);
    for (auto& record : records_)
        if (record.Handle == handle || record.ThreadId == threadId) {
            record.StackPosition = stackPosition;
            record.Resumed = 1;
            return true;
        }
    return false;
}

void TVessarThreadsList::SetStackPosition(DWORD threadId, void* stackPosition, void* stackTop) {
    std::unique_lock hold(lock_);
    for (auto& record : records_)
        if (record.ThreadId == threadId) {
            record.StackPosition = stackPosition;
            record.StackTop = stackTop;
        }
}

void TVessarThreadsList::DropEnded() {
    std::unique_lock hold(lock_);
    auto ended = std::stable_partition(records_.begin(), records_.end(),
                                       [](const auto& r) { return !Ended(r.Handle); });
    for (auto it = ended; it != records_.end(); ++it)
        Free(*it);
    records_.erase(ended, records_.end());
}

std::optional<TVessarThreadRecord> TVessarThreadsList::Find(DWORD threadId) const {
    std::shared_lock hold(lock_);
    for (const auto& record : records_)
        if (record.ThreadId == threadId)
            return record;
    return std::nullopt;
}

size_t TVessarThreadsList::Count() const {
    std::shared_lock hold(lock_);
    return records_.size();
}

TVessarThreadsSnapshot::TVessarThreadsSnapshot(const TVessarThreadsList& live) {
    std::shared_lock hold(live.lock_);
    records_ = live.records_;
    stacks_.reserve(records_.size());
    for (auto& record : records_) {
        stacks_.emplace_back(record.CreationStack, record.CreationStack + record.CreationStackSize);
        record.CreationStack = record.CreationStackSize ? stacks_.back().data() : nullptr;
        HANDLE own = nullptr;
        DuplicateHandle(GetCurrentProcess(), record.Handle, GetCurrentProcess(), &own, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        record.Handle = own;
    }
}

TVessarThreadsSnapshot::~TVessarThreadsSnapshot() {
    for (const auto& record : records_)
        if (record.Handle)
            CloseHandle(record.Handle);
}
