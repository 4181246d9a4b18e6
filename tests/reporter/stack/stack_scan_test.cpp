// Scans of crafted stacks: what is entered, in which order, and what the clean-up leaves.
#include "reporter/diagnostics/stack/stack_entry.h"
#include "runtime/format.h"
#include "runtime/module_names.h"
#include "tests/reporter/stack/scan_support.h"
#include <gtest/gtest.h>

namespace {

constexpr size_t kPage = 4096;
constexpr size_t kWindow = 102400;

// Procedures in executable memory: Inner, Middle calling Inner, Outer calling Middle, and Old,
// whose call through a register left its return address behind long ago. The lookup names
// them, each entry point at ProcLine 0.
class CraftedStack : public ::testing::Test {
  protected:
    void SetUp() override {
        inner = code.At(0x100);
        middle = code.At(0x200);
        code.Before(0x103, {0x55, 0x8B, 0xEC});
        code.Before(0x203, {0x55, 0x8B, 0xEC});
        intoMiddle = code.Before(0x245, code.CallTo(0x245, inner));
        intoOuter = code.Before(0x345, code.CallTo(0x345, middle));
        intoOld = code.Before(0x442, {0xFF, 0xD0});
        for (const auto& [offset, procedure] :
             {std::pair{0x100, "Inner"}, {0x200, "Middle"}, {0x300, "Outer"}, {0x400, "Old"}})
            for (int procLine : {0, 0x10, 0x40})
                lookup.Name(code.At(offset + procLine), kDetailLine, procedure, procLine);
    }

    TCode code;
    TFakeLookup lookup;
    uintptr_t inner = 0, middle = 0, intoMiddle = 0, intoOuter = 0, intoOld = 0;
};

std::string Entry(uintptr_t address, int detail) {
    return Format("%08X:%d", unsigned(address), detail);
}

TEST_F(CraftedStack, CallsFollowedAndCleanedUp) {
    TStackImage stack(kPage);
    TPages unreadable(kPage, PAGE_NOACCESS);
    // Words that are no return addresses: numbers, a code address behind no call, addresses
    // whose bytes cannot be read, a stack address.
    stack.Fill({0, 7, intoMiddle, code.At(0x180), intoMiddle, 0xFFFFFFFF, intoOld, unreadable.At(3),
                intoOuter, stack.At(16)});
    TVessarStackList list;
    TStackScanParams params = lookup.Params();
    params.FollowCalls = true;
    const auto error = reinterpret_cast<void*>(code.At(0x110));
    ScanStackWith(list, error, stack.Start(), stack.Top(), params);
    const int kMarked = kDetailNothing;
    EXPECT_EQ(AddressesAndDetails(list),
              (std::vector<std::string>{
                  Entry(code.At(0x110), kDetailLine), // the error, inside Inner
                  Entry(inner, kMarked),              // repeated below
                  Entry(intoMiddle - 5, kMarked),
                  Entry(inner, kDetailLine), // Inner's entry point, reached from Middle
                  Entry(intoMiddle - 5, kDetailLine),
                  Entry(intoOld - 2, kMarked), // stale: inside Middle's frame
                  Entry(middle, kDetailLine), Entry(intoOuter - 5, kDetailLine)}));
    EXPECT_TRUE(list[0].ErrorAddress);
}

TEST_F(CraftedStack, OnlyTheWindowAboveTheStartIsScanned) {
    TStackImage stack(kWindow + 2 * kPage);
    for (size_t offset : {size_t(0), kWindow, kWindow + 4})
        stack.Set(offset / 4, intoOld);
    TVessarStackList list;
    TStackScanParams params = lookup.Params();
    ScanStackWith(list, nullptr, stack.Start(), stack.Top(), params);
    EXPECT_EQ(Addresses(list), (std::vector<uintptr_t>{intoOld - 2, intoOld - 2}));
}

TEST_F(CraftedStack, StartAboveTheTopEntersTheErrorAlone) {
    TStackImage stack(kPage);
    stack.Set(0, intoOld);
    TVessarStackList list;
    TStackScanParams params = lookup.Params();
    ScanStackWith(list, reinterpret_cast<void*>(inner), stack.Top(), stack.Start(), params);
    EXPECT_EQ(Addresses(list), std::vector<uintptr_t>{inner});
}

TEST_F(CraftedStack, AListStopsGrowingAfter1025Entries) {
    TStackImage stack(2 * kPage);
    for (size_t i = 0; i < 2 * kPage / 4; ++i)
        stack.Set(i, intoOld);
    TVessarStackList list;
    TStackScanParams params = lookup.Params();
    ScanStackWith(list, nullptr, stack.Start(), stack.Top(), params);
    EXPECT_EQ(list.Count(), kStackListLimit + 1);
    ScanStackWith(list, reinterpret_cast<void*>(inner), stack.Start(), stack.Top(), params);
    EXPECT_EQ(list.Count(), kStackListLimit + 1) << "not even an error address is added";
}

// Pages that cannot be read in the middle of a stack: skipped, and a guard page keeps its guard.
TEST_F(CraftedStack, UnreadablePagesAreSkipped) {
    for (DWORD protection : {DWORD(PAGE_NOACCESS), DWORD(PAGE_READWRITE | PAGE_GUARD)}) {
        SCOPED_TRACE(protection);
        TStackImage stack(3 * kPage);
        for (size_t i = kPage / 4 - 1; i <= 2 * kPage / 4; ++i)
            stack.Set(i, intoOld);
        stack.Protect(1, 1, protection);
        TVessarStackList list;
        TStackScanParams params = lookup.Params();
        ScanStackWith(list, nullptr, stack.Start(), stack.Top(), params);
        EXPECT_EQ(Addresses(list), (std::vector<uintptr_t>{intoOld - 2, intoOld - 2}));
        MEMORY_BASIC_INFORMATION info{};
        VirtualQuery(reinterpret_cast<void*>(stack.At(kPage)), &info, sizeof info);
        EXPECT_EQ(info.Protect, protection);
    }
}

TEST(ModuleOnlyEntries, WithoutLookupAnEntryNamesItsModule) {
    TCode code;
    const HMODULE program = GetModuleHandleA(nullptr);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto inProgram = reinterpret_cast<void*>(&ModuleAt);
    const auto inKernel = reinterpret_cast<void*>(GetProcAddress(kernel, "GetTickCount"));
    const auto inNoModule = reinterpret_cast<void*>(code.At(0x10));
    const struct {
        void* Address;
        HMODULE Module; // null: none
    } cases[] = {{inProgram, program}, {inKernel, kernel}, {inNoModule, nullptr}};
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.Address);
        TVessarStackList list;
        TStackScanParams unresolved{.Resolve = false, .RunningThread = true, .ThreadId = 77};
        ScanStackWith(list, entry.Address, nullptr, nullptr, unresolved);
        ASSERT_EQ(list.Count(), 1u);
        const TVessarDebugInfo& found = list[0];
        EXPECT_EQ(found.Addr, reinterpret_cast<uintptr_t>(entry.Address));
        EXPECT_TRUE(found.ErrorAddress && found.RunningThread);
        EXPECT_EQ(found.ThreadId, 77u);
        if (!entry.Module) {
            EXPECT_EQ(found.Detail, kDetailNothing);
            EXPECT_EQ(found.Module, nullptr);
            continue;
        }
        EXPECT_EQ(found.Detail, kDetailModule);
        ASSERT_NE(found.Module, nullptr);
        EXPECT_EQ(found.Module->Handle, entry.Module);
        EXPECT_EQ(found.Module->FileName, ModulePath(entry.Module));
    }
}

