// Which words of a stack count as return addresses: the call forms, and where each is entered.
#include "tests/reporter/stack/scan_support.h"
#include <gtest/gtest.h>
#include <optional>

namespace {

constexpr size_t kSlot = 0x20;

// Scans a stack holding one word; the addresses entered.
std::vector<uintptr_t> ScanWord(uintptr_t word, bool followCalls) {
    std::vector<uint32_t> stack{uint32_t(word)};
    TVessarStackList list;
    TFakeLookup lookup;
    TStackScanParams params = lookup.Params();
    params.FollowCalls = followCalls;
    ScanStackWith(list, nullptr, stack.data(),
                  reinterpret_cast<const uint8_t*>(stack.data()) + sizeof(uint32_t) - 1, params);
    return Addresses(list);
}

struct TFormCase {
    const char* Form;
    std::vector<uint8_t> Bytes;       // ending at the return address
    std::optional<size_t> CallLength; // the call starts this far before it; none: no call
};

TEST(CallForms, EachFormIsEnteredAtItsCallInstruction) {
    TCode code;
    const uintptr_t readable = code.At(0);
    const std::vector<TFormCase> cases = {
        {"call edx", {0xFF, 0xD2}, 2},
        {"call [ebx]", {0xFF, 0x13}, 2},
        {"call [edi]", {0xFF, 0x17}, 2},
        {"FF 14 needs its SIB byte", {0xFF, 0x14}, std::nullopt},
        {"FF 15 needs its address", {0xFF, 0x15}, std::nullopt},
        {"call [eax+8] after a load", {0x8B, 0x45, 0x08, 0xFF, 0x50, 0x08}, 3},
        {"call [esi+8] after a short load", {0x8B, 0x06, 0xFF, 0x56, 0x08}, 3},
        {"call [ebp+8] without a load", {0xFF, 0x55, 0x08}, std::nullopt},
        // Bytes that also read as call [edx+disp32] are not tried further.
        {"call [edx+4] lookalike without a load",
         {0xFF, 0x92, 0x10, 0xFF, 0x52, 0x04},
         std::nullopt},
        {"call [edx+disp32]", {0xFF, 0x92, 0x10, 0x00, 0x00, 0x00}, 6},
        {"call [ebp+disp32]", {0xFF, 0x95, 0x00, 0x01, 0x00, 0x00}, 6},
        {"call [esp]", {0xFF, 0x14, 0x24}, 3},
        {"call [esp+8]", {0xFF, 0x54, 0x24, 0x08}, 4},
        {"call [esp+disp32]", {0xFF, 0x94, 0x24, 0x00, 0x01, 0x00, 0x00}, 7},
        {"call [absolute]", WithWord({0xFF, 0x15}, uint32_t(readable)), 6},
        {"call [absolute] through an unreadable address", WithWord({0xFF, 0x15}, 0x10),
         std::nullopt},
        // E8 before FF D0 decides: a direct call whose target cannot be read.
        {"E8 hides call eax", {0xE8, 0x00, 0x00, 0xFF, 0xD0}, std::nullopt},
        {"no call", {0x8B, 0xC3, 0x50, 0x53}, std::nullopt},
    };
    size_t end = kSlot;
    for (const TFormCase& form : cases) {
        SCOPED_TRACE(form.Form);
        const uintptr_t returnAddress = code.Before(end += kSlot, form.Bytes);
        const auto entered = ScanWord(returnAddress, false);
        if (form.CallLength)
            EXPECT_EQ(entered, std::vector<uintptr_t>{returnAddress - *form.CallLength});
        else
            EXPECT_TRUE(entered.empty());
    }
}

struct TDirectCase {
    const char* Call;
    uintptr_t Target;
    bool FollowCalls;
    std::optional<uintptr_t> Entered; // the procedure listed before the call
};

TEST(CallForms, DirectCallsAndTheProceduresTheyEnter) {
    TCode code;
    const uintptr_t procedure = code.Before(0x108, {0x55, 0x8B, 0xEC}) - 3;
    const uintptr_t slot = code.At(0x200);
    *reinterpret_cast<uint32_t*>(slot) = uint32_t(procedure);
    const uintptr_t thunk = code.Before(0x306, WithWord({0xFF, 0x25}, uint32_t(slot))) - 6;
    const uintptr_t badThunk = code.Before(0x406, WithWord({0xFF, 0x25}, 0x10)) - 6;
    const uintptr_t nested = code.Before(0x505, code.CallTo(0x505, procedure)) - 5;
    const std::vector<TDirectCase> cases = {
        {"direct call", procedure, false, std::nullopt},
        {"followed", procedure, true, procedure},
        {"followed through an import thunk", thunk, true, procedure},
        {"import thunk with an unreadable pointer", badThunk, true, badThunk},
        {"target that is a call itself", nested, true, std::nullopt},
    };
    size_t end = 0x1000;
    for (const TDirectCase& call : cases) {
        SCOPED_TRACE(call.Call);
        end += kSlot;
        const uintptr_t returnAddress = code.Before(end, code.CallTo(end, call.Target));
        std::vector<uintptr_t> expected{returnAddress - 5};
        if (call.Entered)
            expected.insert(expected.begin(), *call.Entered);
        EXPECT_EQ(ScanWord(returnAddress, call.FollowCalls), expected);
    }
    EXPECT_TRUE(ScanWord(code.Before(end + kSlot, code.CallTo(end + kSlot, 0x10)), true).empty())
        << "a call to unreadable memory";
}

} // namespace
