#include "dwarf_forms.h"
#include <string>

using namespace dwarf_form;

namespace {

constexpr size_t kOffsetSize = 4; // 32-bit DWARF

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
