// The names and lines of a linker map, kept for lookups by code offset.
#pragma once
#include "reporter/diagnostics/debug_formats/debug_reader.h"
#include "reporter/diagnostics/debug_formats/map_parser.h"
#include <vector>

class TKFMapScanner : public TKFAbstractMapParser, public TKFDebugReader {
  public:
    explicit TKFMapScanner(std::string text);

    bool HasData() const { return !segments_.empty(); }
    // Line-number pairs that were rejected (out of range, another segment, not ascending).
    int LineErrors() const { return lineErrors_; }

    std::string UnitAt(uint32_t offset) const override;
    uint32_t UnitStartAt(uint32_t offset) const override;
    TKFProcAt ProcAt(uint32_t offset) const override;
    TKFLineAt LineAt(uint32_t offset) const override;
    std::string SourceAt(uint32_t offset) const override;

  private:
    struct TSegment {
        uint32_t Start;
        uint32_t End; // start + length: the end itself still counts as inside
        std::string Unit;
    };
    struct TNamed {
        uint32_t Offset;
        std::string Name;
    };
    struct TLine {
        uint32_t Offset;
        int32_t Line;
    };

    void SegmentItem(uint16_t segment, uint32_t offset, uint32_t length,
                     std::string_view unit) override;
    void PublicByValueItem(uint16_t segment, uint32_t offset, std::string_view name) override;
    void LineNumbersUnitItem(std::string_view unit, std::string_view sourceFile) override;
    void LineNumberItem(uint32_t line, uint16_t segment, uint32_t offset) override;

    bool Acceptable(uint16_t segment, uint32_t offset) const;
    const TSegment* SegmentAt(uint32_t offset) const;
    // The entry found, when it lies in the unit of `offset`.
    template <class Entry>
    const Entry* InUnit(const std::vector<Entry>& entries, uint32_t offset) const;

    std::vector<TSegment> segments_;
    std::vector<TNamed> publics_;
    std::vector<TLine> lines_;
    std::vector<TNamed> sources_;
    uint32_t topOffset_ = 0;
    std::string unitSource_; // source file of the unit whose line numbers are being read
    bool unitHasLines_ = false;
    bool anyLine_ = false;
    uint32_t lastLineOffset_ = 0;
    int lineErrors_ = 0;
};
