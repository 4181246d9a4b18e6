#include "dwarf_forms.h"
#include <string>

namespace {

// Forms, from the DWARF 5 standard (section 7.5.6) and the GNU extensions to it.
enum : uint64_t {
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

constexpr size_t kOffsetSize = 4; // 32-bit DWARF

DwarfValue Value(DwarfClass kind, uint64_t number) {
    DwarfValue v;
    v.Class = kind;
    v.Number = number;
    return v;
}

DwarfValue StringIn(std::span<const uint8_t> section, uint64_t offset) {
    DwarfValue v = Value(DwarfClass::String, offset);
    v.StringSection = section;
    return v;
}

DwarfValue Reference(uint64_t unitRelative, const DwarfUnit& unit) {
    return Value(DwarfClass::Reference, unit.Offset + unitRelative);
}

} // namespace

DwarfUnit ReadUnitHeader(DwarfCursor& in) {
    DwarfUnit unit;
    unit.Offset = in.Offset();
    const uint32_t length = in.UnitLength();
    unit.End = in.Offset() + length;
    unit.Version = in.U16();
    if (unit.Version < 2 || unit.Version > 5)
        throw DwarfError("DWARF version " + std::to_string(unit.Version) + " is not supported");
    if (unit.Version >= 5) {
        const uint8_t type = in.U8();
        unit.AddressSize = in.U8();
        unit.AbbrevOffset = in.U32();
        constexpr uint8_t kSkeleton = 4, kSplitCompile = 5, kType = 2, kSplitType = 6;
        if (type == kSkeleton || type == kSplitCompile)
            in.Skip(8); // unit id
        else if (type == kType || type == kSplitType)
            in.Skip(8 + kOffsetSize); // type signature and offset
    } else {
        unit.AbbrevOffset = in.U32();
        unit.AddressSize = in.U8();
    }
    return unit;
}

std::string_view DwarfValue::Text() const {
    return StringSection.empty() ? InlineText : StringAt(StringSection, Number);
}

DwarfValue ReadValue(DwarfCursor& in, uint64_t form, int64_t implicitConst, const DwarfUnit& unit,
                     const DwarfSections& sections) {
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

int FormSize(uint64_t form, const DwarfUnit& unit) {
    switch (form) {
    case kAddr:
        return unit.AddressSize;
    case kRefAddr:
        return unit.Version == 2 ? unit.AddressSize : int(kOffsetSize);
    case kFlagPresent:
    case kImplicitConst:
        return 0;
    case kData1:
    case kFlag:
    case kRef1:
    case kStrx1:
    case kAddrx1:
        return 1;
    case kData2:
    case kRef2:
    case kStrx2:
    case kAddrx2:
        return 2;
    case kStrx3:
    case kAddrx3:
        return 3;
    case kData4:
    case kRef4:
    case kStrp:
    case kLineStrp:
    case kSecOffset:
    case kRefSup4:
    case kStrpSup:
    case kStrx4:
    case kAddrx4:
    case kGnuRefAlt:
    case kGnuStrpAlt:
        return 4;
    case kData8:
    case kRef8:
    case kRefSig8:
    case kRefSup8:
        return 8;
    case kData16:
        return 16;
    default:
        return kSizedByValue;
    }
}

void SkipValue(DwarfCursor& in, uint64_t form, const DwarfUnit& unit) {
    const int size = FormSize(form, unit);
    if (size != kSizedByValue) {
        in.Skip(uint64_t(size));
        return;
    }
    switch (form) {
    case kString:
        in.CString();
        break;
    case kBlock1:
        in.Skip(in.U8());
        break;
    case kBlock2:
        in.Skip(in.U16());
        break;
    case kBlock4:
        in.Skip(in.U32());
        break;
    case kBlock:
    case kExprloc:
        in.Skip(in.Uleb());
        break;
    case kSdata:
        in.Sleb();
        break;
    case kUdata:
    case kRefUdata:
    case kStrx:
    case kAddrx:
    case kLoclistx:
    case kRnglistx:
    case kGnuAddrIndex:
    case kGnuStrIndex:
        in.Uleb();
        break;
    case kIndirect:
        SkipValue(in, in.Uleb(), unit);
        break;
    default:
        throw DwarfError("unknown DWARF form " + std::to_string(form));
    }
}
