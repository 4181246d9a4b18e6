// The threads the crash reporter tracks: every thread the process creates through the hooked
// creation calls, and the main thread. Reports trace each one's stack, and where it was made.
#pragma once
#include "reporter/base/read_write_lock.h"
#include <cstdint>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <vector>
#include <windows.h>

constexpr int32_t kPriorityUnknown = int32_t(0x80000000);

#pragma pack(push, 1)
// One tracked thread, in the layout that modules of one process pass to each other.
struct TVessarThreadRecord {
    uint32_t ThreadId = 0;
    HANDLE Handle = nullptr;
    int32_t Priority = kPriorityUnknown;
    void* ThreadObject = nullptr;  // the runtime's thread object, when the thread is one
    void* StackPosition = nullptr; // when the thread started or was resumed
    void* Routine = nullptr;       // as passed to the creation call
    void* Parameter = nullptr;
    void* StackTop = nullptr;         // the base of its stack, for tracing it later
    uint8_t* CreationStack = nullptr; // the creating thread's stack at the creation call
    uint32_t CreationStackSize = 0;
    uint32_t CreatorThreadId = 0;
    void* CreationAddress = nullptr; // where the creation call was made
    uint8_t Resumed = 0;             // set when the resume hook updated the record
};
#pragma pack(pop)
static_assert(sizeof(TVessarThreadRecord) == 49, "records travel between modules as 49 bytes");

// A copy of the calling thread's stack from `from` upwards (at most `limit` bytes, never past
// the stack's base), owned by the record that receives it.
void CaptureCreationStack(TVessarThreadRecord& record, const void* from, uint32_t limit);

class TVessarThreadsList {
  public:
    // The live list: it owns its records' creation stacks and a multi-reader single-writer lock.
    TVessarThreadsList() = default;
    ~TVessarThreadsList();
    TVessarThreadsList(const TVessarThreadsList&) = delete;
    TVessarThreadsList& operator=(const TVessarThreadsList&) = delete;

    // Enters the calling thread as the main thread, with a handle of its own.
    void AddMainThread();
    void Add(const TVessarThreadRecord& record);
    // False when the thread was not tracked.
    bool Remove(DWORD threadId);
    // The resume hook's update: the thread's stack position, and the resumed mark.
    bool MarkResumed(HANDLE handle, void* stackPosition);
    void SetStackPosition(DWORD threadId, void* stackPosition, void* stackTop);
    // Forgets the threads that have ended.
    void DropEnded();
    std::optional<TVessarThreadRecord> Find(DWORD threadId) const;
    size_t Count() const;

  private:
    friend class TVessarThreadsSnapshot;

    static void Free(TVessarThreadRecord& record);

    mutable TReadWriteLock lock_;
    std::vector<TVessarThreadRecord> records_;
};

// The records of a live list as they were when it was made, with copies of their creation
// stacks and handles of its own: a thread that ends meanwhile cannot take them away from a
// report being written.
class TVessarThreadsSnapshot {
  public:
    explicit TVessarThreadsSnapshot(const TVessarThreadsList& live);
    ~TVessarThreadsSnapshot();
    TVessarThreadsSnapshot(TVessarThreadsSnapshot&&) = default;
    TVessarThreadsSnapshot(const TVessarThreadsSnapshot&) = delete;
    TVessarThreadsSnapshot& operator=(const TVessarThreadsSnapshot&) = delete;

    const std::vector<TVessarThreadRecord>& Records() const { return records_; }

  private:
    std::vector<TVessarThreadRecord> records_;
    std::vector<std::vector<uint8_t>> stacks_;
};
