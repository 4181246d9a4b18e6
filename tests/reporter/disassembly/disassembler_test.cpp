#include "reporter/diagnostics/disassembly/disassembler.h"
#include "runtime/format.h"
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kAt = 0x00401000;

std::vector<uint8_t> BytesOf(const char* hex) {
    std::vector<uint8_t> bytes;
    unsigned value = 0;
    int consumed = 0;
    for (; std::sscanf(hex, " %2x%n", &value, &consumed) == 1; hex += consumed)
        bytes.push_back(uint8_t(value));
    return bytes;
}

TDisassembled Disassembled(const char* hex, const TDisAsm& disasm = {}) {
    const std::vector<uint8_t> bytes = BytesOf(hex);
    return DisassembleBytes(disasm, bytes.data(), bytes.size(), kAt);
}

struct TCase {
    const char* Hex;
    const char* Text;
    unsigned Length;
};

const TCase kCases[] = {
    // ModRM and SIB forms; memory operands name their size only without a register operand
    {"8B 45 08", "mov     eax, [ebp+$08]", 3},
    {"8B 45 F8", "mov     eax, [ebp-$08]", 3},
    {"8B 85 00 FF FF FF", "mov     eax, [ebp+$FFFFFF00]", 6},
    {"8B 05 00 10 40 00", "mov     eax, [$00401000]", 6},
    {"8B 04 24", "mov     eax, [esp]", 3},
    {"8B 44 24 04", "mov     eax, [esp+$04]", 4},
    {"89 04 8D 00 10 40 00", "mov     [$00401000+ecx*4], eax", 7},
    {"8D 74 26 00", "lea     esi, [esi+$00]", 4},
    {"8D 04 50", "lea     eax, [eax+edx*2]", 3},
    {"80 38 05", "cmp     byte ptr [eax], $05", 3},
    {"C7 45 F8 01 00 00 00", "mov     dword ptr [ebp-$08], $00000001", 7},
    {"FF 15 00 20 40 00", "call    dword ptr [$00402000]", 6},
    {"0F B6 01", "movzx   eax, byte ptr [ecx]", 3},
    {"0F B6 C1", "movzx   eax, cl", 3},
    {"0F BF 06", "movsx   eax, word ptr [esi]", 3},
    // 16-bit addressing
    {"67 8B 00", "mov     eax, [bx+si]", 3},
    {"67 8B 47 08", "mov     eax, [bx+$08]", 4},
    {"67 8B 06 34 12", "mov     eax, [$1234]", 5},
    {"67 8B 86 34 12", "mov     eax, [bp+$1234]", 5},
    // direct offsets (a register named by the template leaves their size keyword), immediates
    // (signed where sign-extended), targets without callbacks
    {"A1 00 10 40 00", "mov     eax, dword ptr [$00401000]", 5},
    {"A2 00 10 40 00", "mov     byte ptr [$00401000], al", 5},
    {"05 10 00 00 00", "add     eax, +$00000010", 5},
    {"83 C4 F0", "add     esp, -$10", 3},
    {"6A FF", "push    -$01", 2},
    {"68 00 10 40 00", "push    $00401000", 5},
    {"6B C0 0C", "imul    eax, eax, +$0C", 3},
    {"EB FE", "jmp     -$02", 2},
    {"E8 FB FF FF FF", "call    -$00000005", 5},
    {"C2 08 00", "ret     $0008", 3},
    {"C8 10 00 01", "enter   $0010, $01", 4},
    {"EA 00 10 40 00 08 00", "jmp     $0008:$00401000", 7},
    // groups and their extra operands
    {"F6 C1 01", "test    cl, $01", 3},
    {"F7 D8", "neg     eax", 2},
    {"C1 E0 04", "shl     eax, $04", 3},
    {"D1 F8", "sar     eax, 1", 2},
    {"FF 75 08", "push    dword ptr [ebp+$08]", 3},
    {"0F BA E0 05", "bt      eax, $05", 4},
    // two-byte map: cmov, set, shifts, system and MMX registers
    {"0F 44 C1", "cmove   eax, ecx", 3},
    {"0F 94 C0", "sete    al", 3},
    {"0F A4 C2 04", "shld    edx, eax, $04", 4},
    {"0F 20 C0", "mov     eax, C0", 3},
    {"0F 00 C8", "str     eax", 3},
    {"0F 00 08", "str     word ptr [eax]", 3},
    {"0F 02 D0", "lar     edx, eax", 3},
    {"0F 03 16", "lsl     edx, [esi]", 3},
    {"0F 00 D8", "ltr     ax", 3},
    {"8C D8", "mov     eax, ds", 2},
    {"0F 6F C1", "movq    MM0, MM1", 3},
    {"0F 71 D0 02", "psrlw   MM0, $02", 4},
    {"0F C8", "bswap   eax", 2},
    // x87: register forms by ModRM, memory forms by size
    {"D9 45 08", "fld     dword ptr [ebp+$08]", 3},
    {"DD 5D F8", "fstp    qword ptr [ebp-$08]", 3},
    {"DB 6D F0", "fld     tbyte ptr [ebp-$10]", 3},
    {"DF 2C 24", "fild    qword ptr [esp]", 3},
    {"DE C1", "faddp   st(1), st", 2},
    {"D8 C9", "fmul    st, st(1)", 2},
    {"DF E0", "fnstsw  ax", 2},
    {"D9 E8", "fld1", 2},
    // prefixes: operand and address size, segments, lock and repeat
    {"66 40", "inc     ax", 2},
    {"66 A5", "movsw", 2},
    {"A5", "movsd", 1},
    {"98", "cwde", 1},
    {"66 98", "cbw", 2},
    {"99", "cdq", 1},
    {"66 99", "cwd", 2},
    {"64 A1 00 00 00 00", "mov     eax, dword ptr fs:[$00000000]", 6},
    {"2E 8B 00", "mov     eax, cs:[eax]", 3},
    {"F3 A5", "rep movsd", 2},
    {"F0 0F B1 0A", "lock cmpxchg [edx], ecx", 4},
    {"66 66 66 66 66 66 66 66 66 66 66 66 66 66 90", "nop", 15},
    // bytes that make no instruction: one "DB" line each
    {"0F 04", "DB      $0F, $04  //", 2},
    {"FF FF", "DB      $FF, $FF  //", 2},
    {"C7 C8 00 00 00 00", "DB      $C7, $C8  //", 2},
    {"D6", "DB      $D6  //", 1},
    {"8D C0", "DB      $8D, $C0  //", 2},
    {"8B", "DB      $8B  //", 1},
    {"66 66 66 66 66 66 66 66 66 66 66 66 66 66 66 90",
     "DB      $66, $66, $66, $66, $66, $66, $66, $66, $66, $66, $66, $66, $66, $66, $66  //", 15},
};

