#include "machine_code.h"
#include "reporter/core/interception/hooking/hooking_errors.h"
#include "reporter/core/interception/hooking/procedure_hooks.h"
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace {

using TNoArguments = int (*)();
using TRegisterArgument = int(__attribute__((fastcall)) *)(int);
using TTwoArguments = int (*)(int, int);

constexpr int kReplaced = 99;

int Replacement() {
    return kReplaced;
}

int __attribute__((fastcall)) RegisterReplacement(int) {
    return kReplaced;
}

int Callee() {
    return 42;
}

[[gnu::noipa]] int MultiplyAndAddOne(int a, int b) {
    return a * b + 1;
}

int NegatedSum(int a, int b) {
    return -(a + b);
}

void* Address(auto procedure) {
    return reinterpret_cast<void*>(procedure);
}

// Patched code must outlive the unhooking at the end of each test.
class HookProcedureTest : public ::testing::Test {
  protected:
    void TearDown() override { UnhookAllProcedures(); }

    TMachineCode& Place(const std::vector<std::uint8_t>& bytes) {
        return *code_.emplace_back(std::make_unique<TMachineCode>(bytes));
    }

  private:
    std::vector<std::unique_ptr<TMachineCode>> code_;
};

TEST_F(HookProcedureTest, ShortJumpOutOfTheMovedBytesReachesItsDestination) {
    const TMachineCode& procedure = Place({
        0xEB, 0x06,                   // jmp +6 (to the second mov)
        0xB8, 0x01, 0x00, 0x00, 0x00, // mov eax, 1
        0xC3,                         // ret
        0xB8, 0x02, 0x00, 0x00, 0x00, // mov eax, 2
        0xC3,                         // ret
    });
    const auto trampoline = reinterpret_cast<TNoArguments>(
        HookProcedure(procedure.Code(), Address(Replacement), "ShortJump"));
    EXPECT_EQ(procedure.As<TNoArguments>()(), kReplaced);
    EXPECT_EQ(trampoline(), 2);
}

TEST_F(HookProcedureTest, ConditionalShortJumpKeepsBothPaths) {
    const TMachineCode& procedure = Place({
        0x85, 0xC9,                   // test ecx, ecx
        0x74, 0x06,                   // jz +6 (to the second mov)
        0xB8, 0x0A, 0x00, 0x00, 0x00, // mov eax, 10
        0xC3,                         // ret
        0xB8, 0x14, 0x00, 0x00, 0x00, // mov eax, 20
        0xC3,                         // ret
    });
    const auto trampoline = reinterpret_cast<TRegisterArgument>(
        HookProcedure(procedure.Code(), Address(RegisterReplacement), "Conditional"));
    EXPECT_EQ(procedure.As<TRegisterArgument>()(0), kReplaced);
    EXPECT_EQ(trampoline(0), 20);
    EXPECT_EQ(trampoline(1), 10);
}

TEST_F(HookProcedureTest, MovedRelativeCallStillReachesItsCallee) {
    TMachineCode& procedure = Place({
        0xE8, 0, 0, 0, 0, // call Callee
        0x83, 0xC0, 0x01, // add eax, 1
        0xC3,             // ret
    });
    procedure.SetRelative32(1, Address(Callee));
    const auto trampoline = reinterpret_cast<TNoArguments>(
        HookProcedure(procedure.Code(), Address(Replacement), "RelativeCall"));
    EXPECT_EQ(procedure.As<TNoArguments>()(), kReplaced);
    EXPECT_EQ(trampoline(), 43);
}

TEST_F(HookProcedureTest, CompiledFunctionGoesToTheReplacementAndTheTrampolineToTheOriginal) {
    TTwoArguments volatile call = MultiplyAndAddOne; // an indirect call the compiler cannot skip
    const auto trampoline = reinterpret_cast<TTwoArguments>(
        HookProcedure(Address(MultiplyAndAddOne), Address(NegatedSum), "MultiplyAndAddOne"));
    EXPECT_EQ(call(3, 4), -7);
    EXPECT_EQ(trampoline(3, 4), 13);
    EXPECT_TRUE(UnhookProcedure(Address(MultiplyAndAddOne)));
    EXPECT_EQ(call(3, 4), 13);
}

TEST_F(HookProcedureTest, IndirectJumpIsFollowedToTheCodeBehindIt) {
    const TMachineCode& procedure = Place({0xB8, 0x07, 0x00, 0x00, 0x00, 0xC3}); // mov eax, 7; ret
    void* pointer = procedure.Code();
    const TMachineCode& thunk = Place({0xFF, 0x25, 0, 0, 0, 0}); // jmp [pointer]
    void** pointerAddress = &pointer;
    std::memcpy(thunk.Code() + 2, &pointerAddress, sizeof pointerAddress);
    const std::vector<std::uint8_t> thunkBytes = thunk.Bytes();

    const auto trampoline =
        reinterpret_cast<TNoArguments>(HookProcedure(thunk.Code(), Address(Replacement), "Thunk"));
    EXPECT_EQ(thunk.Bytes(), thunkBytes);
    EXPECT_EQ(procedure.As<TNoArguments>()(), kReplaced);
    EXPECT_EQ(trampoline(), 7);
}

TEST_F(HookProcedureTest, PatchingTwiceReturnsTheSameTrampolineAndWritesNothing) {
    const TMachineCode& procedure = Place({0xB8, 0x07, 0x00, 0x00, 0x00, 0xC3});
    void* first = HookProcedure(procedure.Code(), Address(Replacement), "Twice");
    const std::vector<std::uint8_t> patched = procedure.Bytes();
    EXPECT_EQ(HookProcedure(procedure.Code(), Address(Callee), "Twice"), first);
    EXPECT_EQ(procedure.Bytes(), patched);
    EXPECT_EQ(procedure.As<TNoArguments>()(), kReplaced);
}

TEST_F(HookProcedureTest, UnhookRestoresTheOriginalBytesByTargetOrTrampoline) {
    const TMachineCode& first = Place({0xB8, 0x07, 0x00, 0x00, 0x00, 0xC3});
    const TMachineCode& second =
        Place({0x31, 0xC0, 0x40, 0x40, 0x40, 0xC3}); // xor eax, eax; inc eax ×3
    const std::vector<std::uint8_t> firstBytes = first.Bytes(), secondBytes = second.Bytes();

    void* trampoline = HookProcedure(first.Code(), Address(Replacement), "First");
    EXPECT_TRUE(UnhookProcedure(trampoline));
    EXPECT_EQ(first.Bytes(), firstBytes);
    EXPECT_FALSE(UnhookProcedure(first.Code()));

    HookProcedure(first.Code(), Address(Replacement), "First");
    HookProcedure(second.Code(), Address(Replacement), "Second");
    EXPECT_NE(second.Bytes(), secondBytes);
    UnhookAllProcedures();
    EXPECT_EQ(first.Bytes(), firstBytes);
    EXPECT_EQ(second.Bytes(), secondBytes);
    EXPECT_EQ(second.As<TNoArguments>()(), 3);
}

TEST_F(HookProcedureTest, RefusalsNameTheProcedureAndWriteNothing) {
    try {
        HookProcedure(nullptr, Address(Replacement), "Missing");
        FAIL() << "hooked a null procedure";
    } catch (const EProcNull& error) {
        EXPECT_STREQ(error.what(), "Cannot hook a null procedure (\"Missing\").");
    }
    const struct {
        const char* Name;
        std::vector<std::uint8_t> Code;
    } unmovable[] = {
        {"Undecodable", {0x90, 0x0F, 0x04, 0x90, 0x90, 0x90, 0xC3}}, // 0F 04 is no instruction
        {"Branch16", {0x66, 0xE9, 0x00, 0x00, 0x90, 0xC3}}, // a 16-bit jump cuts the address
    };
    for (const auto& item : unmovable) {
        const TMachineCode& procedure = Place(item.Code);
        try {
            HookProcedure(procedure.Code(), Address(Replacement), item.Name);
            ADD_FAILURE() << item.Name << " hooked";
        } catch (const EHookingError& error) {
            EXPECT_EQ(error.what(),
                      "Cannot hook the procedure \"" + std::string(item.Name) + "\".");
        }
        EXPECT_EQ(procedure.Bytes(), item.Code) << item.Name;
    }
}

// Never raised under Wine, which is no 9x-family system: its text is checked here.
TEST(ESharedArea, NamesTheModule) {
    EXPECT_STREQ(ESharedArea("C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL").what(),
                 "Cannot hook the module \"C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL\" located into the "
                 "shared-area.");
}

} // namespace
