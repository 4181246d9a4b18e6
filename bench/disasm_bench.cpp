// The disassembler: instructions decoded per second over the code section of ProfileUpgrade.exe,
// and the time to build one report's assembler section (with its address lookups) around an
// address of this program's own code.
#include "reporter/diagnostics/disassembly/assembler_listing.h"
#include "reporter/diagnostics/disassembly/disassembler.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>
#include <windows.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDecodePasses = 3;
constexpr int kListings = 50;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The raw bytes of the image's ".text" section; empty when the file is no 32-bit PE image.
std::vector<uint8_t> CodeSection(const char* path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> image{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};
    IMAGE_DOS_HEADER dos{};
    IMAGE_NT_HEADERS32 nt{};
    if (image.size() < sizeof dos)
        return {};
    std::memcpy(&dos, image.data(), sizeof dos);
    if (size_t(dos.e_lfanew) + sizeof nt > image.size())
        return {};
    std::memcpy(&nt, image.data() + dos.e_lfanew, sizeof nt);
    const size_t sections = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                            nt.FileHeader.SizeOfOptionalHeader;
    for (unsigned i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER section{};
        if (sections + (i + 1) * sizeof section > image.size())
            return {};
        std::memcpy(&section, image.data() + sections + i * sizeof section, sizeof section);
        const size_t size = std::min<size_t>(section.Misc.VirtualSize, section.SizeOfRawData);
        if (std::strncmp(reinterpret_cast<const char*>(section.Name), ".text", 8) == 0 &&
            section.PointerToRawData + size <= image.size())
            return {image.begin() + section.PointerToRawData,
                    image.begin() + section.PointerToRawData + size};
    }
    return {};
}

void DecodeSpeed(const std::vector<uint8_t>& code) {
    const TDisAsm disasm;
    double best = 1e300;
    size_t instructions = 0;
    for (int pass = 0; pass < kDecodePasses; ++pass) {
        instructions = 0;
        const Clock::time_point start = Clock::now();
        for (size_t at = 0; at < code.size(); ++instructions)
            at += DisassembleBytes(disasm, code.data() + at, code.size() - at, uint32_t(at)).Length;
        best = std::min(best, MillisecondsSince(start));
    }
    std::printf("  decoding: %zu instructions (%zu bytes) in %.0f ms, %.0f instructions/s "
                "(best of %d passes)\n",
                instructions, code.size(), best, double(instructions) * 1000.0 / best,
                kDecodePasses);
}

// An address inside this procedure, so that the listing has lines and names to look up.
__attribute__((noinline)) const void* HereInCode() {
    return __builtin_return_address(0);
}

void ListingTime() {
    const void* address = HereInCode();
    std::vector<double> times;
    size_t length = 0;
    for (int i = 0; i < kListings; ++i) {
        const Clock::time_point start = Clock::now();
        length = AssemblerListing(address, "Assembler Information").size();
        times.push_back(MillisecondsSince(start));
    }
    const double first = times.front(); // describes the module and reads its line table
    std::sort(times.begin(), times.end());
    std::printf("  assembler section: first %.2f ms, then median %.2f ms (%zu characters, %d "
                "runs)\n",
                first, times[times.size() / 2], length, kListings);
}

} // namespace

int main() {
    std::printf("disasm_bench\n");
    const std::vector<uint8_t> code = CodeSection(PROFILE_UPGRADE_EXE);
    if (code.empty()) {
        std::printf("  no code section in %s\n", PROFILE_UPGRADE_EXE);
        return 1;
    }
    DecodeSpeed(code);
    ListingTime();
    return 0;
}
