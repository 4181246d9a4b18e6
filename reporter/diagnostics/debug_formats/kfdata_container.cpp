#include "reporter/diagnostics/debug_formats/kfdata_container.h"
#include "reporter/base/byte_stream.h"
#include "reporter/diagnostics/debug_formats/zlib_block.h"
#include <cstring>
#include <string>

namespace {

constexpr int kFirstVersionWithLeakFlags = 6000;
constexpr int kFirstVersionWithProcedures = 500; // and a separate options stream
constexpr int kFirstCompressedVersion = 450;

double ReadDouble(ByteReader& in) {
    uint64_t bits = in.ReadLittleEndian(8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void WriteDouble(ByteWriter& out, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    out.WriteLittleEndian(bits, 8);
}

std::vector<uint8_t> ReadSized(ByteReader& in) {
    uint32_t size = in.ReadU32();
    std::string bytes = in.ReadBytes(size);
    return {bytes.begin(), bytes.end()};
}

std::vector<uint8_t> ReadRest(ByteReader& in) {
    std::string bytes = in.ReadBytes(in.Remaining());
    return {bytes.begin(), bytes.end()};
}

void WriteSized(ByteWriter& out, const std::vector<uint8_t>& bytes) {
    out.WriteU32(uint32_t(bytes.size()));
    out.WriteBytes(std::string(bytes.begin(), bytes.end()));
}

// Early versions of the leak detection were numbered 600 to 602.
int NormalisedVersion(int stored) {
    return stored >= 600 && stored <= 602 ? 6000 + (stored - 600) : stored;
}

int ReadVersion(ByteReader& in) {
    int version = NormalisedVersion(in.ReadU16());
    if (version > kKFDataVersion)
        throw EKFDataError("Crash reporter data of version " + std::to_string(version) +
                           " is newer than this reporter.");
    return version;
}

std::vector<TKFDataProcedure> ReadProcedures(ByteReader& in) {
    std::vector<uint8_t> table = ReadSized(in);
    ByteReader entries(table);
    std::vector<TKFDataProcedure> procedures;
    while (entries.Remaining() >= 9) {
        TKFDataProcedure p;
        p.Id = entries.ReadU8();
        p.Offset = entries.ReadU32();
        p.Size = entries.ReadU32();
        procedures.push_back(p);
    }
    return procedures;
}

std::vector<uint8_t> InflateOrThrow(const std::vector<uint8_t>& stream) {
    try {
        return Inflate(stream);
    } catch (const EZlibError& e) {
        throw EKFDataError(e.Message());
    }
}

} // namespace

const TKFDataProcedure* TKFDataContainer::FindProcedure(uint8_t id) const {
    for (const auto& p : Procedures)
        if (p.Id == id)
            return &p;
    return nullptr;
}

std::vector<uint8_t> WriteKFData(const TKFDataContainer& c) {
    ByteWriter out;
    out.WriteU32(kKFDataMagic);
    out.WriteU16(uint16_t(kKFDataVersion));
    WriteDouble(out, c.BuildTime);
    out.WriteU8(c.EarlyLeakFlags);
    out.WriteU8(c.LeakFlagsFromMain);
    ByteWriter table;
    for (const auto& p : c.Procedures) {
        table.WriteU8(p.Id);
        table.WriteU32(p.Offset);
        table.WriteU32(p.Size);
    }
    WriteSized(out, table.Data());
    WriteSized(out, Deflate(c.OptionsBlock));
    out.WriteU32(c.PasswordCheck);
    std::vector<uint8_t> data = Deflate(c.DataBlock);
    out.WriteBytes(std::string(data.begin(), data.end()));
    return out.Data();
}

TKFDataContainer ReadKFData(const std::vector<uint8_t>& resource, TKFDataParts parts) {
    try {
        ByteReader in(resource);
        uint32_t magic = in.ReadU32();
        if (magic != kKFDataMagic && magic != kKFDataOldMagic)
            throw EKFDataError("No crash reporter data: wrong signature.");
        TKFDataContainer c;
        c.Version = ReadVersion(in);
        c.BuildTime = ReadDouble(in);
        if (c.Version >= kFirstVersionWithLeakFlags) {
            c.HasLeakFlags = true;
            c.EarlyLeakFlags = in.ReadU8();
            c.LeakFlagsFromMain = in.ReadU8();
        }
        c.OptionsInDataBlock = c.Version < kFirstVersionWithProcedures;
        if (!c.OptionsInDataBlock) {
            c.Procedures = ReadProcedures(in);
            c.OptionsBlock = InflateOrThrow(ReadSized(in));
            c.HasPasswordCheck = true;
            c.PasswordCheck = in.ReadU32();
        }
        if (parts == TKFDataParts::WithoutLineTable && !c.OptionsInDataBlock)
            return c;
        std::vector<uint8_t> data = ReadRest(in);
        c.DataBlock = c.Version >= kFirstCompressedVersion ? InflateOrThrow(data) : data;
        return c;
    } catch (const EStreamReadError&) {
        throw EKFDataError("Crash reporter data ends too early.");
    }
}

std::vector<uint8_t> ReadLineTable(ByteReader& in) {
    if (in.Remaining() < 4)
        return {};
    std::string bytes = in.ReadBytes(in.ReadU32());
    return {bytes.begin(), bytes.end()};
}

TKFDataContainer ReadKFDataTrailer(const std::vector<uint8_t>& fileTail) {
    try {
        ByteReader end(fileTail);
        if (fileTail.size() < 8)
            throw EKFDataError("No crash reporter data: file too short.");
        end.ReadBytes(fileTail.size() - 8);
        uint32_t size = end.ReadU32();
        uint32_t magic = end.ReadU32();
        if (magic != kKFDataMagic && magic != kKFDataOldMagic)
            throw EKFDataError("No crash reporter data: wrong signature.");
        if (size > fileTail.size() - 8)
            throw EKFDataError("Crash reporter data ends too early.");
        std::vector<uint8_t> block(fileTail.end() - 8 - long(size), fileTail.end() - 8);
        ByteReader in(block);
        TKFDataContainer c;
        c.Version = ReadVersion(in);
        c.BuildTime = ReadDouble(in);
        c.OptionsInDataBlock = true;
        c.DataBlock = ReadRest(in);
        return c;
    } catch (const EStreamReadError&) {
        throw EKFDataError("Crash reporter data ends too early.");
    }
}