// Five call sites, looked up with Details 0 to 4.
class KeptEntries : public CraftedStack {
  protected:
    void SetUp() override {
        CraftedStack::SetUp();
        for (uint8_t detail = 0; detail <= kDetailLine; ++detail) {
            const size_t end = 0x1000 + 0x20 * detail;
            sites.push_back(code.Before(end, {0xFF, 0xD0}) - 2);
            lookup.Name(sites.back(), detail, "Site", 1);
            stack.Set(detail, sites.back() + 2);
        }
    }
    std::vector<uintptr_t> Scan(uint32_t allowed, int firstLevel, int maxCount) {
        TVessarStackList list;
        TStackScanParams params = lookup.Params();
        params.AllowedDetails = allowed;
        params.FirstLevel = firstLevel;
        params.MaxCount = maxCount;
        ScanStackWith(list, nullptr, stack.Start(), stack.Top(), params);
        return Addresses(list);
    }
    std::vector<uintptr_t> Sites(std::initializer_list<int> details) const {
        std::vector<uintptr_t> chosen;
        for (int detail : details)
            chosen.push_back(sites[detail]);
        return chosen;
    }

    TStackImage stack{kPage};
    std::vector<uintptr_t> sites; // by Detail
};

TEST_F(KeptEntries, OnlyAllowedDetailsAreKept) {
    EXPECT_EQ(Scan(kAllDetails, -1, -1), Sites({0, 1, 2, 3, 4}));
    EXPECT_EQ(Scan(16, -1, -1), Sites({4}));
    EXPECT_EQ(Scan(20, -1, -1), Sites({2, 4}));
    EXPECT_EQ(Scan(0x1E, -1, -1), Sites({1, 2, 3, 4}));
    EXPECT_EQ(Scan(0xFFFFFFE0, -1, -1), Sites({}));
}

TEST_F(KeptEntries, LevelsCountAcceptedEntriesFromOne) {
    const struct {
        uint32_t Allowed;
        int FirstLevel, MaxCount;
        std::vector<uintptr_t> Kept;
    } cases[] = {
        {kAllDetails, -1, 2, Sites({0, 1, 2, 3, 4})}, // -1 keeps every one
        {kAllDetails, 2, 2, Sites({1, 2})},
        {kAllDetails, 4, -1, Sites({3, 4})},
        {kAllDetails, 0, 1, Sites({0})},
        {kAllDetails, 1, 0, Sites({})},
        {0x1D, 2, 2, Sites({2, 3})}, // Detail 1 is not accepted and does not count
    };
    for (const auto& levels : cases) {
        SCOPED_TRACE(::testing::Message() << levels.Allowed << " from " << levels.FirstLevel
                                          << " at most " << levels.MaxCount);
        EXPECT_EQ(Scan(levels.Allowed, levels.FirstLevel, levels.MaxCount), levels.Kept);
    }
}

} // namespace
