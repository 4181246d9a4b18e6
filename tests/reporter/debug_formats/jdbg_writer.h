// Writes JDBG debug data for the tests, from the format's description.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class TJdbgNameForm { Packed, AtPacked, KeyedText };

class TJdbgWriter {
  public:
    // The name's index in the pool (1-based; 0 is no name). AtPacked names are given without
    // their "@".
    uint32_t Name(const std::string& name, TJdbgNameForm form = TJdbgNameForm::Packed);

    void Unit(uint32_t offset, uint32_t name) { units_.push_back({offset, name, 0}); }
    void Source(uint32_t offset, uint32_t name) { sources_.push_back({offset, name, 0}); }
    void Symbol(uint32_t offset, uint32_t name, uint32_t secondName = 0) {
        symbols_.push_back({offset, name, secondName});
    }
    void Line(uint32_t offset, uint32_t line) { lines_.push_back({offset, line, 0}); }

    // The whole data, padded to 32-bit words, with its checksum when `checksum` is set.
    std::vector<uint8_t> Bytes(bool checksum = true) const;

  private:
    struct TEntry {
        uint32_t Offset;
        uint32_t First;
        uint32_t Second;
    };
    static void WriteList(std::vector<uint8_t>& out, const std::vector<TEntry>& entries,
                          bool twoValues);

    std::vector<TEntry> units_;
    std::vector<TEntry> sources_;
    std::vector<TEntry> symbols_;
    std::vector<TEntry> lines_;
    std::vector<uint8_t> pool_;
};
