// Writes TD32 debug data for the tests, from the format's description: a directory, a module
// subsection per unit, aligned symbols, one source module and the names.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TTd32Unit {
    std::string Name;
    uint32_t Offset;
    uint32_t Size;
};

struct TTd32Procedure {
    std::string Name;
    uint32_t Offset;
    uint32_t Size;
};

struct TTd32Source {
    std::string Name;
    uint32_t Start;
    uint32_t End;
    std::vector<std::pair<uint32_t, uint16_t>> Lines; // offset, line
};

struct TTd32Fixture {
    std::vector<TTd32Unit> Units;
    std::vector<TTd32Procedure> Procedures;
    std::vector<TTd32Source> Sources;
    std::string Signature = "FB09";
    uint16_t EntrySize = 12;
    bool WithNames = true;
};

std::vector<uint8_t> WriteTd32(const TTd32Fixture& fixture);
