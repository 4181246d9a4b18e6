// A unit's abbreviation table: the tag, children flag and attribute forms of each entry code,
// laid out for a reader that wants only some attributes: each entry's attributes come as steps
// that pass the fixed-size values it does not want in one go.
#pragma once
#include "dwarf_forms.h"
#include <cstdint>
#include <span>
#include <vector>

struct DwarfAttributeEncoding {
    uint32_t Name = 0;
    uint32_t Form = 0;
    int64_t ImplicitConst = 0;
    int Size = 0; // of every value in the unit; kSizedByValue when each value says its own
};

// The bytes of unwanted fixed-size values to pass, then an attribute the reader wants or one
// whose size only its value tells. The last step of an entry has no attribute.
struct DwarfAttributeStep {
    uint32_t SkipBefore = 0;
    const DwarfAttributeEncoding* Attribute = nullptr;
};

struct DwarfAbbrev {
    uint32_t Tag = 0; // 0: the code is not defined
    bool HasChildren = false;
    std::span<const DwarfAttributeStep> Steps;
};

// Whether the reader wants the values of attribute `name` in entries of `tag`.
using DwarfWantedAttribute = bool (*)(uint32_t tag, uint32_t name);

class DwarfAbbrevTable {
  public:
    // The table at `offset` of .debug_abbrev, as used by `unit`.
    DwarfAbbrevTable(std::span<const uint8_t> section, uint64_t offset, const DwarfUnit& unit,
                     DwarfWantedAttribute wanted);
    // The steps point into the table's own storage, which a move keeps.
    DwarfAbbrevTable(DwarfAbbrevTable&&) = default;
    DwarfAbbrevTable(const DwarfAbbrevTable&) = delete;
    DwarfAbbrevTable& operator=(const DwarfAbbrevTable&) = delete;

    // Raises DwarfError for a code the table does not define.
    const DwarfAbbrev& Find(uint64_t code) const {
        if (code >= byCode_.size() || byCode_[size_t(code)].Tag == 0)
            throw DwarfError("an entry uses an undefined abbreviation code");
        return byCode_[size_t(code)];
    }

  private:
    void LayOutSteps(const std::vector<std::pair<size_t, size_t>>& attributeRuns,
                     DwarfWantedAttribute wanted);

    std::vector<DwarfAbbrev> byCode_;
    std::vector<DwarfAttributeEncoding> attributes_; // of all entries, one after the other
    std::vector<DwarfAttributeStep> steps_;          // likewise
};

// Moves past the value of `attribute` at the cursor.
// Inline strings and expressions, the variable-sized forms entries use most, are passed in place.
inline void SkipAttribute(DwarfCursor& in, const DwarfAttributeEncoding& attribute,
                          const DwarfUnit& unit) {
    if (attribute.Size != kSizedByValue)
        in.Skip(uint64_t(attribute.Size));
    else if (attribute.Form == dwarf_form::kString)
        in.CString();
    else if (attribute.Form == dwarf_form::kExprloc)
        in.Skip(in.Uleb());
    else
        SkipValue(in, attribute.Form, unit);
}

// Moves past the attribute values of an entry of `abbrev` at the cursor.
inline void SkipEntry(DwarfCursor& in, const DwarfAbbrev& abbrev, const DwarfUnit& unit) {
    for (const DwarfAttributeStep& step : abbrev.Steps) {
        in.Skip(step.SkipBefore);
        if (step.Attribute)
            SkipAttribute(in, *step.Attribute, unit);
    }
}
