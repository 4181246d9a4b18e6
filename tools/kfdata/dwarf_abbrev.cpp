#include "dwarf_abbrev.h"
#include "dwarf_cursor.h"

namespace {

constexpr uint64_t kImplicitConstForm = 0x21;
// Compilers number their codes from 1 upwards; anything far beyond is damage.
constexpr uint64_t kLargestCode = 1u << 20;

} // namespace

DwarfAbbrevTable::DwarfAbbrevTable(std::span<const uint8_t> section, uint64_t offset) {
    DwarfCursor in(section, size_t(offset));
    for (uint64_t code = in.Uleb(); code != 0; code = in.Uleb()) {
        if (code > kLargestCode)
            throw DwarfError("abbreviation code out of range");
        if (code >= byCode_.size())
            byCode_.resize(size_t(code) + 1);
        DwarfAbbrev& abbrev = byCode_[size_t(code)];
        abbrev.Tag = uint32_t(in.Uleb());
        abbrev.HasChildren = in.U8() != 0;
        for (;;) {
            DwarfAttributeEncoding attribute;
            attribute.Name = uint32_t(in.Uleb());
            attribute.Form = uint32_t(in.Uleb());
            if (attribute.Name == 0 && attribute.Form == 0)
                break;
            if (attribute.Form == kImplicitConstForm)
                attribute.ImplicitConst = in.Sleb();
            abbrev.Attributes.push_back(attribute);
        }
    }
}

const DwarfAbbrev& DwarfAbbrevTable::Find(uint64_t code) const {
    if (code >= byCode_.size() || byCode_[size_t(code)].Tag == 0)
        throw DwarfError("an entry uses an undefined abbreviation code");
    return byCode_[size_t(code)];
}
