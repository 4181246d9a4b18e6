#include "reporter/diagnostics/disassembly/assembler_listing.h"
#include "reporter/diagnostics/disassembly/code_window.h"
#include "runtime/format.h"
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// Code laid out as a compiler would: a procedure, the next one, a run of data, a third one.
// Every instruction's offset is known, so that a listing can be checked against them.
class TCodeLayout {
  public:
    // Instructions, then "|" to begin data (bytes taken as they are until the next "|").
    explicit TCodeLayout(const std::vector<const char*>& parts) {
        bool data = false;
        for (const char* part : parts) {
            if (std::string(part) == "|") {
                data = !data;
                continue;
            }
            if (!data)
                starts_.insert(bytes_.size());
            unsigned value = 0;
            int consumed = 0;
            for (const char* at = part; std::sscanf(at, " %2x%n", &value, &consumed) == 1;
                 at += consumed)
                bytes_.push_back(uint8_t(value));
        }
        bytes_.resize(bytes_.size() + 80, 0xCC); // readable room after the last procedure
    }
    const uint8_t* At(size_t offset) const { return bytes_.data() + offset; }
    bool StartsInstruction(uintptr_t address) const {
        return starts_.count(address - reinterpret_cast<uintptr_t>(bytes_.data())) != 0;
    }

  private:
    std::vector<uint8_t> bytes_;
    std::set<size_t> starts_;
};

const char* const kProcedure[] = {
    "55",       "8B EC",          "83 EC 10", "8B 45 08", "C7 45 F8 01 00 00 00",
    "8B 4D 0C", "03 C1",          "89 45 FC", "0F B6 01", "85 C0",
    "74 05",    "E8 10 00 00 00", "8B E5",    "5D",       "C2 08 00",
};

const TCodeLayout& Layout() {
    static const TCodeLayout layout = [] {
        std::vector<const char*> parts;
        for (int procedure = 0; procedure < 3; ++procedure) {
            if (procedure == 2) // a string and a jump table between two procedures
                parts.insert(parts.end(), {"|", "48 65 6C 6C 6F 00 FF 8B 10 20 40 00 0F", "|"});
            parts.insert(parts.end(), std::begin(kProcedure), std::end(kProcedure));
        }
        return TCodeLayout(parts);
    }();
    return layout;
}

struct TListingLine {
    uintptr_t Address;
    std::string Text;
};

std::vector<TListingLine> InstructionLines(const std::string& listing) {
    std::vector<TListingLine> lines;
    std::istringstream in(listing);
    std::string line;
    unsigned address = 0;
    while (std::getline(in, line)) {
        line.erase(line.find_last_not_of('\r') + 1);
        if (std::sscanf(line.c_str(), "%8X  ", &address) == 1 && line.size() > 10 && line[8] == ' ')
            lines.push_back({address, line});
    }
    return lines;
}

struct TFault {
    const char* Where;
    size_t Offset; // into the layout
    bool AfterData;
};

// The procedure is 42 bytes long; the third follows 13 bytes of data.
const TFault kFaults[] = {
    {"at the start of a procedure", 42, false},
    {"in the middle of a procedure", 42 + 24, false},
    {"at the start of a procedure after data", 2 * 42 + 13, true},
    {"a few instructions after data", 2 * 42 + 13 + 9, true},
};

TEST(AssemblerListing, LandsOnTheFaultingAddress) {
    for (const TFault& fault : kFaults) {
        const uint8_t* address = Layout().At(fault.Offset);
        ASSERT_TRUE(Layout().StartsInstruction(uintptr_t(address))) << fault.Where;
        const std::vector<TListingLine> lines = InstructionLines(AssemblerListing(address, "T"));
        size_t before = 0;
        while (before < lines.size() && lines[before].Address != uintptr_t(address))
            ++before;
        ASSERT_LT(before, lines.size()) << fault.Where;
        EXPECT_NE(lines[before].Text.find("; <-- EXCEPTION"), std::string::npos) << fault.Where;
        EXPECT_LE(before, 10u) << fault.Where;
        if (fault.AfterData)
            continue;
        EXPECT_EQ(before, 10u) << fault.Where;
        for (size_t i = 0; i < before; ++i)
            EXPECT_TRUE(Layout().StartsInstruction(lines[i].Address))
                << fault.Where << ": " << lines[i].Text;
    }
}

// Ten instructions before the fault, the faulting one marked, and the listing ends with the
// procedure's return; comments stand in one column.
TEST(AssemblerListing, ListsTheProcedureToItsReturn) {
    const uint8_t* fault = Layout().At(42 + 24); // 0F B6 01
    const std::string listing = AssemblerListing(fault, "Assembler Information");
    ASSERT_EQ(listing.rfind("Assembler Information:\r\n---", 0), 0u) << listing;
    const std::vector<TListingLine> lines = InstructionLines(listing);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().Text.substr(10), "ret     $0008");
    const std::string faultLine =
        Format("%08X  movzx   eax, byte ptr [ecx]", unsigned(uintptr_t(fault)));
    EXPECT_NE(listing.find(faultLine), std::string::npos) << listing;
    const size_t markColumn =
        listing.find("; <-- EXCEPTION") - listing.rfind('\n', listing.find("; <-- EXCEPTION")) - 1;
    size_t longest = 0;
    for (const TListingLine& line : lines)
        longest = std::max(longest, line.Text.substr(0, line.Text.find("  ;")).size());
    EXPECT_EQ(markColumn, longest + 2) << listing;
    const size_t dashes = listing.find("\r\n", 24) - 24;
    size_t widest = 0;
    for (const TListingLine& line : lines)
        widest = std::max(widest, line.Text.size());
    EXPECT_EQ(dashes, widest) << listing;
}

TEST(AssemblerListing, IsEmptyWhereNothingCanBeRead) {
    EXPECT_EQ(AssemblerListing(nullptr, "Assembler Information"), "");
    EXPECT_EQ(AssemblerListing(reinterpret_cast<const void*>(0x10), "Assembler Information"), "");
}

// An instruction cut off by the end of readable memory is data up to that end, read without a
// fault; so is a listing whose fault lies just before it.
TEST(AssemblerListing, StopsAtTheEndOfReadableMemory) {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    auto* pages = static_cast<uint8_t*>(
        VirtualAlloc(nullptr, 2 * system.dwPageSize, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(pages, nullptr);
    ASSERT_NE(VirtualAlloc(pages, system.dwPageSize, MEM_COMMIT, PAGE_READWRITE), nullptr);
    uint8_t* end = pages + system.dwPageSize;
    const uint8_t tail[] = {0x90, 0x90, 0x90, 0x90, 0x8B, 0x85};
    std::memcpy(end - sizeof tail, tail, sizeof tail);
    const TDisassembled cut = Disassemble(TDisAsm{}, end - 2);
    EXPECT_EQ(cut.Text, "DB      $8B, $85  //");
    EXPECT_EQ(cut.Length, 2u);
    const std::string listing = AssemblerListing(end - 6, "T");
    EXPECT_NE(listing.find(Format("%08X  nop ", unsigned(uintptr_t(end - 6)))), std::string::npos)
        << listing;
    EXPECT_NE(listing.find(Format("%08X  DB      $8B, $85  //\r\n", unsigned(uintptr_t(end - 2)))),
              std::string::npos)
        << listing;
    VirtualFree(pages, 0, MEM_RELEASE);
}

} // namespace
