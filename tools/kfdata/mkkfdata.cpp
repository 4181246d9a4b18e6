// Writes the crash reporter data of a linked image: the procedure table from the image's link
// map, the options from the options text, the build time, and the line table from the image's
// DWARF data; the output is the body of the image's RCDATA resource "KFDATA", linked into the
// final image. The password enciphers the line table's names (the empty one when not given).
//   mkkfdata --map <image.map> --options <file> --out <kfdata.bin> [--image <image>]
//            [--password <text>]
// After the final link, checks that the procedures have not moved:
//   mkkfdata --verify --map <final.map> --kfdata <kfdata.bin>
#include "line_table_builder.h"
#include "link_map.h"
#include "options_text.h"
#include "procedure_table.h"
#include "reporter/base/binary_file.h"
#include "reporter/base/byte_stream.h"
#include "reporter/diagnostics/debug_formats/kfdata_password.h"
#include <cstdio>
#include <ctime>
#include <map>
#include <string>

namespace {

constexpr double kUnixEpochDay = 25569; // 1 January 1970 counted from 30 December 1899

double BuildTimeNow() {
    return kUnixEpochDay + double(std::time(nullptr)) / 86400.0;
}

// An image without usable DWARF data gets no line table; its build goes on.
std::vector<uint8_t> LineTableOf(const std::map<std::string, std::string>& args,
                                 const std::string& password) {
    if (!args.count("--image"))
        return {};
    try {
        return BuildLineTable(PeFile(ReadWholeFile(args.at("--image"))), password);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mkkfdata: %s: no line table: %s\n", args.at("--image").c_str(),
                     e.what());
        return {};
    }
}

// An int32 length and the line table.
std::vector<uint8_t> DataBlock(const std::vector<uint8_t>& lineTable) {
    ByteWriter block;
    block.WriteU32(uint32_t(lineTable.size()));
    block.WriteBytes(std::string(lineTable.begin(), lineTable.end()));
    return block.Data();
}

int Write(const std::map<std::string, std::string>& args) {
    LinkMap map = ReadLinkMap(args.at("--map"));
    std::vector<std::string> missing;
    TKFDataContainer c;
    c.Procedures = ProceduresIn(map, missing);
    for (const auto& name : missing)
        std::fprintf(stderr, "mkkfdata: %s is not linked in; left out of the table\n",
                     name.c_str());
    TVessarModuleOptions options("");
    ReadOptionsText(args.at("--options"), options);
    ByteWriter block;
    options.SaveToStream(block);
    c.OptionsBlock = block.Data();
    c.BuildTime = BuildTimeNow();
    c.EarlyLeakFlags = options.Stored().LeakFlags;
    const std::string password = args.count("--password") ? args.at("--password") : "";
    c.PasswordCheck = PasswordCheckValue(password);
    c.DataBlock = DataBlock(LineTableOf(args, password));
    WriteNewFile(args.at("--out"), WriteKFData(c));
    return 0;
}

int Verify(const std::map<std::string, std::string>& args) {
    LinkMap map = ReadLinkMap(args.at("--map"));
    TKFDataContainer c = ReadKFData(ReadWholeFile(args.at("--kfdata")));
    std::vector<std::string> missing;
    std::vector<TKFDataProcedure> now = ProceduresIn(map, missing);
    bool same = now.size() == c.Procedures.size();
    for (size_t i = 0; same && i < now.size(); ++i)
        same = now[i].Id == c.Procedures[i].Id && now[i].Offset == c.Procedures[i].Offset;
    if (!same) {
        std::fprintf(stderr, "mkkfdata: the procedures moved between the two links of %s\n",
                     args.at("--map").c_str());
        return 1;
    }
    return 0;
}

const char* const kUsage =
    "usage: mkkfdata --map <image.map> --options <file> --out <kfdata.bin> [--image <image>]\n"
    "                [--password <text>]\n"
    "       mkkfdata --verify --map <final.map> --kfdata <kfdata.bin>\n";

} // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> args;
    bool verify = false;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--verify")
            verify = true;
        else if (i + 1 < argc)
            args[name] = argv[++i];
    }
    const bool complete =
        verify ? args.count("--map") && args.count("--kfdata")
               : args.count("--map") && args.count("--options") && args.count("--out");
    if (!complete) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        return verify ? Verify(args) : Write(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mkkfdata: %s\n", e.what());
        return 1;
    }
}
