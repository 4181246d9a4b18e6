// The report's general, assembler and CPU sections as rich text for the dialog's pages: the text
// in the fixed text font, coloured by what each part of a line is.
#pragma once
#include <string>

struct TRtfFont {
    int Charset = 0;
    std::string Face;
    int Size = 8;
    // The pixel width of 21 dashes in the font: where the CPU page's stack column starts.
    int StackColumnPixels = 0;
};

std::string GeneralSectionRtf(const std::string& section, const TRtfFont& font);
std::string AssemblerSectionRtf(const std::string& section, const TRtfFont& font);
std::string CpuSectionRtf(const std::string& section, const TRtfFont& font);
