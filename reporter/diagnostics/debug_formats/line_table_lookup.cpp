#include "reporter/diagnostics/debug_formats/line_table_lookup.h"
#include "reporter/diagnostics/debug_formats/hidden_units.h"
#include "reporter/diagnostics/debug_formats/line_table_format.h"
#include "reporter/diagnostics/debug_formats/line_table_names.h"
#include "reporter/diagnostics/debug_formats/line_table_procedure.h"
#include "reporter/diagnostics/debug_formats/line_table_records.h"

namespace {

// Tables of these versions begin with a block that the lookup does not use.
constexpr int kFirstVersionWithLeadingBlock = 405;
constexpr int kLastVersionWithLeadingBlock = 499;

struct TUnit {
    size_t NameAt = 0;
    uint32_t FirstLine = 0;
    uint32_t Start = 0; // code offset
    uint32_t Size = 0;
    size_t RecordsAt = 0;
    size_t RecordsEnd = 0;
};

class TLineTableLookup {
  public:
    TLineTableLookup(const TVessarModuleInfo& module, const void* address)
        : module_(module), table_(module.LineTable), names_(module),
          codeStart_(uintptr_t(module.Handle) + line_table::kCodeStart),
          target_(uint32_t(uintptr_t(address) - codeStart_)), address_(address) {}

    bool Locate(TVessarDebugInfo& info) const;

  private:
    TUnit ReadUnit(size_t& at) const;
    bool Decode(const TUnit& unit, TVessarDebugInfo& info) const;
    bool Found(const TUnit& unit, const TLineTableProcedure& procedure, uint32_t line,
               TVessarDebugInfo& info) const;

    const TVessarModuleInfo& module_;
    TByteView table_;
    TLineTableNames names_;
    uintptr_t codeStart_;
    uint32_t target_; // the address as a code offset
    const void* address_;
};

TUnit TLineTableLookup::ReadUnit(size_t& at) const {
    TUnit unit;
    unit.NameAt = at;
    at = names_.Skip(table_, at);
    unit.FirstLine = table_.U32(at);
    unit.Start = table_.U32(at + 4);
    unit.Size = table_.U32(at + 8);
    const uint32_t length = table_.U32(at + 12);
    unit.RecordsAt = at + 16;
    table_.Part(unit.RecordsAt, length); // the records are all there
    unit.RecordsEnd = unit.RecordsAt + length;
    at = unit.RecordsEnd;
    return unit;
}

bool TLineTableLookup::Found(const TUnit& unit, const TLineTableProcedure& procedure, uint32_t line,
                             TVessarDebugInfo& info) const {
    size_t at = unit.NameAt;
    std::string unitName = names_.ReadUnit(table_, at);
    info.Addr = uint32_t(uintptr_t(address_));
    if (IsHiddenUnit(unitName) && !ReportingOwnFailure()) {
        info.Detail = kDetailModule;
        info.Unit.clear();
        info.ClassName.clear();
        info.Procedure.clear();
        info.Line = 0;
        info.ProcLine = 0;
        return true;
    }
    info.Detail = kDetailLine;
    info.Unit = std::move(unitName);
    info.ClassName = procedure.ClassName();
    info.Procedure = procedure.Name();
    info.Line = int32_t(line);
    info.ProcLine = procedure.LinesTo(line, codeStart_);
    return true;
}

// Each record's line covers [offset, offset + address step - 1]; the line after the last
// record covers the rest of the unit.
bool TLineTableLookup::Decode(const TUnit& unit, TVessarDebugInfo& info) const {
    TLineTableProcedure procedure;
    uint32_t line = unit.FirstLine;
    uint32_t offset = unit.Start;
    size_t at = unit.RecordsAt;
    while (at < unit.RecordsEnd) {
        const TLineRecord record = ReadLineRecord(table_, at, module_.DebugDataVersion);
        if (record.OpensProcedure)
            procedure.Open(names_.Read(table_, at), line, offset);
        if (target_ < offset)
            return false;
        if (target_ - offset < record.AddressStep)
            return Found(unit, procedure, line, info);
        line += record.LineStep;
        offset += record.AddressStep;
    }
    return target_ >= offset && Found(unit, procedure, line, info);
}

bool TLineTableLookup::Locate(TVessarDebugInfo& info) const {
    size_t at = 0;
    const int version = module_.DebugDataVersion;
    if (version >= kFirstVersionWithLeadingBlock && version <= kLastVersionWithLeadingBlock)
        at += 4 + table_.U32(0);
    const uint32_t count = table_.U32(at);
    at += 4;
    for (uint32_t i = 0; i < count; ++i) {
        const TUnit unit = ReadUnit(at);
        if (target_ - unit.Start < unit.Size && Decode(unit, info))
            return true;
    }
    return false;
}

} // namespace

bool LocateInLineTable(const TVessarModuleInfo& module, const void* address,
                       TVessarDebugInfo& info) {
    if (module.LineTable.empty())
        return false;
    return TLineTableLookup(module, address).Locate(info);
}
