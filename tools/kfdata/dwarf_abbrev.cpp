#include "dwarf_abbrev.h"
#include "dwarf_cursor.h"

namespace {

// Compilers number their codes from 1 upwards; anything far beyond is damage.
constexpr uint64_t kLargestCode = 1u << 20;

} // namespace

DwarfAbbrevTable::DwarfAbbrevTable(std::span<const uint8_t> section, uint64_t offset,
                                   const DwarfUnit& unit, DwarfWantedAttribute wanted) {
    DwarfCursor in(section, size_t(offset));
    std::vector<std::pair<size_t, size_t>> attributeRuns; // by code: first, count
    for (uint64_t code = in.Uleb(); code != 0; code = in.Uleb()) {
        if (code > kLargestCode)
            throw DwarfError("abbreviation code out of range");
        if (code >= byCode_.size()) {
            byCode_.resize(size_t(code) + 1);
            attributeRuns.resize(size_t(code) + 1);
        }
        DwarfAbbrev& abbrev = byCode_[size_t(code)];
        if (abbrev.Tag != 0)
            throw DwarfError("an abbreviation code is defined twice");
        abbrev.Tag = uint32_t(in.Uleb());
        abbrev.HasChildren = in.U8() != 0;
        const size_t first = attributes_.size();
        for (;;) {
            DwarfAttributeEncoding attribute;
            attribute.Name = uint32_t(in.Uleb());
            attribute.Form = uint32_t(in.Uleb());
            if (attribute.Name == 0 && attribute.Form == 0)
                break;
            if (attribute.Form == dwarf_form::kImplicitConst)
                attribute.ImplicitConst = in.Sleb();
            attribute.Size = FormSize(attribute.Form, unit);
            attributes_.push_back(attribute);
        }
        attributeRuns[size_t(code)] = {first, attributes_.size() - first};
    }
    LayOutSteps(attributeRuns, wanted);
}

// Once all attributes are stored, where they stay; one step an attribute and one an entry at
// most, so that the steps do not move either.
void DwarfAbbrevTable::LayOutSteps(const std::vector<std::pair<size_t, size_t>>& attributeRuns,
                                   DwarfWantedAttribute wanted) {
    steps_.reserve(attributes_.size() + byCode_.size());
    for (size_t code = 0; code < byCode_.size(); ++code) {
        DwarfAbbrev& abbrev = byCode_[code];
        const size_t first = steps_.size();
        DwarfAttributeStep step;
        for (size_t i = 0; i < attributeRuns[code].second; ++i) {
            const DwarfAttributeEncoding& attribute = attributes_[attributeRuns[code].first + i];
            if (attribute.Size != kSizedByValue && !wanted(abbrev.Tag, attribute.Name)) {
                step.SkipBefore += uint32_t(attribute.Size);
                continue;
            }
            step.Attribute = &attribute;
            steps_.push_back(step);
            step = {};
        }
        steps_.push_back(step);
        abbrev.Steps = std::span<const DwarfAttributeStep>(steps_).subspan(first);
    }
}
