// TD32 debug data (signature "FB09" or "FB0A"): its modules, procedures, source files with line
// numbers and names, taken apart once.
//
// Layout, little-endian: the signature and the offset of the subsection directory; at the end
// the signature again and the distance back to the start. A directory: 16-bit header size,
// 16-bit entry size (12), 32-bit entry count, 32-bit offset of the next directory (0 ends),
// 32-bit flags; entries of 16-bit type, 16-bit module index, 32-bit offset and size. Offsets
// count from the data's start, those inside a source-module subsection from its own start.
//   0x120 module: 16-bit overlay, library, segment count and style, 32-bit name index, time and
//         three reserved words; per segment 16-bit segment and flags, 32-bit offset and size.
//   0x125 aligned symbols: after a 4-byte signature, records of 16-bit length (not counting
//         itself) and kind. Procedures (0x204 local, 0x205 global): 32-bit parent, end, next,
//         length, debug start and end, offset; 16-bit segment; 32-bit type; flags byte; 32-bit
//         name index.
//   0x127 source module: 16-bit file and segment counts, 32-bit file offsets; per file 16-bit
//         segment count and padding, 32-bit line-block offsets, start and end offsets per
//         segment, 32-bit name index; a line block is 16-bit segment and pair count, 32-bit
//         offsets and 16-bit line numbers.
//   0x130 names: 32-bit count, then names of a length byte, the text and a zero.
#pragma once
#include "reporter/base/byte_view.h"
#include <string>
#include <vector>

// True when `data` ends in a TD32 trailer pointing back to a TD32 start within it.
bool IsTD32Data(TByteView data);

class TKFTD32InfoParser {
  public:
    explicit TKFTD32InfoParser(TByteView data);

    // False for data without a valid trailer, with a directory entry size other than 12, a
    // name index out of range or a structure that runs past the end.
    bool ValidData() const { return valid_; }

  protected:
    struct TSegment {
        uint32_t Offset;
        uint32_t Size;
    };
    struct TModule {
        uint32_t Name;
        std::vector<TSegment> Segments;
    };
    struct TProcedure {
        uint32_t Name;
        uint32_t Offset;
        uint32_t Size;
    };
    struct TLinePair {
        uint32_t Offset;
        uint16_t Line;
    };
    struct TRange {
        uint32_t Start;
        uint32_t End; // the first offset after it
    };
    struct TSourceFile {
        uint32_t Name;
        std::vector<TRange> Ranges;
        std::vector<TLinePair> Lines; // in the order of their blocks
    };

    const std::string& Name(uint32_t index) const { return names_[index]; }

    std::vector<TModule> modules_;
    std::vector<TProcedure> procedures_;
    std::vector<TSourceFile> sources_;

  private:
    // What was read before the data proved bad: lookups on bad data find nothing.
    void Forget();
    void ReadDirectories(TByteView data);
    void ReadSubsection(uint16_t type, TByteView subsection);
    void ReadModule(TByteView subsection);
    void ReadSymbols(TByteView subsection);
    void ReadSourceModule(TByteView subsection);
    TSourceFile ReadSourceFile(TByteView subsection, size_t at);
    void ReadNames(TByteView subsection);
    bool NamesInRange() const;
    // Takes `count` from what the data can honestly hold: each kept item needs bytes of its
    // own, so entries that point at the same bytes again and again cannot make the lists grow
    // without end.
    void Spend(size_t count);

    std::vector<std::string> names_; // index 0: no name
    bool valid_ = false;
    size_t budget_ = 0;
};
