// Hand-made line tables laid over a block of fake code: offsets in the table count from the
// block's start, so the lookup reads the block's bytes where procedures begin.
#pragma once
#include "reporter/base/byte_stream.h"
#include "reporter/diagnostics/debug_info.h"
#include <cstdint>
#include <string>
#include <vector>

// Bytes of one unit's records, written by hand.
class TRecords {
  public:
    TRecords& Byte(uint8_t value);
    TRecords& Word(uint16_t value);
    TRecords& Long(uint32_t value);
    TRecords& Name(const std::string& stored);     // a length byte and the bytes as given
    TRecords& NamePart(const std::string& stored); // a part that "." and another part follow
    TRecords& Raw(const std::string& bytes);
    const std::vector<uint8_t>& Bytes() const { return out_.Data(); }

  private:
    ByteWriter out_;
};

class TTableFixture {
  public:
    static constexpr size_t kCodeSize = 0x10000;

    TTableFixture();

    // `name` is stored as given (a length byte and the bytes).
    void AddUnit(const std::string& storedName, uint32_t firstLine, uint32_t start, uint32_t size,
                 const TRecords& records);
    // The module record for the table; `leadingBlock` goes before the unit count.
    TVessarModuleInfo Module(int version = 6024, const std::string& leadingBlock = "") const;
    // Sets the code bytes at `offset`.
    void SetCode(uint32_t offset, const std::vector<uint8_t>& bytes);
    const void* Address(uint32_t offset) const { return code_.data() + offset; }

  private:
    std::vector<uint8_t> code_;
    uint32_t units_ = 0;
    ByteWriter table_;
};

// `text` as the build step stores names: enciphered with `password`.
std::string Stored(const std::string& text, const std::string& password = "");

// Looks `offset` up in `module`'s table; Detail stays 0 when no unit holds it.
TVessarDebugInfo LocateOffset(const TVessarModuleInfo& module, const TTableFixture& fixture,
                              uint32_t offset);
