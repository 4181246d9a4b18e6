#include "reporter/diagnostics/disassembly/listing_names.h"
#include "runtime/format.h"
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct TWidget {
    virtual ~TWidget() = default;
    int Count = 0;
};

// The instruction `opcode` followed by a 32-bit value, disassembled as the report does.
std::string ListedWith(std::vector<uint8_t> opcode, const void* value) {
    const auto word = uint32_t(reinterpret_cast<uintptr_t>(value));
    opcode.resize(opcode.size() + 4);
    std::memcpy(opcode.data() + opcode.size() - 4, &word, 4);
    TMemoryProbe memory;
    const TDisAsm disasm = ListingDisassembler(memory);
    return DisassembleBytes(disasm, opcode.data(), opcode.size(), 0x00401000).Text;
}

TEST(ListingNames, NamesTheClassOfALiveObjectBehindADisplacement) {
    const TWidget widget;
    EXPECT_EQ(ListedWith({0x8B, 0x0D}, &widget), "mov     ecx, [TWidget]");
    const int plain = 0;
    EXPECT_EQ(ListedWith({0x8B, 0x0D}, &plain),
              Format("mov     ecx, [$%08X]", unsigned(uintptr_t(&plain))));
    EXPECT_EQ(ListedWith({0x8B, 0x0D}, reinterpret_cast<const void*>(0x10)),
              "mov     ecx, [$00000010]");
}

TEST(ListingNames, ShowsTheTextAnImmediatePointsAt) {
    static const char kShort[] = "Profiles.DB\tmissing";
    static const char kLong[] = "a text that runs on beyond thirty-two characters";
    const std::string address = Format("$%08X", unsigned(uintptr_t(kShort)));
    EXPECT_EQ(ListedWith({0x68}, kShort), "push    " + address + "  ; 'Profiles.DB.missing'");
    EXPECT_EQ(ListedWith({0x68}, kLong).substr(17), "  ; 'a text that runs on beyond thirt'...");
    const uint32_t number = 0x12345678;
    EXPECT_EQ(ListedWith({0x68}, &number).find(';'), std::string::npos);
}

} // namespace
