#include "line_table_writer.h"
#include "line_records.h"
#include "reporter/base/cipher_key.h"
#include "reporter/diagnostics/debug_formats/line_table_format.h"

LineTableWriter::LineTableWriter(const std::vector<std::string>& files,
                                 const std::vector<DwarfProcedure>& procedures,
                                 const std::string& password, uint32_t imageBase)
    : files_(files), procedures_(procedures), cipher_(CipherKeyFromPassword(password)),
      codeStart_(imageBase + line_table::kCodeStart) {}

std::vector<uint8_t> LineTableWriter::Write(const std::vector<LineUnit>& units) const {
    ByteWriter out;
    out.WriteU32(uint32_t(units.size()));
    for (const auto& u : units)
        WriteUnit(out, u);
    return out.Data();
}

void LineTableWriter::WriteUnit(ByteWriter& out, const LineUnit& unit) const {
    WriteName(out, files_[unit.File], false);
    out.WriteU32(unit.Lines.front().Line);
    out.WriteU32(unit.Begin - codeStart_);
    out.WriteU32(unit.Size);
    const std::vector<uint8_t> records = Records(unit);
    out.WriteU32(uint32_t(records.size()));
    out.WriteBytes(std::string(records.begin(), records.end()));
}

// Every line but the last becomes a record; the last line covers the rest of the unit unless
// it opens a procedure, which takes a record of its own.
std::vector<uint8_t> LineTableWriter::Records(const LineUnit& unit) const {
    ByteWriter out;
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
    return out.Data();
}

// "Class.Procedure"; ".Procedure" when the class is the one of the procedure before.
void LineTableWriter::WriteProcedureName(ByteWriter& out, const DwarfProcedure& p,
                                         std::string_view& lastClass) const {
    if (!p.ClassName.empty())
        WriteName(out, p.ClassName == lastClass ? std::string_view() : p.ClassName, true);
    lastClass = p.ClassName;
    WriteName(out, p.Name, false);
}

void LineTableWriter::WriteName(ByteWriter& out, std::string_view text, bool continued) const {
    std::string bytes(text.substr(0, line_table::kLongestNamePart));
    cipher_.EncryptBuffer(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
    out.WriteU8(uint8_t(bytes.size() | (continued ? line_table::kNamePartFollows : 0)));
    out.WriteBytes(bytes);
}
