// The KFDATA container: its layouts by version, the appended form, and damaged data.
#include "reporter/base/byte_stream.h"
#include "reporter/core/options/module_data.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/diagnostics/debug_formats/kfdata_container.h"
#include "reporter/diagnostics/debug_formats/kfdata_password.h"
#include "reporter/diagnostics/debug_formats/zlib_block.h"
#include <cstring>
#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

TKFDataContainer Sample() {
    TKFDataContainer c;
    c.BuildTime = 46366.625; // 10 December 2026, 15:00 UTC
    c.EarlyLeakFlags = 0x1F;
    c.LeakFlagsFromMain = 1;
    c.Procedures = {{0, 0x1234, 40}, {1, 0x5678, 24}, {11, 0x9000, 8}};
    c.OptionsBlock = Bytes("options block bytes");
    c.PasswordCheck = 0xA5A5F00D;
    c.DataBlock = Bytes("\x04\0\0\0line");
    return c;
}

TEST(KFDataContainer, WrittenContainerReadsBack) {
    const TKFDataContainer in = Sample();
    std::vector<uint8_t> bytes = WriteKFData(in);
    ASSERT_GE(bytes.size(), 16u);
    EXPECT_EQ(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24, int(kKFDataMagic));
    EXPECT_EQ(bytes[14], 0x1F);
    EXPECT_EQ(bytes[15], 1);

    TKFDataContainer out = ReadKFData(bytes);
    EXPECT_EQ(out.Version, 6024);
    EXPECT_EQ(out.BuildTime, in.BuildTime);
    EXPECT_TRUE(out.HasLeakFlags);
    EXPECT_EQ(out.EarlyLeakFlags, 0x1F);
    EXPECT_EQ(out.LeakFlagsFromMain, 1);
    ASSERT_EQ(out.Procedures.size(), 3u);
    EXPECT_EQ(out.Procedures[2].Id, 11);
    EXPECT_EQ(out.Procedures[2].Offset, 0x9000u);
    EXPECT_EQ(out.FindProcedure(1)->Offset, 0x5678u);
    EXPECT_EQ(out.FindProcedure(2), nullptr);
    EXPECT_FALSE(out.OptionsInDataBlock);
    EXPECT_EQ(out.OptionsBlock, in.OptionsBlock);
    EXPECT_EQ(out.PasswordCheck, in.PasswordCheck);
    EXPECT_EQ(out.DataBlock, in.DataBlock);
}

// A container laid out as the given version writes it: flag bytes from 6000 on, the table,
// options stream and check word from 500 on, compression from 450 on.
std::vector<uint8_t> Container(int version, uint32_t magic = kKFDataMagic) {
    ByteWriter out;
    out.WriteU32(magic);
    out.WriteU16(uint16_t(version));
    out.WriteLittleEndian(0, 8);
    int effective = version >= 600 && version <= 602 ? 6000 + (version - 600) : version;
    if (effective >= 6000) {
        out.WriteU8(0x1F);
        out.WriteU8(0);
    }
    std::vector<uint8_t> data = Bytes("options+lines");
    if (effective >= 500) {
        out.WriteU32(9);
        out.WriteU8(0);
        out.WriteU32(0x40);
        out.WriteU32(0);
        std::vector<uint8_t> options = Deflate(Bytes("options"));
        out.WriteU32(uint32_t(options.size()));
        out.WriteBytes(std::string(options.begin(), options.end()));
        out.WriteU32(0);
        data = Bytes("lines");
    }
    if (effective >= 450)
        data = Deflate(data);
    out.WriteBytes(std::string(data.begin(), data.end()));
    return out.Data();
}

struct VersionCase {
    int stored;
    int version;
    bool leakFlags;
    bool separateOptions;
    const char* dataBlock;
};

