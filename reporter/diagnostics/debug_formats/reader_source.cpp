#include "reporter/diagnostics/debug_formats/reader_source.h"
#include <cstdint>

bool TKFReaderSource::Locate(const void* address, TKFLocationInfo& info) const {
    const TKFDebugReader* reader = Reader();
    info.Addr = uint32_t(reinterpret_cast<uintptr_t>(address));
    info.Provider = this;
    return reader && LocateInReader(*reader, CodeOffset(address), info);
}

bool LocateInReader(const TKFDebugReader& reader, uint32_t offset, TKFLocationInfo& info) {
    info.UnitName = reader.UnitAt(offset);
    if (info.UnitName.empty())
        return false;
    const TKFProcAt procedure = reader.ProcAt(offset);
    const TKFLineAt line = reader.LineAt(offset);
    info.ProcedureName = procedure.Name;
    info.LineNumber = line.Line;
    info.SourceFile = reader.SourceAt(offset);
    // Lines from the procedure's first line: the line of its first byte is the start. Damaged
    // data can give lines so far apart that no count fits: then none is known.
    const int64_t procLines = int64_t(line.Line) - reader.LineAt(offset - procedure.Offset).Line;
    info.ProcLines = procLines >= INT32_MIN && procLines <= INT32_MAX ? int32_t(procLines) : 0;
    return true;
}
