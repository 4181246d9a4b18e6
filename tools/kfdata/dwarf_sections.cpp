#include "dwarf_sections.h"

DwarfSections DwarfSectionsOf(const PeFile& image) {
    DwarfSections s;
    s.Info = image.SectionData(".debug_info");
    s.Abbrev = image.SectionData(".debug_abbrev");
    s.Str = image.SectionData(".debug_str");
    s.LineStr = image.SectionData(".debug_line_str");
    s.Line = image.SectionData(".debug_line");
    s.Ranges = image.SectionData(".debug_ranges");
    s.RngLists = image.SectionData(".debug_rnglists");
    return s;
}
