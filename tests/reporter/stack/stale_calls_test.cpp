// The exception thread's stack without the return addresses that finished calls left on it:
// crafted stacks whose direct calls do or do not lead into the frame above them.
#include "runtime/format.h"
#include "tests/reporter/stack/scan_support.h"
#include <gtest/gtest.h>

namespace {

constexpr size_t kPage = 4096;

// A call instruction and the return address behind it.
struct TSite {
    uintptr_t Call = 0;
    uintptr_t Return = 0;
};

// Procedures A to E named by the lookup, a jump thunk to B and code without names (X). Each
// site's name says who calls whom: "bA" lies in B and calls A.
class StaleCalls : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const auto& [offset, procedure] :
             {std::pair{0x100, "A"}, {0x200, "B"}, {0x300, "C"}, {0x400, "D"}, {0x500, "E"}})
            for (int procLine : {0, 0x10, 0x40, 0x60, 0x80})
                lookup.Name(code.At(offset + procLine), kDetailLine, procedure, procLine);
        const uintptr_t a = code.At(0x100), b = code.At(0x200), c = code.At(0x300),
                        d = code.At(0x400), thunkToB = code.At(0x600), x = code.At(0x700);
        code.Before(0x605, WithWord({0xE9}, uint32_t(b - code.At(0x605))));
        code.Before(0x703, {0x55, 0x8B, 0xEC});
        bA = Direct(0x245, a);
        cB = Direct(0x345, b);
        cThunk = Direct(0x365, thunkToB);
        cX = Direct(0x385, x);
        dC = Direct(0x445, c);
        dA = Direct(0x465, a);
        dRegister = {code.At(0x480), code.Before(0x482, {0xFF, 0xD0})};
        eD = Direct(0x545, d);
    }

    TSite Direct(size_t end, uintptr_t target) {
        return {code.At(end - 5), code.Before(end, code.CallTo(end, target))};
    }

    TCode code;
    TFakeLookup lookup;
    TSite bA, cB, cThunk, cX, dC, dA, dRegister, eD;
};

struct TWord {
    TSite Site;
    bool Kept;
};

std::string Entry(uintptr_t address, int detail) {
    return Format("%08X:%d", unsigned(address), detail);
}

TEST_F(StaleCalls, OnlyFramesOfTheCallChainStay) {
    const struct {
        const char* Name;
        std::vector<TWord> Words; // from the top of the stack down
    } cases[] = {
        {"a chain of direct calls", {{bA, true}, {cB, true}, {dC, true}}},
        {"a finished direct call between two frames", {{bA, true}, {eD, false}, {cB, true}}},
        {"a finished call into the faulting procedure, before its real caller",
         {{dA, false}, {bA, true}, {cB, true}}},
        {"a call through a register between two frames",
         {{bA, true}, {dRegister, false}, {cB, true}}},
        {"a call through a register below the chain", {{bA, true}, {cB, true}, {dRegister, true}}},
        {"a call through a jump thunk", {{bA, true}, {cThunk, true}, {dC, true}}},
        {"a frame whose callee's frame went unseen, confirmed by its caller",
         {{cB, true}, {dC, true}}},
        {"a call into code without names", {{bA, true}, {cX, true}, {dC, true}}},
        {"a finished direct call below the chain", {{bA, true}, {cB, true}, {eD, false}}},
    };
    const uintptr_t error = code.At(0x110);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TStackImage stack(kPage);
        std::vector<std::string> expected{Entry(error, kDetailLine)};
        for (size_t i = 0; i < c.Words.size(); ++i) {
            stack.Set(i, c.Words[i].Site.Return);
            expected.push_back(
                Entry(c.Words[i].Site.Call, c.Words[i].Kept ? kDetailLine : kDetailNothing));
        }
        TVessarStackList list;
        TStackScanParams params = lookup.Params();
        params.CheckCalls = true;
        ScanStackWith(list, reinterpret_cast<void*>(error), stack.Start(), stack.Top(), params);
        EXPECT_EQ(AddressesAndDetails(list), expected);
    }
}

// Without the check, as for other threads' stacks, every call site stays.
TEST_F(StaleCalls, LeftAloneWithoutTheCheck) {
    TStackImage stack(kPage);
    stack.Fill({bA.Return, eD.Return, cB.Return});
    TVessarStackList list;
    TStackScanParams params = lookup.Params();
    ScanStackWith(list, reinterpret_cast<void*>(code.At(0x110)), stack.Start(), stack.Top(),
                  params);
    EXPECT_EQ(Addresses(list), (std::vector<uintptr_t>{code.At(0x110), bA.Call, eD.Call, cB.Call}));
}

} // namespace
