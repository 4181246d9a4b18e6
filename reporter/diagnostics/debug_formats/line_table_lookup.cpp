#include "reporter/diagnostics/debug_formats/line_table_lookup.h"
#include "reporter/diagnostics/debug_formats/hidden_units.h"
#include "reporter/diagnostics/debug_formats/line_table_format.h"
#include "reporter/diagnostics/debug_formats/line_table_index.h"
#include "reporter/diagnostics/debug_formats/line_table_names.h"
#include "reporter/diagnostics/debug_formats/line_table_procedure.h"
#include "reporter/diagnostics/debug_formats/line_table_records.h"

namespace {

class TLineTableLookup {
  public:
    TLineTableLookup(const TVessarModuleInfo& module, const TLineTableIndex& index,
                     const void* address)
        : module_(module), index_(index), table_(module.LineTable), names_(module),
          codeStart_(uintptr_t(module.Handle) + line_table::kCodeStart),
          target_(uint32_t(uintptr_t(address) - codeStart_)), address_(address) {}

    bool Locate(TVessarDebugInfo& info) const;

  private:
    bool Decode(const TIndexedUnit& unit, TVessarDebugInfo& info) const;
    TLineTableProcedure ProcedureOf(const TIndexedUnit& unit, uint32_t index) const;
    bool Found(const TIndexedUnit& unit, uint32_t procedure, uint32_t line,
               TVessarDebugInfo& info) const;

    const TVessarModuleInfo& module_;
    const TLineTableIndex& index_;
    TByteView table_;
    TLineTableNames names_;
    uintptr_t codeStart_;
    uint32_t target_; // the address as a code offset
    const void* address_;
};

// A name beginning with "." keeps the class of the procedure before it: the class comes from
// the nearest procedure of the unit whose name does not.
TLineTableProcedure TLineTableLookup::ProcedureOf(const TIndexedUnit& unit, uint32_t index) const {
    TLineTableProcedure procedure;
    if (index == TLineCheckpoint::kNoProcedure)
        return procedure;
    const TIndexedProcedure& opened = index_.Procedure(index);
    size_t at = opened.NameAt;
    const std::string name = names_.Read(table_, at);
    for (uint32_t before = index; name.starts_with('.') && before-- > unit.FirstProcedure;) {
        at = index_.Procedure(before).NameAt;
        const std::string earlier = names_.Read(table_, at);
        if (!earlier.starts_with('.')) {
            procedure.Open(earlier, 0, 0);
            break;
        }
    }
    procedure.Open(name, opened.Line, opened.Offset);
    return procedure;
}

bool TLineTableLookup::Found(const TIndexedUnit& unit, uint32_t procedureIndex, uint32_t line,
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
    const TLineTableProcedure procedure = ProcedureOf(unit, procedureIndex);
    info.Detail = kDetailLine;
    info.Unit = std::move(unitName);
    info.ClassName = procedure.ClassName();
    info.Procedure = procedure.Name();
    info.Line = int32_t(line);
    info.ProcLine = procedure.LinesTo(line, codeStart_);
    return true;
}

// Each record's line covers [offset, offset + address step - 1]; the line after the last
// record covers the rest of the unit. Procedures are numbered in the order they open.
bool TLineTableLookup::Decode(const TIndexedUnit& unit, TVessarDebugInfo& info) const {
    const TLineCheckpoint& start = index_.CheckpointAt(unit, target_);
    uint32_t procedure = start.Procedure;
    uint32_t line = start.Line;
    uint32_t offset = start.Offset;
    size_t at = start.RecordAt;
    while (at < unit.RecordsEnd) {
        const TLineRecord record = ReadLineRecord(table_, at, module_.DebugDataVersion);
        if (record.OpensProcedure) {
            procedure =
                procedure == TLineCheckpoint::kNoProcedure ? unit.FirstProcedure : procedure + 1;
            at = SkipLineTableName(table_, at, module_.DebugDataVersion);
        }
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
    const TIndexedUnit* unit = index_.UnitAt(target_);
    return unit && Decode(*unit, info);
}

} // namespace

bool LocateInLineTable(const TVessarModuleInfo& module, const void* address,
                       TVessarDebugInfo& info) {
    if (module.LineTable.empty())
        return false;
    if (module.LineIndex)
        return TLineTableLookup(module, *module.LineIndex, address).Locate(info);
    const TLineTableIndex index(module.LineTable, module.DebugDataVersion);
    return TLineTableLookup(module, index, address).Locate(info);
}
