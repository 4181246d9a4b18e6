#include "line_records.h"
#include "reporter/diagnostics/debug_formats/line_table_format.h"

using namespace line_table;

namespace {

uint32_t OpensFlag(bool opens) {
    return opens ? kNewProcedureFlag : 0;
}

// One byte: line 1..4, address 1..32, no procedure.
bool FitsShort(uint32_t line, uint32_t address, bool opens) {
    return !opens && line <= 4 && address >= 1 && address <= 32;
}

// One byte: a procedure begins; line 1..8, address 1..8.
bool FitsShortOpening(uint32_t line, uint32_t address, bool opens) {
    return opens && line <= 8 && address >= 1 && address <= 8;
}

// 16 bits: line 1..32, address 1..128.
bool FitsWord(uint32_t line, uint32_t address) {
    return line <= 32 && address >= 1 && address <= 128;
}

// 32 bits: line 1..65536, address 0..4095; the one value kept for the escape excluded.
uint32_t LongValue(uint32_t line, uint32_t address) {
    const uint32_t addressField = address == 0 ? kNoAddressStep : address - 1;
    return addressField << 16 | (line - 1);
}

bool FitsLong(uint32_t line, uint32_t address) {
    return address >= 1 && address <= kNoAddressStep && LongValue(line, address) != kEscape;
}

void WriteLong(ByteWriter& out, uint32_t value, bool opens) {
    out.WriteU32(value << 4 | kLongRecordFlag | OpensFlag(opens) | kWideRecordFlag |
                 kShortRecordFlag);
}

} // namespace

void WriteLineRecord(ByteWriter& out, uint32_t line, uint32_t address, bool opens) {
    if (FitsShort(line, address, opens)) {
        out.WriteU8(uint8_t((line - 1) << 6 | (address - 1) << 1));
    } else if (FitsShortOpening(line, address, opens)) {
        out.WriteU8(uint8_t((line - 1) << 5 | (address - 1) << 2 | kShortRecordFlag));
    } else if (FitsWord(line, address)) {
        out.WriteU16(uint16_t((line - 1) << 11 | (address - 1) << 4 | OpensFlag(opens) |
                              kWideRecordFlag | kShortRecordFlag));
    } else if (address == 0 || FitsLong(line, address)) {
        WriteLong(out, LongValue(line, address), opens);
    } else {
        WriteLong(out, kEscape, opens);
        out.WriteU16(uint16_t(line - 1));
        out.WriteU16(uint16_t(address - 1));
    }
}
