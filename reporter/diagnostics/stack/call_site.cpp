#include "reporter/diagnostics/stack/call_site.h"

namespace {

constexpr size_t kCallBytes = 7;
constexpr size_t kEntryBytes = 5;
constexpr uint8_t kCall = 0xE8;
constexpr uint8_t kIndirect = 0xFF; // with a ModR/M byte whose reg field is 2: call
constexpr uint8_t kLoad = 0x8B;
constexpr uint8_t kJumpThroughPointer = 0x25;
constexpr uint8_t kJump = 0xE9;
// ModR/M bytes of the indirect call by addressing mode, register 0 (eax) as the base; the base
// register is added.
constexpr uint8_t kThroughRegister = 0x10;
constexpr uint8_t kDisplacement8 = 0x50;
constexpr uint8_t kDisplacement32 = 0x90;
constexpr uint8_t kRegister = 0xD0;
constexpr uint8_t kWithSib = 4;  // base "register" 4: a SIB byte follows
constexpr uint8_t kAbsolute = 5; // base "register" 5 without displacement: an absolute address
constexpr uint8_t kStackPointerSib = 0x24; // SIB byte: the stack pointer as base, no index

using TCallBytes = std::array<uint8_t, kCallBytes>;

uint32_t WordAt(const TCallBytes& bytes, size_t index) {
    return uint32_t(bytes[index]) | uint32_t(bytes[index + 1]) << 8 |
           uint32_t(bytes[index + 2]) << 16 | uint32_t(bytes[index + 3]) << 24;
}

bool InMode(uint8_t modrm, uint8_t mode) {
    return modrm >= mode && modrm <= mode + 7;
}

bool CallRegister(const TCallBytes& b) {
    return b[5] == kIndirect && InMode(b[6], kRegister);
}

bool CallThroughRegister(const TCallBytes& b) {
    return b[5] == kIndirect && InMode(b[6], kThroughRegister) &&
           b[6] != kThroughRegister + kWithSib && b[6] != kThroughRegister + kAbsolute;
}

bool CallDisplacement8(const TCallBytes& b) {
    return b[4] == kIndirect && InMode(b[5], kDisplacement8) && b[5] != kDisplacement8 + kWithSib;
}

bool CallDisplacement32(const TCallBytes& b) {
    return b[1] == kIndirect && InMode(b[2], kDisplacement32) && b[2] != kDisplacement32 + kWithSib;
}

bool CallStackPointer(const TCallBytes& b) {
    return b[4] == kIndirect && b[5] == kThroughRegister + kWithSib && b[6] == kStackPointerSib;
}

bool CallStackPointer8(const TCallBytes& b) {
    return b[3] == kIndirect && b[4] == kDisplacement8 + kWithSib && b[5] == kStackPointerSib;
}

bool CallStackPointer32(const TCallBytes& b) {
    return b[0] == kIndirect && b[1] == kDisplacement32 + kWithSib && b[2] == kStackPointerSib;
}

std::optional<TCallSite> At(uintptr_t address) {
    return TCallSite{address, 0};
}

std::optional<TCallSite> DirectCall(uintptr_t returnAddress, const TCallBytes& b,
                                    TMemoryProbe& memory) {
    const uintptr_t target = uintptr_t(returnAddress + WordAt(b, 3));
    if (!memory.Readable(target, 1))
        return std::nullopt;
    return TCallSite{returnAddress - 5, target};
}

// The object's method table is loaded into a register just before such a call; without that
// load the bytes are taken for data, and no later form is tried.
std::optional<TCallSite> MethodCall(uintptr_t returnAddress, const TCallBytes& b) {
    if (b[2] == kLoad || b[1] == kLoad)
        return At(returnAddress - 3);
    return std::nullopt;
}

std::optional<TCallSite> CallAbsolute(uintptr_t returnAddress, const TCallBytes& b,
                                      TMemoryProbe& memory) {
    if (b[1] == kIndirect && b[2] == kThroughRegister + kAbsolute &&
        memory.Readable(WordAt(b, 3), 4))
        return At(returnAddress - 6);
    return std::nullopt;
}

// Where the thunk at `target` jumps to; `target` itself when it holds none.
uintptr_t ThroughThunk(uintptr_t target, TMemoryProbe& memory) {
    uint8_t jump[2] = {};
    uint32_t slot = 0, thunkTarget = 0;
    if (!memory.Read(target, jump))
        return target;
    if (jump[0] == kIndirect && jump[1] == kJumpThroughPointer && memory.Read(target + 2, slot) &&
        memory.Read(slot, thunkTarget))
        return thunkTarget;
    uint32_t displacement = 0;
    if (jump[0] == kJump && memory.Read(target + 1, displacement))
        return uintptr_t(target + 5 + displacement);
    return target;
}

} // namespace

std::optional<TCallSite> CallSiteBefore(uintptr_t returnAddress, TMemoryProbe& memory) {
    TCallBytes b{};
    if (returnAddress < kCallBytes || !memory.Read(returnAddress - kCallBytes, b.data(), b.size()))
        return std::nullopt;
    if (b[2] == kCall)
        return DirectCall(returnAddress, b, memory);
    if (CallRegister(b) || CallThroughRegister(b))
        return At(returnAddress - 2);
    if (CallDisplacement8(b))
        return MethodCall(returnAddress, b);
    if (CallDisplacement32(b))
        return At(returnAddress - 6);
    if (CallStackPointer(b))
        return At(returnAddress - 3);
    if (CallStackPointer8(b))
        return At(returnAddress - 4);
    if (CallStackPointer32(b))
        return At(returnAddress - 7);
    return CallAbsolute(returnAddress, b, memory);
}

std::optional<uintptr_t> CalledProcedure(uintptr_t target, TMemoryProbe& memory) {
    target = ThroughThunk(target, memory);
    uint8_t entry[kEntryBytes] = {};
    if (!memory.Read(target, entry) || entry[0] == kCall)
        return std::nullopt;
    return target;
}
