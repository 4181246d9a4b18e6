#include "line_table_writer.h"
#include "line_records.h"
#include "reporter/base/cipher_key.h"
#include "reporter/diagnostics/debug_formats/line_table_format.h"

LineTableWriter::LineTableWriter(const std::vector<std::string>& files,
                                 const std::vector<DwarfProcedure>& procedures,
                                 const std::string& password, uint32_t imageBase)
    : files_(files), procedures_(procedures), cipher_(CipherKeyFromPassword(password)),
      codeStart_(imageBase + line_table::kCodeStart) {}

std::vector<uint8_t> LineTableWriter::Write(const std::vector<LineUnit>& units) {
    ByteWriter out;
    out.WriteU32(uint32_t(units.size()));
    for (const auto& u : units)
        WriteUnit(out, u);
    return out.Data();
}

void LineTableWriter::WriteUnit(ByteWriter& out, const LineUnit& unit) {
    WriteName(out, files_[unit.File], false);
    out.WriteU32(unit.Lines.front().Line);
    out.WriteU32(unit.Begin - codeStart_);
    out.WriteU32(unit.Size);
    records_.Clear();
    WriteRecords(records_, unit);
    out.WriteU32(uint32_t(records_.Data().size()));
    out.WriteBytes(std::span<const uint8_t>(records_.Data()));
}

// Every line but the last becomes a record; the last line covers the rest of the unit unless
// it opens a procedure, which takes a record of its own.
void LineTableWriter::WriteRecords(ByteWriter& out, const LineUnit& unit) {
    std::string_view lastClass;
    const std::vector<UnitLine>& lines = unit.Lines;
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        if (last && lines[i].Opens < 0)
            break;
        const uint32_t lineStep = last ? 1 : lines[i + 1].Line - lines[i].Line;
        WriteLineRecord(out, lineStep, lines[i].Size, lines[i].Opens >= 0);
        if (lines[i].Opens >= 0)
            WriteProcedureName(out, procedures_[size_t(lines[i].Opens)], lastClass);
    }
}

// "Class.Procedure"; ".Procedure" when the class is the one of the procedure before.
void LineTableWriter::WriteProcedureName(ByteWriter& out, const DwarfProcedure& p,
                                         std::string_view& lastClass) {
    if (!p.ClassName.empty())
        WriteName(out, p.ClassName == lastClass ? std::string_view() : p.ClassName, true);
    lastClass = p.ClassName;
    WriteName(out, p.Name, false);
}

void LineTableWriter::WriteName(ByteWriter& out, std::string_view text, bool continued) {
    const std::string_view part = text.substr(0, line_table::kLongestNamePart);
    auto found = enciphered_.find(part);
    if (found == enciphered_.end()) {
        std::string bytes(part);
        cipher_.EncryptBuffer(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
        found = enciphered_.emplace(std::string(part), std::move(bytes)).first;
    }
    out.WriteU8(uint8_t(found->second.size() | (continued ? line_table::kNamePartFollows : 0)));
    out.WriteBytes(found->second);
}
