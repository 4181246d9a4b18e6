#include "dwarf_procedures.h"
#include "dwarf_abbrev.h"
#include "dwarf_scopes.h"
#include <map>
#include <tuple>

namespace {

// Attributes from the DWARF 5 standard (section 7.5.4).
enum : uint32_t {
    kAtSibling = 0x01,
    kAtName = 0x03,
    kAtStmtList = 0x10,
    kAtLowPc = 0x11,
    kAtHighPc = 0x12,
    kAtAbstractOrigin = 0x31,
    kAtDeclaration = 0x3c,
    kAtSpecification = 0x47,
    kAtRanges = 0x55,
    kAtCallFile = 0x58,
    kAtCallLine = 0x59,
};

// Entries of other kinds add nothing to the table, and their children stand where they would.
bool IsRead(uint32_t tag) {
    return DwarfScopes::IsScope(tag) || tag == kTagCompileUnit || tag == kTagInlinedSubroutine;
}

// The values the table is made of; the others are passed over unread.
bool IsWanted(uint32_t tag, uint32_t attribute) {
    if (!IsRead(tag))
        return false;
    switch (attribute) {
    case kAtName:
        return DwarfScopes::IsScope(tag);
    case kAtSibling:
    case kAtDeclaration:
        return tag == kTagSubprogram;
    case kAtStmtList:
    case kAtLowPc:
    case kAtHighPc:
    case kAtAbstractOrigin:
    case kAtSpecification:
    case kAtRanges:
    case kAtCallFile:
    case kAtCallLine:
        return true;
    default:
        return false;
    }
}

struct Definition {
    int32_t Scope = -1;
    std::vector<DwarfRange> Ranges;
};

// What one entry says about itself.
struct EntryFacts {
    std::string_view Name;
    uint64_t Origin = 0;
    uint64_t LowPc = 0;
    DwarfValue HighPc;
    bool HasRanges = false;
    uint64_t RangesOffset = 0;
    uint64_t StmtList = 0;
    uint32_t CallFile = 0;
    uint32_t CallLine = 0;
    bool Declaration = false;
    uint64_t Sibling = 0; // the entry after this one's children; 0: not told
};

// A procedure's declaration (in its class, say): its children are its parameters and template
// parameters, nothing the table needs, and the largest part of a program's entries.
bool HoldsParametersOnly(uint32_t tag, const EntryFacts& facts) {
    return tag == kTagSubprogram && facts.Declaration;
}

// Where the walk through a unit's entries stands: the enclosing scope, and whether the entry
// lies inside an inlined call.
struct Frame {
    int32_t Scope = -1;
    bool InInlinedCall = false;
};

// What the unit's entries share.
struct UnitFacts {
    DwarfUnit Unit;
    uint64_t Base = 0; // base address of its range lists
    uint64_t LineProgram = 0;
};

class ProcedureCollector {
  public:
    explicit ProcedureCollector(const DwarfSections& sections) : sections_(sections) {}

    void ReadUnit(DwarfCursor in);
    DwarfProcedures Result() const;

  private:
    const DwarfAbbrevTable& AbbrevsOf(const DwarfUnit& unit);
    EntryFacts ReadEntry(DwarfCursor& in, const DwarfAbbrev& abbrev, const DwarfUnit& unit) const;
    std::vector<DwarfRange> RangesOf(const EntryFacts& facts, const UnitFacts& unit) const;
    Frame Enter(uint32_t tag, size_t offset, const EntryFacts& facts, const Frame& outer,
                UnitFacts& unit);

