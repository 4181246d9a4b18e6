#include "reporter/diagnostics/disassembly/instruction_length.h"
#include "runtime/format.h"
#include "test_program.h"
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace {

std::vector<std::uint8_t> OwnImageFile() {
    std::ifstream file(ExecutablePath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string Hex(const std::uint8_t* bytes) {
    std::string hex;
    for (int i = 0; i < 15; ++i)
        hex += Format("%02X ", bytes[i]);
    return hex;
}

// objdump read this test program's code when it was built; the decoder must agree with it on
// every instruction listed.
TEST(DecodeInstruction, AgreesWithTheToolchainDisassembler) {
    std::vector<std::uint8_t> image = OwnImageFile();
    ASSERT_FALSE(image.empty());
    image.resize(image.size() + 16); // the decoder may look past the last instruction
    std::ifstream listing(OBJDUMP_LENGTHS);
    ASSERT_TRUE(listing) << OBJDUMP_LENGTHS;
    std::size_t offset = 0;
    unsigned length = 0, checked = 0, mismatches = 0;
    while (listing >> offset >> length) {
        ASSERT_LT(offset, image.size());
        ++checked;
        const unsigned decoded = DecodeInstruction(image.data() + offset).Length;
        if (decoded != length && ++mismatches <= 20)
            ADD_FAILURE() << "at file offset " << offset << " (" << Hex(image.data() + offset)
                          << "): objdump " << length << ", decoded " << decoded;
    }
    EXPECT_EQ(mismatches, 0u);
    EXPECT_GT(checked, 1000u);
    RecordProperty("instructions", static_cast<int>(checked));
    std::printf("%u instructions cross-checked\n", checked);
}

} // namespace
