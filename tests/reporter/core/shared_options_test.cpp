#include "reporter/core/options/shared_options.h"
#include "shared_copy_test_support.h"
#include <gtest/gtest.h>

namespace {

// Module handles of no loaded module, one per test, so that the tests share no copy.
HMODULE FakeModule(uintptr_t address) {
    return reinterpret_cast<HMODULE>(address);
}

std::vector<uint8_t> Block(size_t size) {
    std::vector<uint8_t> block(size);
    for (size_t i = 0; i < size; ++i)
        block[i] = static_cast<uint8_t>(i * 7 + 1);
    return block;
}

// Room for a block in a copy: its capacity less the size field and the flag.
constexpr size_t kLargestBlock = kSharedOptionsCapacity - 5;

TEST(SharedOptions, NameIsTheProcessIdThenTheModuleHandleInUpperCaseHex) {
    struct Case {
        DWORD processId;
        uintptr_t module;
        const char* name;
    };
    for (const Case& c :
         {Case{0x1A2B, 0x00400000, "00001A2B00400000"},
          Case{0xABCDEF01, 0x7FFE0000, "ABCDEF017FFE0000"}, Case{0, 0, "0000000000000000"}})
        EXPECT_EQ(SharedOptionsName(c.processId, FakeModule(c.module)), c.name);
}

TEST(SharedOptions, CreatedCopyHasSizeOneAndNoOptions) {
    HMODULE module = FakeModule(0x5A010000);
    CreateSharedOptions(module);
    SharedHeader header = ReadSharedHeader(module);
    EXPECT_EQ(header.usableSize, 1u);
    EXPECT_EQ(header.flag, 0);
    EXPECT_TRUE(ReadSharedOptions(module).empty());
}

TEST(SharedOptions, CopyMadeAtStartCarriesBlocksUpToItsCapacity) {
    HMODULE module = FakeModule(0x5A020000);
    CreateSharedOptions(module);
    for (size_t size : {size_t{1}, size_t{70000}, kLargestBlock}) {
        PublishSharedOptions(module, Block(size));
        EXPECT_EQ(ReadSharedOptions(module), Block(size)) << size;
        EXPECT_EQ(ReadSharedHeader(module).usableSize, size + 1);
    }
}

TEST(SharedOptions, BlockTooLargeLeavesTheCopyWithoutOptions) {
    HMODULE module = FakeModule(0x5A030000);
    PublishSharedOptions(module, Block(100));
    PublishSharedOptions(module, Block(kLargestBlock + 1));
    EXPECT_TRUE(ReadSharedOptions(module).empty());
    EXPECT_EQ(ReadSharedHeader(module).flag, 0);
}

TEST(SharedOptions, DamagedHeadersGiveNoOptions) {
    HMODULE module = FakeModule(0x5A040000);
    struct Case {
        uint32_t usableSize;
        uint8_t flag;
        size_t blockSize; // what a reader gets; 0 for nothing
    };
    for (const Case& c :
         {Case{0, 1, 0}, Case{kSharedOptionsCapacity - 3, 1, 0}, Case{0xFFFFFFFF, 1, 0},
          Case{101, 0, 0}, Case{101, 2, 0}, Case{kSharedOptionsCapacity - 4, 1, kLargestBlock}}) {
        PublishSharedOptions(module, Block(100));
        WriteSharedHeader(module, {c.usableSize, c.flag});
        EXPECT_EQ(ReadSharedOptions(module).size(), c.blockSize) << c.usableSize;
    }
}

TEST(SharedOptions, MappingSmallerThanItsSizeFieldSaysGivesNoOptions) {
    HMODULE module = FakeModule(0x5A050000);
    std::string name = SharedOptionsName(GetCurrentProcessId(), module);
    HANDLE foreign =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, name.c_str());
    ASSERT_NE(foreign, nullptr);
    WriteSharedHeader(module, {70000, 1});
    EXPECT_TRUE(ReadSharedOptions(module).empty());
    CloseHandle(foreign);
}

TEST(SharedOptions, RemovedCopyIsGone) {
    HMODULE module = FakeModule(0x5A060000);
    PublishSharedOptions(module, Block(100));
    RemoveSharedOptions(module);
    EXPECT_TRUE(ReadSharedOptions(module).empty());
    EXPECT_THROW(ReadSharedHeader(module), std::runtime_error);
}

} // namespace