TEST(KFDataContainer, EveryVersionReadsByItsLayout) {
    const VersionCase cases[] = {
        {6024, 6024, true, true, "lines"},         {6000, 6000, true, true, "lines"},
        {5999, 5999, false, true, "lines"},        {600, 6000, true, true, "lines"},
        {602, 6002, true, true, "lines"},          {500, 500, false, true, "lines"},
        {499, 499, false, false, "options+lines"}, {450, 450, false, false, "options+lines"},
        {449, 449, false, false, "options+lines"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        TKFDataContainer read = ReadKFData(Container(c.stored));
        EXPECT_EQ(read.Version, c.version);
        EXPECT_EQ(read.HasLeakFlags, c.leakFlags);
        EXPECT_EQ(read.EarlyLeakFlags, c.leakFlags ? 0x1F : 0);
        EXPECT_EQ(read.OptionsInDataBlock, !c.separateOptions);
        EXPECT_EQ(read.OptionsBlock, c.separateOptions ? Bytes("options") : Bytes(""));
        EXPECT_EQ(read.Procedures.size(), c.separateOptions ? 1u : 0u);
        EXPECT_EQ(read.DataBlock, Bytes(c.dataBlock));
        // Start-up leaves the line table out, but not the options that lead it.
        EXPECT_EQ(ReadKFData(Container(c.stored), TKFDataParts::WithoutLineTable).DataBlock,
                  c.separateOptions ? Bytes("") : Bytes(c.dataBlock));
    }
    EXPECT_EQ(ReadKFData(Container(6024, kKFDataOldMagic)).Version, 6024);
    EXPECT_THROW(ReadKFData(Container(6025)), EKFDataError);
    EXPECT_THROW(ReadKFData(Container(6024, 0x100FAB11)), EKFDataError);
}

// Every cut and every changed byte gives a container or EKFDataError, nothing else.
TEST(KFDataContainer, DamagedContainersFailCleanly) {
    const std::vector<uint8_t> good = WriteKFData(Sample());
    for (size_t size = 0; size < good.size(); ++size) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + long(size));
        EXPECT_THROW(ReadKFData(cut), EKFDataError) << "cut at " << size;
    }
    for (size_t at = 0; at < good.size(); ++at) {
        std::vector<uint8_t> changed = good;
        changed[at] ^= 0xFF;
        try {
            ReadKFData(changed);
        } catch (const EKFDataError&) {
        }
    }
}

TEST(KFDataContainer, AppendedFormHoldsPlainOptionsAndLines) {
    ByteWriter block;
    block.WriteU16(6024);
    block.WriteLittleEndian(0, 8);
    block.WriteBytes("options");
    block.WriteU32(5);
    block.WriteBytes("lines");
    ByteWriter file;
    file.WriteBytes("MZ...the image...");
    file.WriteBytes(std::string(block.Data().begin(), block.Data().end()));
    file.WriteU32(uint32_t(block.Data().size()));
    file.WriteU32(kKFDataMagic);

    TKFDataContainer c = ReadKFDataTrailer(file.Data());
    EXPECT_EQ(c.Version, 6024);
    EXPECT_TRUE(c.OptionsInDataBlock);
    EXPECT_EQ(c.DataBlock, Bytes(std::string("options\x05\0\0\0lines", 16)));

    std::vector<uint8_t> lying = file.Data();
    lying[lying.size() - 8] = 0xFF; // a length beyond the file
    EXPECT_THROW(ReadKFDataTrailer(lying), EKFDataError);
    EXPECT_THROW(ReadKFDataTrailer(Bytes("tiny")), EKFDataError);
}

TEST(KFDataContainer, ProcedureAddressesCountFromTheCodeStart) {
    TKFDataContainer c = Sample();
    auto* module = reinterpret_cast<HMODULE>(0x00400000);
    EXPECT_EQ(ProcedureAddress(module, c, 1), reinterpret_cast<void*>(0x00401000 + 0x5678));
    EXPECT_EQ(ProcedureAddress(module, c, 4), nullptr);
}

TEST(KFDataContainer, CheckWordTellsWhetherAPasswordFits) {
    const uint32_t check = PasswordCheckValue("s3cret");
    EXPECT_NE(check, kKFDataMagic);
    EXPECT_TRUE(PasswordFits(check, "s3cret"));
    EXPECT_FALSE(PasswordFits(check, "S3cret"));
    EXPECT_FALSE(PasswordFits(check, ""));
}

// Without crash reporter data the reporter is not active in this program.
TEST(KFDataContainer, WithoutDataTheReporterIsNotActive) {
    InitializeUnits({&ReporterOptionsUnit});
    char name[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, name, MAX_PATH);
    try {
        CurrentVessarionOptions();
        ADD_FAILURE() << "active without data";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), std::string("\r\nCannot use 'CurrentVessarionOptions' function in "
                                           "module \"") +
                                   name +
                                   "\" without activate Vessarion.\r\nTo activate Vessarion use "
                                   "the new IDE \"Project/Vessarion Options...\" menu.");
    }
    FinalizeUnits();
}

// This test program carries no container: its options keep their values.
TEST(KFDataContainer, ModuleWithoutDataKeepsItsOptions) {
    TVessarModuleOptions options("");
    options.SetRepeatCount(77);
    TKFModuleData data;
    EXPECT_FALSE(LoadModuleData(GetModuleHandleA(nullptr), options, data));
    EXPECT_EQ(options.Stored().RepeatCount, 77);
}

} // namespace