    const DwarfSections& sections_;
    using AbbrevKey = std::tuple<uint64_t, uint16_t, uint8_t>; // offset, version, address size
    std::map<AbbrevKey, DwarfAbbrevTable> abbrevs_;
    DwarfScopes scopes_;
    std::vector<Definition> definitions_;
    std::vector<DwarfInlinedCall> calls_;
};

// Units that share a table and lay their values out alike share its decoded form.
const DwarfAbbrevTable& ProcedureCollector::AbbrevsOf(const DwarfUnit& unit) {
    const AbbrevKey key{unit.AbbrevOffset, unit.Version, unit.AddressSize};
    auto found = abbrevs_.find(key);
    if (found == abbrevs_.end())
        found =
            abbrevs_
                .emplace(key, DwarfAbbrevTable(sections_.Abbrev, unit.AbbrevOffset, unit, IsWanted))
                .first;
    return found->second;
}

EntryFacts ProcedureCollector::ReadEntry(DwarfCursor& in, const DwarfAbbrev& abbrev,
                                         const DwarfUnit& unit) const {
    EntryFacts facts;
    for (const DwarfAttributeStep& step : abbrev.Steps) {
        in.Skip(step.SkipBefore);
        if (!step.Attribute)
            break;
        const DwarfAttributeEncoding& attribute = *step.Attribute;
        const auto read = [&] {
            return ReadValue(in, attribute.Form, attribute.ImplicitConst, unit, sections_);
        };
        switch (attribute.Name) {
        case kAtName:
            if (!DwarfScopes::IsScope(abbrev.Tag)) {
                SkipAttribute(in, attribute, unit);
            } else if (const DwarfValue v = read(); v.Class == DwarfClass::String) {
                facts.Name = v.Text();
            }
            break;
        case kAtSpecification:
        case kAtAbstractOrigin:
            if (const DwarfValue v = read(); v.Class == DwarfClass::Reference)
                facts.Origin = v.Number;
            break;
        case kAtLowPc:
            facts.LowPc = read().Number;
            break;
        case kAtHighPc:
            facts.HighPc = read();
            break;
        case kAtRanges: {
            const DwarfValue v = read();
            facts.HasRanges = v.Class == DwarfClass::SectionOffset;
            facts.RangesOffset = v.Number;
            break;
        }
        case kAtStmtList:
            facts.StmtList = read().Number;
            break;
        case kAtCallFile:
            facts.CallFile = uint32_t(read().Number);
            break;
        case kAtCallLine:
            facts.CallLine = uint32_t(read().Number);
            break;
        case kAtDeclaration:
            facts.Declaration = read().Number != 0;
            break;
        case kAtSibling:
            if (const DwarfValue v = read(); v.Class == DwarfClass::Reference)
                facts.Sibling = v.Number;
            break;
        default:
            SkipAttribute(in, attribute, unit);
            break;
        }
    }
    return facts;
}

std::vector<DwarfRange> ProcedureCollector::RangesOf(const EntryFacts& facts,
                                                     const UnitFacts& unit) const {
    if (facts.HasRanges)
        return ReadRangeList(sections_, unit.Unit, facts.RangesOffset, unit.Base);
    uint64_t end = facts.HighPc.Number;
    if (facts.HighPc.Class == DwarfClass::Constant)
        end += facts.LowPc; // DWARF 4 and later: the length
    else if (facts.HighPc.Class != DwarfClass::Address)
        return {};
    if (facts.LowPc == 0 || end <= facts.LowPc)
        return {};
    return {{uint32_t(facts.LowPc), uint32_t(end)}};
}

// Records what the entry adds and returns the frame of its children.
Frame ProcedureCollector::Enter(uint32_t tag, size_t offset, const EntryFacts& facts,
                                const Frame& outer, UnitFacts& unit) {
    Frame inner = outer;
    if (DwarfScopes::IsScope(tag))
        inner.Scope = scopes_.Add(offset, outer.Scope, tag, facts.Name, facts.Origin);
    if (tag == kTagCompileUnit) {
        unit.Base = facts.LowPc;
        unit.LineProgram = facts.StmtList;
    } else if (tag == kTagSubprogram) {
        std::vector<DwarfRange> ranges = RangesOf(facts, unit);
        if (!ranges.empty())
            definitions_.push_back({inner.Scope, std::move(ranges)});
        inner.InInlinedCall = false;
    } else if (tag == kTagInlinedSubroutine && !outer.InInlinedCall) {
        calls_.push_back({RangesOf(facts, unit), unit.LineProgram, facts.CallFile, facts.CallLine});
        inner.InInlinedCall = true;
    }
    return inner;
}

void ProcedureCollector::ReadUnit(DwarfCursor in) {
    UnitFacts unit;
    unit.Unit = ReadUnitHeader(in);
    const DwarfAbbrevTable& abbrevs = AbbrevsOf(unit.Unit);
    std::vector<Frame> frames{Frame{}};
    while (in.Offset() < unit.Unit.End) {
        const size_t offset = in.Offset();
        const uint64_t code = in.Uleb();
        if (code == 0) {
            if (frames.size() > 1)
                frames.pop_back();
            continue;
        }
        const DwarfAbbrev& abbrev = abbrevs.Find(code);
        if (!IsRead(abbrev.Tag)) {
            SkipEntry(in, abbrev, unit.Unit);
            if (abbrev.HasChildren)
                frames.push_back(frames.back());
            continue;
        }
        const EntryFacts facts = ReadEntry(in, abbrev, unit.Unit);
        const Frame inner = Enter(abbrev.Tag, offset, facts, frames.back(), unit);
        if (!abbrev.HasChildren)
            continue;
        if (HoldsParametersOnly(abbrev.Tag, facts) && facts.Sibling > in.Offset() &&
            facts.Sibling <= unit.Unit.End)
            in = DwarfCursor(sections_.Info, size_t(facts.Sibling));
        else
            frames.push_back(inner);
    }
}

DwarfProcedures ProcedureCollector::Result() const {
    DwarfProcedures result;
    result.InlinedCalls = calls_;
    for (const auto& d : definitions_) {
        DwarfScopes::TProcedureName name = scopes_.ProcedureName(d.Scope);
        if (!name.Name.empty())
            result.Procedures.push_back(
                {std::move(name.ClassName), std::move(name.Name), d.Ranges});
    }
    return result;
}

} // namespace

DwarfProcedures ReadProcedures(const DwarfSections& sections) {
    ProcedureCollector collector(sections);
    ForEachUnit(sections.Info,
                [&](size_t offset) { collector.ReadUnit(DwarfCursor(sections.Info, offset)); });
    return collector.Result();
}
