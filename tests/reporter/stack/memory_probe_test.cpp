// Reading memory that cannot be read, or stops being readable while the scan trusts it.
#include "reporter/diagnostics/stack/memory_probe.h"
#include "tests/reporter/stack/scan_support.h"
#include <gtest/gtest.h>

namespace {

constexpr size_t kPage = 4096;

// Two readable pages, the second one made unreadable by a test.
class Unreadable : public ::testing::Test {
  protected:
    void SetUp() override { std::fill_n(reinterpret_cast<uint8_t*>(pages.At(0)), 2 * kPage, 0xAB); }

    TPages pages{2 * kPage, PAGE_READWRITE};
};

TEST_F(Unreadable, AFaultingReadFailsInsteadOfCrashing) {
    pages.Protect(1, 1, PAGE_NOACCESS);
    TReadFaultGuard guard;
    uint8_t bytes[8] = {};
    EXPECT_TRUE(GuardedRead(reinterpret_cast<void*>(pages.At(kPage - 8)), bytes, 8));
    EXPECT_EQ(bytes[7], 0xAB);
    EXPECT_FALSE(GuardedRead(reinterpret_cast<void*>(pages.At(kPage - 4)), bytes, 8));
    EXPECT_FALSE(GuardedRead(reinterpret_cast<void*>(pages.At(kPage)), bytes, 1));
}

TEST_F(Unreadable, TheProbeAsksBeforeReading) {
    TMemoryProbe memory;
    uint32_t word = 0;
    for (DWORD protection : {DWORD(PAGE_NOACCESS), DWORD(PAGE_READWRITE | PAGE_GUARD)}) {
        pages.Protect(1, 1, protection);
        TMemoryProbe fresh;
        EXPECT_TRUE(fresh.Readable(pages.At(kPage - 4), 4));
        EXPECT_FALSE(fresh.Readable(pages.At(kPage - 2), 4));
        EXPECT_FALSE(fresh.Read(pages.At(kPage), word));
        EXPECT_FALSE(fresh.TakeFault()) << "refused, not faulted";
    }
    EXPECT_FALSE(memory.Readable(0, 1));
    EXPECT_FALSE(memory.Readable(UINTPTR_MAX - 1, 4));
}

// Memory freed or protected by another thread after the probe saw it readable.
TEST_F(Unreadable, AFaultAfterTheProbeIsReported) {
    TMemoryProbe memory;
    ASSERT_TRUE(memory.Readable(pages.At(kPage), 4));
    pages.Protect(1, 1, PAGE_NOACCESS);
    uint32_t word = 0;
    EXPECT_FALSE(memory.Read(pages.At(kPage), word));
    EXPECT_TRUE(memory.TakeFault());
    EXPECT_FALSE(memory.TakeFault());
    EXPECT_FALSE(memory.Readable(pages.At(kPage), 4)) << "the region is asked again";
}

} // namespace
