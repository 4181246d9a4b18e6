// The tracked-threads list: records in and out, threads that end, snapshots that outlive them.
#include "reporter/core/interception/threads_list.h"
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

// A real thread that waits until it is let go.
class WaitingThread {
  public:
    WaitingThread() : go_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        handle_ = CreateThread(nullptr, 0, Wait, go_, 0, &id_);
    }
    ~WaitingThread() {
        End();
        CloseHandle(go_);
    }
    void End() {
        SetEvent(go_);
        WaitForSingleObject(handle_, INFINITE);
    }
    TVessarThreadRecord Record() const {
        TVessarThreadRecord r;
        r.ThreadId = id_;
        DuplicateHandle(GetCurrentProcess(), handle_, GetCurrentProcess(), &r.Handle, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        return r;
    }
    HANDLE Handle() const { return handle_; }
    DWORD Id() const { return id_; }

  private:
    static DWORD WINAPI Wait(void* go) {
        WaitForSingleObject(go, INFINITE);
        return 0;
    }
    HANDLE go_;
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

TEST(ThreadsList, TracksAddsRemovalsResumesAndEndedThreads) {
    TVessarThreadsList list;
    list.AddMainThread();
    auto main = list.Find(GetCurrentThreadId());
    ASSERT_TRUE(main);
    EXPECT_NE(main->Handle, nullptr);
    EXPECT_EQ(main->Priority, kPriorityUnknown);

    WaitingThread first, second;
    list.Add(first.Record());
    list.Add(second.Record());
    EXPECT_EQ(list.Count(), 3u);

    int marker = 0;
    EXPECT_TRUE(list.MarkResumed(second.Handle(), &marker));
    EXPECT_EQ(list.Find(second.Id())->StackPosition, &marker);
    EXPECT_EQ(list.Find(second.Id())->Resumed, 1);

    first.End();
    list.DropEnded();
    EXPECT_FALSE(list.Find(first.Id()));
    EXPECT_TRUE(list.Find(second.Id()));

    EXPECT_TRUE(list.Remove(second.Id()));
    EXPECT_FALSE(list.Remove(second.Id()));
    EXPECT_EQ(list.Count(), 1u);
}

[[gnu::noinline]] void CaptureHere(TVessarThreadRecord& record, uint32_t limit) {
    volatile uint32_t marker = 0xC0FFEE11;
    CaptureCreationStack(record, const_cast<uint32_t*>(&marker), limit);
}

// A snapshot keeps its own copies: the live record may go while a report still reads them.
TEST(ThreadsList, SnapshotOutlivesTheLiveRecords) {
    TVessarThreadsList list;
    WaitingThread thread;
    TVessarThreadRecord record = thread.Record();
    CaptureHere(record, 1u << 20); // never past the stack's base, however much is asked
    ASSERT_GT(record.CreationStackSize, 0u);
    ASSERT_LT(record.CreationStackSize, 1u << 20);
    EXPECT_EQ(*reinterpret_cast<uint32_t*>(record.CreationStack), 0xC0FFEE11u);
    EXPECT_EQ(record.CreatorThreadId, GetCurrentThreadId());
    list.Add(record);

    TVessarThreadsSnapshot snapshot(list);
    list.Remove(thread.Id());
    ASSERT_EQ(snapshot.Records().size(), 1u);
    const TVessarThreadRecord& copy = snapshot.Records()[0];
    EXPECT_EQ(*reinterpret_cast<uint32_t*>(copy.CreationStack), 0xC0FFEE11u);
    EXPECT_EQ(GetThreadId(copy.Handle), thread.Id());
}

// Readers and a writer at once: every reader sees a whole list.
TEST(ThreadsList, ReadersAndAWriterAtOnce) {
    TVessarThreadsList list;
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!stop) {
            TVessarThreadsSnapshot snapshot(list);
            for (const auto& r : snapshot.Records())
                torn += r.ThreadId != GetCurrentProcessId() + 1;
        }
    });
    for (int i = 0; i < 2000; ++i) {
        TVessarThreadRecord r;
        r.ThreadId = GetCurrentProcessId() + 1; // no such thread; never dereferenced
        list.Add(r);
        if (i % 2)
            list.Remove(r.ThreadId);
    }
    stop = true;
    reader.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(list.Count(), 1000u);
}

} // namespace