TEST(DisassembleBytes, ListsEachFormAsTheTablesWriteIt) {
    for (const TCase& c : kCases) {
        const TDisassembled result = Disassembled(c.Hex);
        EXPECT_EQ(result.Text, c.Text) << c.Hex;
        EXPECT_EQ(result.Length, c.Length) << c.Hex;
        EXPECT_EQ(result.Defined, c.Text[0] != 'D') << c.Hex;
    }
}

// The return with a count is one instruction, and the next one starts after it.
TEST(DisassembleBytes, ContinuesAfterAReturnWithACount) {
    const std::vector<uint8_t> bytes = BytesOf("C2 08 00 55 8B EC");
    TDisAsm disasm;
    const TDisassembled first = DisassembleBytes(disasm, bytes.data(), bytes.size(), kAt);
    const TDisassembled second =
        DisassembleBytes(disasm, bytes.data() + 3, bytes.size() - 3, kAt + 3);
    EXPECT_EQ(first.Length, 3u);
    EXPECT_EQ(second.Text, "push    ebp");
}

struct TSeen {
    std::vector<std::string> Calls;
};

TSeen& Seen(void* user) {
    return *static_cast<TSeen*>(user);
}

// Callbacks see where each value lies and what it is, and may replace its text.
TEST(DisassembleBytes, HandsValuesToTheCallbacks) {
    TSeen seen;
    TDisAsm disasm;
    disasm.User = &seen;
    disasm.CallTarget = [](void* user, uint32_t at, uint32_t target, std::string& text) {
        Seen(user).Calls.push_back(Format("call %X %X %s", at, target, text.c_str()));
        text = "Unit.Procedure";
    };
    disasm.JumpTarget = [](void* user, uint32_t at, uint32_t target, std::string& text) {
        Seen(user).Calls.push_back(Format("jump %X %X %s", at, target, text.c_str()));
    };
    disasm.Displacement = [](void* user, uint32_t at, uint32_t value, std::string& text) {
        Seen(user).Calls.push_back(Format("displacement %X %X %s", at, value, text.c_str()));
        text = "Counter";
    };
    disasm.DirectAddress = [](void* user, uint32_t at, uint32_t value, unsigned size,
                              std::string& text) {
        Seen(user).Calls.push_back(Format("direct %X %X %u %s", at, value, size, text.c_str()));
    };
    disasm.Immediate = [](void* user, uint32_t at, uint32_t value, unsigned size, std::string& text,
                          bool isSigned) {
        Seen(user).Calls.push_back(
            Format("immediate %X %X %u %s %d", at, value, size, text.c_str(), int(isSigned)));
        text += "  ; 'text'";
    };
    EXPECT_EQ(Disassembled("E8 FB 0F 00 00", disasm).Text, "call    Unit.Procedure");
    EXPECT_EQ(Disassembled("74 10", disasm).Text, "je      +$10");
    EXPECT_EQ(Disassembled("FF 24 85 00 20 40 00", disasm).Text,
              "jmp     dword ptr [Counter+eax*4]");
    EXPECT_EQ(Disassembled("66 A1 00 30 40 00", disasm).Text, "mov     ax, word ptr [$00403000]");
    EXPECT_EQ(Disassembled("68 00 50 40 00", disasm).Text, "push    $00405000  ; 'text'");
    EXPECT_EQ(Disassembled("83 E8 02", disasm).Text, "sub     eax, +$02  ; 'text'");
    const std::vector<std::string> expected = {
        "call 401001 402000 +$00000FFB",         "jump 401001 401012 +$10",
        "displacement 401003 402000 $00402000",  "direct 401002 403000 2 $00403000",
        "immediate 401001 405000 4 $00405000 0", "immediate 401002 2 1 +$02 1",
    };
    EXPECT_EQ(seen.Calls, expected);
}

} // namespace
