// Linker map files: the text is walked once and every row that matters is handed to the items
// of a descendant. Two layouts are understood: the segment:offset map with "Detailed map of
// segments", "Publics by Value" and "Line numbers for" sections, and the GNU linker's map.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// What a map holds, row by row. Offsets are relative to the start of their segment; the code
// segment is 1.
class TKFMapItems {
  public:
    virtual ~TKFMapItems() = default;
    // A piece of a segment filled from one unit.
    virtual void SegmentItem(uint16_t segment, uint32_t offset, uint32_t length,
                             std::string_view unit) = 0;
    virtual void PublicByValueItem(uint16_t segment, uint32_t offset, std::string_view name) = 0;
    // Opens the line numbers of a unit; `sourceFile` is the text from its "(" on.
    virtual void LineNumbersUnitItem(std::string_view unit, std::string_view sourceFile) = 0;
    virtual void LineNumberItem(uint32_t line, uint16_t segment, uint32_t offset) = 0;
};

class TKFAbstractMapParser : public TKFMapItems {
  public:
    explicit TKFAbstractMapParser(std::string text) : text_(std::move(text)) {}

  protected:
    // Hands every row of the text to the items.
    void Parse();

  private:
    std::string text_;
};
