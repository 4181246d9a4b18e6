#include "debug_lookups.h"
#include "reporter/diagnostics/debug_formats/reader_source.h"

namespace {

constexpr uint32_t kOffsets[] = {0,      1,       2,       3,          0x10,       0x40,
                                 0x100,  0x123,   0x1000,  0x1001,     0x2000,     0x10000,
                                 0x1234, 0x12345, 0x80000, 0x7FFFFFFF, 0xFFFFFFFE, 0xFFFFFFFF};

} // namespace

void AskAtSpreadOffsets(const TKFDebugReader& reader) {
    for (uint32_t offset : kOffsets) {
        TKFLocationInfo info;
        LocateInReader(reader, offset, info);
        reader.UnitStartAt(offset);
    }
}
