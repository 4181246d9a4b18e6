// Attribute values of DWARF 2 to 5 debugging entries, decoded by their form.
#pragma once
#include "dwarf_cursor.h"
#include "dwarf_sections.h"
#include <cstdint>
#include <string_view>

// Forms, from the DWARF 5 standard (section 7.5.6) and the GNU extensions to it.
namespace dwarf_form {
enum : uint32_t {
    kAddr = 0x01,
    kBlock2 = 0x03,
    kBlock4 = 0x04,
    kData2 = 0x05,
    kData4 = 0x06,
    kData8 = 0x07,
    kString = 0x08,
    kBlock = 0x09,
    kBlock1 = 0x0a,
    kData1 = 0x0b,
    kFlag = 0x0c,
    kSdata = 0x0d,
    kStrp = 0x0e,
    kUdata = 0x0f,
    kRefAddr = 0x10,
    kRef1 = 0x11,
    kRef2 = 0x12,
    kRef4 = 0x13,
    kRef8 = 0x14,
    kRefUdata = 0x15,
    kIndirect = 0x16,
    kSecOffset = 0x17,
    kExprloc = 0x18,
    kFlagPresent = 0x19,
    kStrx = 0x1a,
    kAddrx = 0x1b,
    kRefSup4 = 0x1c,
    kStrpSup = 0x1d,
    kData16 = 0x1e,
    kLineStrp = 0x1f,
    kRefSig8 = 0x20,
    kImplicitConst = 0x21,
    kLoclistx = 0x22,
    kRnglistx = 0x23,
    kRefSup8 = 0x24,
    kStrx1 = 0x25,
    kStrx2 = 0x26,
    kStrx3 = 0x27,
    kStrx4 = 0x28,
    kAddrx1 = 0x29,
    kAddrx2 = 0x2a,
    kAddrx3 = 0x2b,
    kAddrx4 = 0x2c,
    kGnuAddrIndex = 0x1f01,
    kGnuStrIndex = 0x1f02,
    kGnuRefAlt = 0x1f20,
    kGnuStrpAlt = 0x1f21,
};
} // namespace dwarf_form

// The header of a unit of .debug_info, or the parts of a line program's header that its
// entry formats need.
struct DwarfUnit {
    size_t Offset = 0; // of the header in its section
    size_t End = 0;    // one past the unit
    uint16_t Version = 0;
    uint8_t AddressSize = 4;
    uint64_t AbbrevOffset = 0;
};

// Reads a .debug_info unit header at the cursor and leaves the cursor at its first entry.
DwarfUnit ReadUnitHeader(DwarfCursor& in);

enum class DwarfClass : uint8_t { Other, Address, Constant, Reference, SectionOffset, String };

struct DwarfValue {
    DwarfClass Class = DwarfClass::Other;
    uint64_t Number = 0; // references: offsets in .debug_info; strings: see Text
    std::string_view InlineText;
    std::span<const uint8_t> StringSection; // strings kept elsewhere: Number is their offset

    std::string_view Text() const {
        return StringSection.empty() ? InlineText : StringAt(StringSection, Number);
    }
};

// The bytes that every value of `form` takes in `unit`; kSizedByValue for forms whose values
// say their own size (strings, blocks, LEB128 numbers) and for forms this reader does not know.
constexpr int kSizedByValue = -1;
int FormSize(uint64_t form, const DwarfUnit& unit);

// Moves past one value of `form` without decoding it. Raises DwarfError for an unknown form.
void SkipValue(DwarfCursor& in, uint64_t form, const DwarfUnit& unit);

namespace dwarf_value {

inline DwarfValue Value(DwarfClass kind, uint64_t number) {
    DwarfValue v;
    v.Class = kind;
    v.Number = number;
    return v;
}

inline DwarfValue StringIn(std::span<const uint8_t> section, uint64_t offset) {
    DwarfValue v = Value(DwarfClass::String, offset);
    v.StringSection = section;
    return v;
}

inline DwarfValue Reference(uint64_t unitRelative, const DwarfUnit& unit) {
    return Value(DwarfClass::Reference, unit.Offset + unitRelative);
}

} // namespace dwarf_value

// Reads one value of `form`; `implicitConst` is the value that DW_FORM_implicit_const keeps in
// the abbreviation. Forms this reader cannot resolve (string and address indices) come back as
// DwarfClass::Other. Inline: the build step reads a million values.
inline DwarfValue ReadValue(DwarfCursor& in, uint64_t form, int64_t implicitConst,
                            const DwarfUnit& unit, const DwarfSections& sections) {
    using namespace dwarf_form;
    using dwarf_value::Reference;
    using dwarf_value::StringIn;
    using dwarf_value::Value;
    switch (form) {
    case kAddr:
        return Value(DwarfClass::Address, in.Fixed(unit.AddressSize));
    case kData1:
    case kFlag:
        return Value(DwarfClass::Constant, in.U8());
    case kData2:
        return Value(DwarfClass::Constant, in.U16());
    case kData4:
        return Value(DwarfClass::Constant, in.U32());
    case kData8:
        return Value(DwarfClass::Constant, in.Fixed(8));
    case kSdata:
        return Value(DwarfClass::Constant, uint64_t(in.Sleb()));
    case kUdata:
        return Value(DwarfClass::Constant, in.Uleb());
    case kImplicitConst:
        return Value(DwarfClass::Constant, uint64_t(implicitConst));
    case kFlagPresent:
        return Value(DwarfClass::Constant, 1);
    case kString: {
        DwarfValue v = Value(DwarfClass::String, 0);
        v.InlineText = in.CString();
        return v;
    }
    case kStrp:
        return StringIn(sections.Str, in.U32());
    case kLineStrp:
        return StringIn(sections.LineStr, in.U32());
    case kRef1:
        return Reference(in.U8(), unit);
    case kRef2:
        return Reference(in.U16(), unit);
    case kRef4:
        return Reference(in.U32(), unit);
    case kRef8:
        return Reference(in.Fixed(8), unit);
    case kRefUdata:
        return Reference(in.Uleb(), unit);
    case kRefAddr:
        return Value(DwarfClass::Reference, in.Fixed(size_t(FormSize(kRefAddr, unit))));
    case kSecOffset:
        return Value(DwarfClass::SectionOffset, in.U32());
    case kIndirect:
        return ReadValue(in, in.Uleb(), implicitConst, unit, sections);
    default:
        SkipValue(in, form, unit);
        return {};
    }
}
