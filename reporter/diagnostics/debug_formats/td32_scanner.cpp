#include "reporter/diagnostics/debug_formats/td32_scanner.h"
#include "reporter/diagnostics/debug_formats/td32_names.h"

TKFTD32InfoScanner::TKFTD32InfoScanner(TByteView data) : TKFTD32InfoParser(data) {
    for (size_t m = 0; m < modules_.size(); ++m)
        for (size_t s = 0; s < modules_[m].Segments.size(); ++s) {
            // A segment holds the offset just past its end too.
            const TSegment& segment = modules_[m].Segments[s];
            segmentIndex_.Add(segment.Offset, uint64_t(segment.Offset) + segment.Size + 1,
                              uint32_t(segmentOwners_.size()));
            segmentOwners_.push_back({uint32_t(m), uint32_t(s)});
        }
    for (size_t f = 0; f < sources_.size(); ++f)
        for (const TRange& range : sources_[f].Ranges)
            sourceIndex_.Add(range.Start, range.End, uint32_t(f));
    for (size_t p = 0; p < procedures_.size(); ++p) {
        const TProcedure& procedure = procedures_[p];
        procedureIndex_.Add(procedure.Offset, uint64_t(procedure.Offset) + procedure.Size,
                            uint32_t(p));
    }
    segmentIndex_.Seal();
    sourceIndex_.Seal();
    procedureIndex_.Seal();
}

TKFTD32InfoScanner::TModuleAt TKFTD32InfoScanner::ModuleAt(uint32_t offset) const {
    uint32_t item = 0;
    if (!segmentIndex_.Find(offset, item))
        return {};
    const TModule& module = modules_[segmentOwners_[item].Module];
    return {&module, module.Segments[segmentOwners_[item].Segment].Offset};
}

const TKFTD32InfoScanner::TSourceFile* TKFTD32InfoScanner::SourceFileAt(uint32_t offset) const {
    uint32_t item = 0;
    return sourceIndex_.Find(offset, item) ? &sources_[item] : nullptr;
}

std::string TKFTD32InfoScanner::UnitAt(uint32_t offset) const {
    const TModuleAt found = ModuleAt(offset);
    return found.Module ? Name(found.Module->Name) : std::string();
}

uint32_t TKFTD32InfoScanner::UnitStartAt(uint32_t offset) const {
    return ModuleAt(offset).Start;
}

TKFProcAt TKFTD32InfoScanner::ProcAt(uint32_t offset) const {
    uint32_t item = 0;
    if (!procedureIndex_.Find(offset, item))
        return {};
    const TProcedure& procedure = procedures_[item];
    return {ReadableProcedureName(Name(procedure.Name), UnitAt(offset)), offset - procedure.Offset};
}

// The line whose code starts at the offset, else the one before the first line that starts
// after it; past the last line nothing is known.
TKFLineAt TKFTD32InfoScanner::LineAt(uint32_t offset) const {
    const TSourceFile* file = SourceFileAt(offset);
    if (!file)
        return {};
    const TLinePair* previous = nullptr;
    for (const TLinePair& pair : file->Lines) {
        if (pair.Offset == offset)
            return {pair.Line, 0};
        if (pair.Offset > offset)
            return previous ? TKFLineAt{previous->Line, offset - previous->Offset} : TKFLineAt{};
        previous = &pair;
    }
    return {};
}

std::string TKFTD32InfoScanner::SourceAt(uint32_t offset) const {
    const TSourceFile* file = SourceFileAt(offset);
    return file ? Name(file->Name) : std::string();
}
