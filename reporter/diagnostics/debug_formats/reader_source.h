// A debug source that answers through one of the debug readers.
#pragma once
#include "reporter/diagnostics/debug_formats/debug_reader.h"
#include "reporter/diagnostics/debug_formats/debug_source.h"

class TKFReaderSource : public TKFDebugInfoSource {
  public:
    using TKFDebugInfoSource::TKFDebugInfoSource;

    bool HasData() const override { return Reader() != nullptr; }
    bool Locate(const void* address, TKFLocationInfo& info) const override;

  protected:
    // Null when the module has no data of this kind.
    virtual const TKFDebugReader* Reader() const = 0;
};

// What `reader` knows of a code offset; false when no unit holds it.
bool LocateInReader(const TKFDebugReader& reader, uint32_t offset, TKFLocationInfo& info);
