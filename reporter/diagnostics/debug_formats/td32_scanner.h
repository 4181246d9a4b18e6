// Lookups by code offset in TD32 data.
#pragma once
#include "reporter/diagnostics/debug_formats/debug_reader.h"
#include "reporter/diagnostics/debug_formats/range_index.h"
#include "reporter/diagnostics/debug_formats/td32_parser.h"

class TKFTD32InfoScanner : public TKFTD32InfoParser, public TKFDebugReader {
  public:
    // Parses the data and sorts its code ranges once for the lookups.
    explicit TKFTD32InfoScanner(TByteView data);

    std::string UnitAt(uint32_t offset) const override;
    uint32_t UnitStartAt(uint32_t offset) const override;
    TKFProcAt ProcAt(uint32_t offset) const override;
    TKFLineAt LineAt(uint32_t offset) const override;
    std::string SourceAt(uint32_t offset) const override;

  private:
    struct TModuleAt {
        const TModule* Module = nullptr;
        uint32_t Start = kNoUnit;
    };
    TModuleAt ModuleAt(uint32_t offset) const;
    const TSourceFile* SourceFileAt(uint32_t offset) const;

    struct TSegmentOwner {
        uint32_t Module, Segment;
    };
    std::vector<TSegmentOwner> segmentOwners_;
    TRangeIndex segmentIndex_;   // items: segmentOwners_
    TRangeIndex sourceIndex_;    // items: sources_
    TRangeIndex procedureIndex_; // items: procedures_
};
