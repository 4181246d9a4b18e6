#include "td32_writer.h"
#include "fixture_bytes.h"
#include "reporter/base/byte_stream.h"

namespace {

struct TSubsection {
    uint16_t Type;
    std::vector<uint8_t> Bytes;
};

// Names in order of first use, from index 1.
class TNames {
  public:
    uint32_t Index(const std::string& name) {
        names_.push_back(name);
        return uint32_t(names_.size());
    }
    std::vector<uint8_t> Bytes() const {
        ByteWriter out;
        out.WriteU32(uint32_t(names_.size()));
        for (const std::string& name : names_) {
            out.WriteU8(uint8_t(name.size()));
            out.WriteBytes(name);
            out.WriteU8(0);
        }
        return out.Data();
    }

  private:
    std::vector<std::string> names_;
};

void WriteZeros(ByteWriter& out, size_t count) {
    for (size_t i = 0; i < count; ++i)
        out.WriteU8(0);
}

std::vector<uint8_t> Module(const TTd32Unit& unit, TNames& names) {
    ByteWriter out;
    out.WriteU16(0); // overlay
    out.WriteU16(0); // library
    out.WriteU16(1); // segments
    out.WriteU16(0); // style
    out.WriteU32(names.Index(unit.Name));
    WriteZeros(out, 16); // time stamp, reserved
    out.WriteU16(1);     // segment
    out.WriteU16(0);     // flags
    out.WriteU32(unit.Offset);
    out.WriteU32(unit.Size);
    return out.Data();
}

std::vector<uint8_t> Symbols(const std::vector<TTd32Procedure>& procedures, TNames& names) {
    ByteWriter out;
    out.WriteU32(1); // signature
    // A public symbol first: records of other kinds are stepped over.
    out.WriteU16(12);
    out.WriteU16(0x203);
    WriteZeros(out, 10);
    for (const TTd32Procedure& procedure : procedures) {
        out.WriteU16(41);
        out.WriteU16(0x205);
        WriteZeros(out, 12); // parent, end, next
        out.WriteU32(procedure.Size);
        WriteZeros(out, 8); // debug start and end
        out.WriteU32(procedure.Offset);
        out.WriteU16(1); // segment
        out.WriteU32(0); // type
        out.WriteU8(0);  // flags
        out.WriteU32(names.Index(procedure.Name));
    }
    return out.Data();
}

// One file: its header, then its single line block.
void WriteSourceFile(ByteWriter& out, const TTd32Source& source, TNames& names) {
    const auto block = uint32_t(out.Data().size() + 20);
    out.WriteU16(1);
    out.WriteU16(0);
    out.WriteU32(block);
    out.WriteU32(source.Start);
    out.WriteU32(source.End);
    out.WriteU32(names.Index(source.Name));
    out.WriteU16(1);
    out.WriteU16(uint16_t(source.Lines.size()));
    for (const auto& line : source.Lines)
        out.WriteU32(line.first);
    for (const auto& line : source.Lines)
        out.WriteU16(line.second);
    WriteZeros(out, (source.Lines.size() % 2) * 2);
}

std::vector<uint8_t> SourceModule(const std::vector<TTd32Source>& sources, TNames& names) {
    ByteWriter out;
    out.WriteU16(uint16_t(sources.size()));
    out.WriteU16(0);                     // no ranges for the whole module
    WriteZeros(out, 4 * sources.size()); // file offsets, set below
    std::vector<uint32_t> files;
    for (const TTd32Source& source : sources) {
        files.push_back(uint32_t(out.Data().size()));
        WriteSourceFile(out, source, names);
    }
    std::vector<uint8_t> bytes = out.Data();
    for (size_t i = 0; i < files.size(); ++i)
        PutU32(bytes, 4 + 4 * i, files[i]);
    return bytes;
}

std::vector<TSubsection> Subsections(const TTd32Fixture& fixture) {
    TNames names;
    std::vector<TSubsection> subsections;
    for (const TTd32Unit& unit : fixture.Units)
        subsections.push_back({0x120, Module(unit, names)});
    subsections.push_back({0x125, Symbols(fixture.Procedures, names)});
    subsections.push_back({0x127, SourceModule(fixture.Sources, names)});
    if (fixture.WithNames)
        subsections.push_back({0x130, names.Bytes()});
    return subsections;
}

} // namespace

std::vector<uint8_t> WriteTd32(const TTd32Fixture& fixture) {
    const std::vector<TSubsection> subsections = Subsections(fixture);
    ByteWriter out;
    out.WriteBytes(fixture.Signature);
    out.WriteU32(0); // directory, set below
    std::vector<uint32_t> offsets;
    for (const TSubsection& subsection : subsections) {
        offsets.push_back(uint32_t(out.Data().size()));
        out.WriteBytes(std::string(subsection.Bytes.begin(), subsection.Bytes.end()));
    }
    const auto directory = uint32_t(out.Data().size());
    out.WriteU16(16);
    out.WriteU16(fixture.EntrySize);
    out.WriteU32(uint32_t(subsections.size()));
    WriteZeros(out, 8); // next directory, flags
    for (size_t i = 0; i < subsections.size(); ++i) {
        out.WriteU16(subsections[i].Type);
        out.WriteU16(0);
        out.WriteU32(offsets[i]);
        out.WriteU32(uint32_t(subsections[i].Bytes.size()));
    }
    out.WriteBytes(fixture.Signature);
    out.WriteU32(uint32_t(out.Data().size() + 4));
    std::vector<uint8_t> bytes = out.Data();
    PutU32(bytes, 4, directory);
    return bytes;
}
