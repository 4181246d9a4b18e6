#include "reporter/diagnostics/debug_formats/td32_scanner.h"
#include "reporter/diagnostics/debug_formats/td32_names.h"

TKFTD32InfoScanner::TModuleAt TKFTD32InfoScanner::ModuleAt(uint32_t offset) const {
    for (const TModule& module : modules_)
        for (const TSegment& segment : module.Segments)
            if (offset >= segment.Offset && offset - segment.Offset <= segment.Size)
                return {&module, segment.Offset};
    return {};
}

const TKFTD32InfoScanner::TSourceFile* TKFTD32InfoScanner::SourceFileAt(uint32_t offset) const {
    for (const TSourceFile& file : sources_)
        for (const TRange& range : file.Ranges)
            if (range.Start <= offset && offset < range.End)
                return &file;
    return nullptr;
}

std::string TKFTD32InfoScanner::UnitAt(uint32_t offset) const {
    const TModuleAt found = ModuleAt(offset);
    return found.Module ? Name(found.Module->Name) : std::string();
}

uint32_t TKFTD32InfoScanner::UnitStartAt(uint32_t offset) const {
    return ModuleAt(offset).Start;
}

TKFProcAt TKFTD32InfoScanner::ProcAt(uint32_t offset) const {
    for (const TProcedure& procedure : procedures_)
        if (procedure.Offset <= offset && offset - procedure.Offset < procedure.Size)
            return {ReadableProcedureName(Name(procedure.Name), UnitAt(offset)),
                    offset - procedure.Offset};
    return {};
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
