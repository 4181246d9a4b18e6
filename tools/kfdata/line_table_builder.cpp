#include "line_table_builder.h"
#include "dwarf_lines.h"
#include "dwarf_procedures.h"
#include "line_entries.h"
#include "line_table_writer.h"
#include "line_units.h"
#include <algorithm>
#include <windows.h>

namespace {

struct CodeRange {
    uint32_t Begin = UINT32_MAX;
    uint32_t End = 0;
};

// Every executable section of the image, as one range of virtual addresses.
CodeRange CodeOf(const PeFile& image) {
    CodeRange code;
    for (const auto& s : image.Sections()) {
        if (!(s.Characteristics & IMAGE_SCN_MEM_EXECUTE))
            continue;
        code.Begin = std::min(code.Begin, image.ImageBase() + s.VirtualAddress);
        code.End = std::max(code.End, image.ImageBase() + s.VirtualAddress + s.VirtualSize);
    }
    return code;
}

} // namespace

std::vector<uint8_t> BuildLineTable(const PeFile& image, const std::string& password,
                                    const BuildPhaseEnded& phaseEnded) {
    const DwarfSections sections = DwarfSectionsOf(image);
    const CodeRange code = CodeOf(image);
    if (sections.Info.empty() || sections.Abbrev.empty() || sections.Line.empty() ||
        code.Begin >= code.End)
        return {};
    const DwarfLines lines = ReadLines(sections);
    EndPhase(phaseEnded, "line programs (.debug_line)");
    const DwarfProcedures procedures = ReadProcedures(sections);
    EndPhase(phaseEnded, "procedures and inlined calls (.debug_info, .debug_abbrev, ranges)");
    const std::vector<LineEntry> entries = LineEntries(lines, procedures, code.Begin, code.End);
    EndPhase(phaseEnded, "line pieces cut at procedures and calls");
    const std::vector<LineUnit> units = LineUnits(entries);
    EndPhase(phaseEnded, "units");
    std::vector<uint8_t> table =
        LineTableWriter(lines.Files, procedures.Procedures, password, image.ImageBase())
            .Write(units);
    EndPhase(phaseEnded, "table written");
    return table;
}
