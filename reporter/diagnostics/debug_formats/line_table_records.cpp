#include "reporter/diagnostics/debug_formats/line_table_records.h"
#include "reporter/diagnostics/debug_formats/line_table_format.h"

using namespace line_table;

namespace {

// 32 bits: the value above the flag bits holds both steps, or the escape before two 16-bit
// steps.
TLineRecord LongRecord(const TByteView& table, size_t& at, int version) {
    const uint32_t word = table.U32(at);
    at += 4;
    const uint32_t value = word >> 4;
    const bool opens = word & kNewProcedureFlag;
    if (value == kEscape && version >= kFirstVersionWithEscape) {
        const uint32_t line = table.U16(at) + 1u;
        const uint32_t address = table.U16(at + 2) + 1u;
        at += 4;
        return {line, address, opens};
    }
    const uint32_t addressField = value >> 16;
    return {(value & 0xFFFF) + 1, addressField == kNoAddressStep ? 0 : addressField + 1, opens};
}

} // namespace

TLineRecord ReadLineRecord(const TByteView& table, size_t& at, int version) {
    const uint8_t first = table.U8(at);
    if (!(first & kShortRecordFlag)) {
        at += 1;
        return {uint32_t(first >> 6) + 1, uint32_t((first >> 1) & 0x1F) + 1, false};
    }
    if (!(first & kWideRecordFlag)) {
        at += 1;
        return {uint32_t(first >> 5) + 1, uint32_t((first >> 2) & 0x07) + 1, true};
    }
    if (!(first & kLongRecordFlag)) {
        const uint16_t word = table.U16(at);
        at += 2;
        return {uint32_t(word >> 11) + 1, uint32_t((word >> 4) & 0x7F) + 1,
                bool(word & kNewProcedureFlag)};
    }
    return LongRecord(table, at, version);
}
